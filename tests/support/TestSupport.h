// Helpers shared by the tests: scratch folders on C:, small files, the test's group and a
// dialog answerer that records what the program would have shown.
#pragma once
#include <windows.h>
#include <deque>
#include <string>
#include <vector>
#include "ui/Dialogs.h"

namespace test {

// "xp", "vista" or "win7": the Windows version the test's prefix reports.
std::string Group();

// A fresh folder under C:\scratch\<process id>, deleted with everything in it on scope exit.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    // path() + "\" + relative
    std::string operator/(const std::string& relative) const;

private:
    std::string path_;
};

// Writes a file, creating its missing folders; bytes as given.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
void MakeFolder(const std::string& path);
void DeleteTree(const std::string& path);
// The folder of the test exe (the program folder of the code under test).
std::string ExeFolder();

// Records every dialog and answers from queues; an empty queue answers "cancel" / "No".
class RecordingAnswerer : public ui::Answerer {
public:
    RecordingAnswerer() { ui::SetAnswerer(this); }
    ~RecordingAnswerer() override { ui::SetAnswerer(nullptr); }

    std::vector<std::string> messages;       // texts of message boxes
    std::vector<std::string> confirmations;  // texts of Yes/No boxes
    std::vector<ui::OpenFileRequest> openRequests;
    std::vector<std::string> browseTitles, browseStarts;
    int modalRuns = 0;

    std::deque<bool> confirmAnswers;
    std::deque<std::vector<std::string>> openAnswers;  // an empty vector: cancelled
    std::deque<std::string> browseAnswers;             // an empty text: cancelled
    // What a modal run does: by default the window is closed at once.
    bool runRealModalLoop = false;

    void Message(HWND owner, const std::string& text) override;
    bool Confirm(HWND owner, const std::string& text) override;
    bool OpenFiles(HWND owner, const ui::OpenFileRequest& request, std::vector<std::string>& paths) override;
    bool BrowseFolder(HWND owner, const std::string& title, const std::string& start, std::string& chosen) override;
    void RunModal(ui::Form& form) override;
};

}  // namespace test
