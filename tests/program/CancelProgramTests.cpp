// The real Halvorkeep3.exe cancelled in the middle of a backup into a set that an earlier backup
// filled: the user's Documents of the prefix, backed up twice into one storage folder, the second
// run cancelled at the first chance. What the first run put into the set must still be there.
// And a backup or a restore of thousands of files closed by the window's close box or Alt+F4:
// the close asks as Cancel does, Yes stops the job, saves its log and ends the program, No lets
// the job finish.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "TestSupport.h"
#include "resource.h"
#include "win/Registry.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kJobMs = 180000;
// Enough small files that the copy loop is still running when the cancel's click arrives.
constexpr int kFolders = 12, kFilesPerFolder = 100;
const char kFinished[] = "Backup job is finished!";

std::string Relative(int folder, int file) {
    char name[64];
    snprintf(name, sizeof(name), "Letters\\%02d\\letter %03d.txt", folder, file);
    return name;
}

std::string Bytes(const std::string& relative, const char* week) {
    return std::string(week) + " " + relative + "\r\n" + std::string(3000, week[5]);
}

class CancelProgramTest : public testing::Test {
protected:
    void SetUp() override {
        documents = test::SpecialFolder(CSIDL_PERSONAL);
        seed.Hide(documents);
        seed.Folder(documents);
        for (int folder = 0; folder < folders; ++folder)
            for (int file = 0; file < kFilesPerFolder; ++file) {
                relatives.insert(Relative(folder, file));
                seed.File(documents + "\\" + Relative(folder, file), Bytes(Relative(folder, file), "week 1"));
            }
    }
    void TearDown() override {
        program.reset();
        DeleteFileA(Ini().c_str());
    }
    std::string Ini() const { return test::ExeFolder() + "\\app\\Halvorkeep.ini"; }
    HWND Control(int id) const { return program->Control(id); }
    bool Shows(int id) const {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::IsVisible(w); }, kReactMs);
    }
    bool ShowsText(int id, const std::string& text, DWORD timeoutMs) const {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::Text(w) == text; }, timeoutMs);
    }

    // Starts the program with the remembered refusals, names the storage folder, walks the six
    // backup pages and presses Launch.
    void StartAndLaunch() {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        program = std::make_unique<drive::Program>(test::ExeFolder() + "\\app\\Halvorkeep3.exe");
        ASSERT_EQ(program->Start(kReactMs), "");
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage.path()));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        ASSERT_TRUE(drive::ClickAndWait(next));
        ASSERT_TRUE(Shows(IDC_BackupTabSheet1));
        ASSERT_EQ(drive::Text(Control(IDC_MyDocumentsPath)), documents);
        ASSERT_TRUE(drive::IsChecked(Control(IDC_MyDocuments)));
        ASSERT_FALSE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
        const std::pair<int, int> pages[] = {{IDC_Backup1Next, IDC_BackupTabSheet2}, {IDC_Backup2Next, IDC_BackupTabSheet3},
                                             {IDC_Backup3Next, IDC_BackupTabSheet4}, {IDC_Backup4Next, IDC_BackupTabSheet5},
                                             {IDC_Backup5Next, IDC_BackupTabSheet6}};
        for (const auto& page : pages) {
            ASSERT_TRUE(drive::ClickAndWait(Control(page.first)));
            ASSERT_TRUE(Shows(page.second)) << "Next " << page.first;
        }
        drive::Click(Control(IDC_Launch));
    }
    void Exit() {
        HWND quit = Control(IDC_JobQuitButton);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        ASSERT_TRUE(program->WaitForExit(kReactMs, code)) << "Exit did not end the program";
    }
    std::string InSet(const std::string& relative) const { return storage / ("Archive\\Documents\\" + relative); }
    static std::vector<std::string> LinesOf(const std::string& file) {
        std::istringstream text(test::ReadFile(file));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }
    std::vector<std::string> LogLines() const { return LinesOf(storage / "Log.txt"); }

    HWND WaitForBox() const {
        HWND box = nullptr;
        drive::WaitFor([&] { return (box = drive::FindDialog(program->Pid())) != nullptr; }, kReactMs);
        return box;
    }
    void WaitUntilCopying() const {
        HWND caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption).find(" : \"letter ") != std::string::npos; }, kJobMs))
            << "no file copied: " << drive::Text(caption);
    }

    int folders = kFolders;
    test::Seed seed;
    test::ScratchFolder storage{"CancelSet"};
    std::string documents;
    std::set<std::string> relatives;
    std::unique_ptr<drive::Program> program;
};

}  // namespace

TEST_F(CancelProgramTest, ASecondBackupCancelledAtTheFirstChanceKeepsEveryFileOfTheFirst) {
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    ASSERT_TRUE(ShowsText(IDC_CopyProgress, kFinished, kJobMs));
    ASSERT_NO_FATAL_FAILURE(Exit());
    std::set<std::string> inSet = test::FilesBelow(storage / "Archive\\Documents");
    ASSERT_EQ(inSet, relatives) << "the first backup";

    // A week later every letter has changed; the user backs up again and cancels as soon as the
    // first file is being copied.
    for (const std::string& relative : relatives) test::WriteFile(documents + "\\" + relative, Bytes(relative, "week 2"));
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    HWND caption = Control(IDC_CopyProgress);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption).find(" : \"letter ") != std::string::npos; }, kJobMs))
        << "no file copied: " << drive::Text(caption);
    drive::Click(Control(IDC_JobCancelButton));
    HWND box = nullptr;
    ASSERT_TRUE(drive::WaitFor([&] { return (box = drive::FindDialog(program->Pid())) != nullptr; }, kReactMs))
        << "Cancel asked nothing";
    EXPECT_EQ(drive::DialogText(box), "Cancel current operation ?");
    drive::PressDialogButton(box, IDYES);
    ASSERT_TRUE(ShowsText(IDC_CopyProgress, kFinished, kJobMs));
    ASSERT_NO_FATAL_FAILURE(Exit());

    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(test::LinesWith(log, "Process cancelled by user"), 1u);
    const size_t copying = test::LinesWith(log, "Copying file: \" ");
    const size_t copied = test::LinesWith(log, "File successfully copied");
    ASSERT_GE(copying, 1u);
    ASSERT_LT(copying, relatives.size()) << "the cancel came after the last file: this run proves nothing";

    // Every letter of the first run is still in the set, whole, or replaced by a whole newer copy;
    // nothing else lies there.
    inSet = test::FilesBelow(storage / "Archive\\Documents");
    std::vector<std::string> missing, strays;
    std::set_difference(relatives.begin(), relatives.end(), inSet.begin(), inSet.end(), std::back_inserter(missing));
    std::set_difference(inSet.begin(), inSet.end(), relatives.begin(), relatives.end(), std::back_inserter(strays));
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_EQ(strays, std::vector<std::string>{});
    size_t newer = 0;
    for (const std::string& relative : inSet) {
        const std::string bytes = test::ReadFile(InSet(relative));
        if (bytes == Bytes(relative, "week 2")) ++newer;
        else EXPECT_TRUE(bytes == Bytes(relative, "week 1")) << relative << " is neither copy, " << bytes.size() << " bytes";
    }
    EXPECT_EQ(newer, copied) << "only the files copied before the cancel were replaced";
    EXPECT_EQ(test::LinesWith(log, "DELETING INCOMPLETE BACKUPED FILE"), 0u);
    const std::set<std::string> everything = test::FilesBelow(storage.path());
    EXPECT_EQ(everything.size(), relatives.size() + 1) << "the set holds the letters and Log.txt";
}

namespace {

// Thousands of letters, so that a close given while the first ones are copied comes long
// before the last.
class CloseProgramTest : public CancelProgramTest {
protected:
    CloseProgramTest() { folders = 30; }
    size_t Dialogs() const { return drive::CountDialogs(program->Pid()); }
    // The close asks as Cancel does, and a second close meanwhile opens no second box.
    void AnswerTheClose(void (*close)(HWND), int answer) {
        // The copies on disk, not the log: the log's window hears of new lines a few times a second.
        filesAtClose = test::FilesBelow(copies).size();
        close(program->Main());
        HWND box = WaitForBox();
        ASSERT_TRUE(box) << "the close asked nothing";
        EXPECT_EQ(drive::DialogText(box), "Cancel current operation ?");
        drive::PostClose(program->Main());
        Sleep(1000);
        EXPECT_EQ(Dialogs(), 1u);
        ASSERT_TRUE(IsWindowVisible(box)) << "the box closed by itself";
        drive::PressDialogButton(box, answer);
    }
    void ExpectEnded() {
        DWORD code = 1;
        EXPECT_TRUE(program->WaitForExit(kJobMs, code)) << "the program still runs";
        EXPECT_EQ(code, 0u);
    }
    // A close right behind Launch's click, which the job's listing takes, confirmed with Yes.
    void CloseWhileListingWithYes() {
        drive::PostClose(program->Main());
        HWND box = WaitForBox();
        ASSERT_TRUE(box) << "the close asked nothing";
        EXPECT_FALSE(drive::IsVisible(Control(IDC_JobPanel))) << "the close came after the listing";
        drive::PressDialogButton(box, IDYES);
        ASSERT_NO_FATAL_FAILURE(ExpectEnded());
    }
    // Yes stopped the job at once: its cancel line, then its finish, and no file after them.
    void ExpectCancelled(const std::vector<std::string>& log, const char* finished) {
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(test::LinesWith(log, "Process cancelled by user"), 1u);
        EXPECT_EQ(log[log.size() - 2].rfind("[ERROR] Process cancelled by user", 0), 0u) << log[log.size() - 2];
        EXPECT_NE(log.back().find(finished), std::string::npos) << log.back();
        // The close reaches the job within some 50 ms, a hundred files at most here: the rest is
        // slack for a busy machine.
        EXPECT_LT(test::LinesWith(log, "Copying file: \" "), filesAtClose + 500) << "the job ran on";
    }

    // Starts the program in restore mode on the storage folder as a set, walks the six restore
    // pages and presses Launch.
    void StartRestoreAndLaunch() {
        seed.File(RestoreLogFile(), "earlier log");
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        program = std::make_unique<drive::Program>(test::ExeFolder() + "\\app\\Halvorkeep3.exe");
        ASSERT_EQ(program->Start(kReactMs), "");
        ASSERT_TRUE(drive::ClickAndWait(Control(IDC_RestoreData)));
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), storage.path()));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        for (int id : {IDC_WelcomeNext, IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next,
                       IDC_Restore5Next})
            ASSERT_TRUE(drive::ClickAndWait(Control(id)));
        drive::Click(Control(IDC_LaunchRestore));
    }
    static std::string RestoreLogFile() { return test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt"; }
    static std::vector<std::string> RestoreLogLines() { return LinesOf(RestoreLogFile()); }

    // Where the job's copies land, and how many lay there when the close was given.
    std::string copies = storage / "Archive\\Documents";
    size_t filesAtClose = 0;
};

}  // namespace

TEST_F(CloseProgramTest, ABackupClosedMidCopyStopsOnYesSavesItsLogAndEnds) {
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    ASSERT_NO_FATAL_FAILURE(WaitUntilCopying());
    ASSERT_NO_FATAL_FAILURE(AnswerTheClose(drive::PostClose, IDYES));
    ASSERT_NO_FATAL_FAILURE(ExpectEnded());
    ASSERT_NO_FATAL_FAILURE(ExpectCancelled(LogLines(), kFinished));
    EXPECT_LT(test::FilesBelow(storage / "Archive\\Documents").size(), relatives.size());
}

TEST_F(CloseProgramTest, AltF4AnsweredNoLetsTheBackupFinishAndTheWindowStays) {
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    ASSERT_NO_FATAL_FAILURE(WaitUntilCopying());
    ASSERT_NO_FATAL_FAILURE(AnswerTheClose(drive::PostAltF4, IDNO));
    ASSERT_TRUE(ShowsText(IDC_CopyProgress, kFinished, kJobMs));
    EXPECT_FALSE(drive::Ended(*program));
    EXPECT_TRUE(IsWindowVisible(program->Main()));
    EXPECT_EQ(Dialogs(), 0u);
    EXPECT_EQ(test::FilesBelow(storage / "Archive\\Documents"), relatives);
    EXPECT_EQ(test::LinesWith(LogLines(), "Process cancelled by user"), 0u);
    // The job is over: a close ends the program and asks nothing.
    drive::PostClose(program->Main());
    DWORD code = 1;
    EXPECT_TRUE(program->WaitForExit(kReactMs, code));
}

TEST_F(CloseProgramTest, ACloseConfirmedWhileTheBackupListsCopiesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    ASSERT_NO_FATAL_FAILURE(CloseWhileListingWithYes());
    const std::vector<std::string> log = LogLines();
    ASSERT_NO_FATAL_FAILURE(ExpectCancelled(log, kFinished));
    EXPECT_EQ(test::LinesWith(log, "Copying file"), 0u);
    EXPECT_EQ(test::FilesBelow(storage.path()), std::set<std::string>{"Log.txt"});
}

// The set also holds a Firefox profile named "default", as does this machine: the profile's
// files come after the documents, so the close stops the job before them, and the user's own
// "default" must still name the user's own folder.
TEST_F(CloseProgramTest, ARestoreClosedMidCopyStopsOnYesSavesItsLogAndEndsAndLeavesTheUsersProfiles) {
    for (const std::string& relative : relatives) test::WriteFile(InSet(relative), Bytes(relative, "week 1"));
    test::DeleteTree(documents + "\\Letters");
    copies = documents;
    test::WriteFile(storage / "Archive\\Firefox\\Profiles\\Profiles.ini",
                    "[default]\r\nFrom=%Default%\\r3st0r3d.default\r\nTo=Archive\\Firefox\\Profiles\\C\\default\r\n");
    test::WriteFile(storage / "Archive\\Firefox\\Profiles\\C\\default\\prefs.js", "user_pref(\"set\", 1);\r\n");
    const std::string mozilla = test::SpecialFolder(CSIDL_APPDATA) + "\\Mozilla";
    seed.Hide(mozilla);
    const std::string usersList = "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                                  "IsRelative=1\r\nPath=Profiles/0wn3r.default\r\nDefault=1\r\n";
    seed.File(mozilla + "\\Firefox\\profiles.ini", usersList);
    seed.File(mozilla + "\\Firefox\\Profiles\\0wn3r.default\\prefs.js", "user_pref(\"own\", 1);\r\n");

    ASSERT_NO_FATAL_FAILURE(StartRestoreAndLaunch());
    ASSERT_NO_FATAL_FAILURE(WaitUntilCopying());
    ASSERT_NO_FATAL_FAILURE(AnswerTheClose(drive::PostClose, IDYES));
    ASSERT_NO_FATAL_FAILURE(ExpectEnded());
    const std::vector<std::string> log = RestoreLogLines();
    ASSERT_NO_FATAL_FAILURE(ExpectCancelled(log, "Restoration job is finished!"));
    EXPECT_LT(test::FilesBelow(documents).size(), relatives.size());
    ASSERT_EQ(test::LinesWith(log, "r3st0r3d.default"), 0u) << "the close came after the profile: this run proves nothing";
    EXPECT_EQ(test::ReadFile(mozilla + "\\Firefox\\profiles.ini"), usersList);
    EXPECT_EQ(test::FilesBelow(mozilla), (std::set<std::string>{"Firefox\\profiles.ini",
                                                                 "Firefox\\Profiles\\0wn3r.default\\prefs.js"}));
}

// Only the start page to restore: a close confirmed while the job lists its files stops it before
// the start page is written, and its log says so.
TEST_F(CloseProgramTest, ACloseConfirmedWhileTheRestoreListsNothingKeepsTheUsersStartPage) {
    const std::string mainKey = "Software\\Microsoft\\Internet Explorer\\Main";
    seed.RegString(HKEY_CURRENT_USER, mainKey, "Start Page", "http://www.example.org/mine");
    test::WriteFile(storage / "Archive\\Internet Explorer\\IEStartPage.ini",
                    "[STARTPAGE]\r\nHomePage=http://www.example.org/set\r\n");
    ASSERT_NO_FATAL_FAILURE(StartRestoreAndLaunch());
    ASSERT_NO_FATAL_FAILURE(CloseWhileListingWithYes());
    const std::vector<std::string> log = RestoreLogLines();
    ASSERT_NO_FATAL_FAILURE(ExpectCancelled(log, "Restoration job is finished!"));
    EXPECT_EQ(test::LinesWith(log, "Restoring Internet Explorer main start page"), 0u);
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, mainKey));
    EXPECT_EQ(key.ReadString("Start Page"), "http://www.example.org/mine");
}
