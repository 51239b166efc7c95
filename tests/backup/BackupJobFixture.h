// The backup job run on the main window built in this process, with real folders and files: what
// the job writes into its panel while it runs, and what lands in the backup set.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "MainWindowFixture.h"

namespace backuptest {

// The job log as "I message", "W message" or "E message" (kind, then the text after the date).
std::vector<std::string> LogMessages(const ui::ListBox& textLog);

// Every file below folder, as paths relative to it, less the set's own records (the INI files,
// registry exports and Log.txt that the job writes beside the copies).
std::set<std::string> CopiedFiles(const std::string& folder);

// Watches, through a hook on this thread's sent messages, the texts the job puts on screen while
// it runs: the copy caption, the please-wait window's second line, the log.
class PanelWatch {
public:
    explicit PanelWatch(TForm1& form, const ui::Label* waitLine);
    ~PanelWatch();
    PanelWatch(const PanelWatch&) = delete;
    PanelWatch& operator=(const PanelWatch&) = delete;

    // The copy caption as each copy's outcome is logged (the panel paints it in frames, but the
    // caption's text is the file's own at once).
    std::vector<std::string> captions;
    std::vector<std::string> waitLines;  // every text of the please-wait window's second line
    // Whether the main window was visible when the please-wait window's first line was set.
    std::vector<bool> mainVisibleWhileListing;
    // Called with each line added to the text log.
    std::function<void(const std::string&)> onLogLine;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
    TForm1& form_;
    const ui::Label* waitLine_;
    HHOOK hook_;
};

// A file held open without any sharing by another process (as a running mail program holds its
// data file): opened here as inheritable, handed to a child process that waits on a pipe, and
// closed here. Released when the object goes.
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(const std::string& path);
    ~HeldByAnotherProcess();
    HeldByAnotherProcess(const HeldByAnotherProcess&) = delete;
    HeldByAnotherProcess& operator=(const HeldByAnotherProcess&) = delete;
    bool Held() const;

private:
    std::string path_;
    HANDLE pipeWrite_ = nullptr;
    HANDLE process_ = nullptr;
};

class BackupJobTest : public MainWindowTest {
protected:
    void SetUp() override;
    std::string Src(const std::string& relative) const { return scratch / ("src\\" + relative); }
    // The storage folder as the user typed it.
    std::string Store() const { return scratch / "store"; }
    // Writes a source file and returns its path.
    std::string Source(const std::string& relative, const std::string& bytes);
    // A category with a path edit: its text first (which runs its check), then the tick.
    static void Choose(ui::CheckBox& box, ui::PathEdit& edit, const std::string& path, bool ticked = true);
    void Launch() { Click(form1->Launch); }
    std::vector<std::string> Messages() const { return LogMessages(form1->TextLog); }
    // The copying line of one entry.
    static std::string Copying(const std::string& source, const std::string& destination);
    // The keys of the settings file's CONFIG section, in file order.
    std::vector<std::string> SettingsKeys() const;

    test::ScratchFolder scratch{"BackupJob"};
};

}  // namespace backuptest
