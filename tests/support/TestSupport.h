// Helpers shared by the tests: scratch folders on C:, small files, the test's group and a
// dialog answerer that records what the program would have shown.
#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <set>
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

// What a test puts into the prefix's user profile, program folders and registry, taken out again
// on scope exit in reverse order: files and folders it made are deleted, paths it moved aside
// come back, registry values it set get their old data back (or are deleted), keys it made are
// deleted. Tests that use it run one at a time per prefix (USER_DATA in tests/CMakeLists.txt).
class Seed {
public:
    Seed() = default;
    ~Seed();
    Seed(const Seed&) = delete;
    Seed& operator=(const Seed&) = delete;

    // Writes a file (bytes as given), making its missing folders; returns the path.
    std::string File(const std::string& path, const std::string& bytes = "seed");
    // Makes a folder and its missing parents; returns the path.
    std::string Folder(const std::string& path);
    // Moves an existing file or folder out of the way for the test (nothing when it is missing).
    void Hide(const std::string& path);
    // Sets a string value (REG_SZ or REG_EXPAND_SZ), making the key and its missing parents.
    // An empty name sets the key's default value.
    void RegString(HKEY root, const std::string& key, const std::string& name, const std::string& value,
                   DWORD type = REG_SZ);
    // Makes a key and its missing parents.
    void RegKey(HKEY root, const std::string& key);
    // Takes a value away for the test (its data comes back afterwards).
    void RegRemoveValue(HKEY root, const std::string& key, const std::string& name);

private:
    struct Undo {
        enum Kind { DeleteFile, RemoveFolder, MoveBack, RestoreValue, DeleteKey } kind;
        std::string path, other;  // file or folder paths; key path and value name
        HKEY root = nullptr;
        DWORD type = 0;
        std::string data;
        bool existed = false;
    };
    void MakeFolders(const std::string& path);
    void MakeKeys(HKEY root, const std::string& key);
    void SaveValue(HKEY root, const std::string& key, const std::string& name);
    std::vector<Undo> undo_;
};

// Path of a special folder of the prefix (CSIDL), without a trailing backslash.
std::string SpecialFolder(int csidl);

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

// A settings file in which every category but My Documents was refused at the last backup, so
// that a backup copies only what a test put in My Documents.
extern const char kOnlyMyDocumentsSettings[];
// How many of the lines hold text.
size_t LinesWith(const std::vector<std::string>& lines, const std::string& text);

// Every file below folder, by its path below it ("sub\\name.txt").
std::set<std::string> FilesBelow(const std::string& folder);

// ---- Names and attributes that the Win32 calls cannot give under Wine ----
// Wine's Unix name of a path on drive C; empty outside Wine or when Wine gives none.
std::string UnixName(const std::string& path);
// Runs a tool of /bin with its arguments (paths on drive C go as their Unix names) and waits until
// done() holds: the handle of a Linux process does not tell its end.
bool RunUnix(const std::string& tool, const std::vector<std::string>& arguments, const std::function<bool()>& done);
// Writes or deletes a file under exactly the name given, through its Unix name: a name that ends
// in a dot or a blank, or one beside a name that differs from it only in letter case, which the
// Win32 calls would take for another file. Writing makes the file's folder first.
bool WriteFileUnderExactName(const std::string& path, const std::string& bytes);
bool DeleteFileUnderExactName(const std::string& path);
// Gives a file or a folder the read-only attribute, as a CD or a write-protected share shows
// it. Wine keeps no such attribute for a folder: it shows one whose Unix permissions allow no
// writing, so the folder's are taken away. True once the attribute shows.
bool MakeReadOnly(const std::string& path);

}  // namespace test
