// What a backup does when things go wrong: a cancel, sources that vanished or are held open,
// clashing names, a second run into the same set, names the ANSI code page cannot hold, entries
// without a place in the set, and a settings file that cannot be written.
#include <shlobj.h>
#include <algorithm>
#include <sstream>
#include "BackupJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"
#include "backup/SetLayout.h"
#include "ui/MessagePump.h"

using backuptest::BackupJobTest;
using backuptest::CopiedFiles;
using backuptest::HeldByAnotherProcess;
using backuptest::PanelWatch;

namespace {

const char kStartLine[] = "I D\xE9marrage de la sauvegarde";
const char kCopied[] = "I File successfully copied";

std::vector<std::string> CopyFailure(const std::string& source) {
    return {"E Copy error on file: \"" + source + "\"", "W Trying again ...", "E Copy failed. Skipping to next file"};
}

// The lines that follow the copying line of source.
std::vector<std::string> LinesAfterCopying(const std::vector<std::string>& log, const std::string& source, size_t count) {
    const std::string start = "I Copying file: \" " + source + "\"";
    auto at = std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    if (at == log.end()) return {"<no copying line for " + source + ">"};
    ++at;
    return std::vector<std::string>(at, at + std::min<size_t>(count, log.end() - at));
}

size_t CopyingLines(const std::vector<std::string>& log) {
    return std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("I Copying file: ", 0) == 0; });
}

// The lines of the set's Files.ini, its blank lines left out.
std::vector<std::string> FilesIniLines(const std::string& set) {
    std::vector<std::string> lines;
    std::istringstream text(test::ReadFile(set + "\\Archive\\AdditionalFiles\\Files.ini"));
    for (std::string line; std::getline(text, line);) {
        line = line.substr(0, line.find('\r'));
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Removes what the ANSI calls cannot name.
void DeleteWide(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteWide(path + L"\\" + name);
            else DeleteFileW((path + L"\\" + name).c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TEST_F(BackupJobTest, ACancelEndsTheLoopOnceConfirmed) {
    for (int i = 1; i <= 5; ++i)
        form1->AdditionalFilesList.AddItem(Source("Extra\\f" + std::to_string(i) + ".txt", std::string(1000, 'a' + i)));
    // The user presses Cancel after the first and the second file: No, then Yes.
    dialogs.confirmAnswers = {false, true};
    PanelWatch watch(*form1, nullptr);
    int copied = 0;
    watch.onLogLine = [&](const std::string& line) {
        if (line.find("File successfully copied") != std::string::npos && ++copied <= 2)
            form1->JobCancelButton.Click();
    };
    Launch();

    const std::string data = Store() + "\\Archive\\AdditionalFiles\\Data\\" + SavedPath(Src("Extra"));
    const std::vector<std::string> log = Messages();
    const std::vector<std::string> expected = {kStartLine,
                                               Copying(Src("Extra\\f1.txt"), data + "\\f1.txt"),
                                               kCopied,
                                               Copying(Src("Extra\\f2.txt"), data + "\\f2.txt"),
                                               kCopied,
                                               "E Process cancelled by user"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + expected.size()), expected);
    EXPECT_EQ(CopyingLines(log), 2u) << "nothing after the cancel";
    EXPECT_EQ(dialogs.confirmations, std::vector<std::string>(2, "Cancel current operation ?"));
    EXPECT_EQ(CopiedFiles(data), (std::set<std::string>{"f1.txt", "f2.txt"}));
    EXPECT_EQ(CopyIndex, 2);
    EXPECT_TRUE(JobOver);
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(BackupJobTest, ALaunchThatReachesARunningJobStartsNoSecondJob) {
    for (int i = 1; i <= 3; ++i)
        form1->AdditionalFilesList.AddItem(Source("Extra\\f" + std::to_string(i) + ".txt", std::string(100, 'a' + i)));
    PanelWatch watch(*form1, nullptr);
    bool pressed = false;
    watch.onLogLine = [&](const std::string& line) {
        if (pressed || line.find("File successfully copied") == std::string::npos) return;
        pressed = true;
        // As the pump hands over a Launch pressed while the job runs.
        form1->LaunchClick();
    };
    Launch();

    const std::vector<std::string> log = Messages();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string(kStartLine)), 1);
    EXPECT_EQ(CopyingLines(log), 3u) << "each file once";
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("I Backup job is finished!")), 1);
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(BackupJobTest, ACancelAtTheHeadOfAnEntryTakesNoFileAwayFromTheSet) {
    for (int i = 1; i <= 5; ++i)
        form1->AdditionalFilesList.AddItem(Source("Extra\\f" + std::to_string(i) + ".txt", "week 1"));
    Launch();
    const std::string data = Store() + "\\Archive\\AdditionalFiles\\Data\\" + SavedPath(Src("Extra"));
    ASSERT_EQ(CopiedFiles(data).size(), 5u);

    // A week later, into the same set: the user presses Cancel while the first file is copied,
    // and the click is handled at the loop's next pump, at the head of the second entry.
    for (int i = 1; i <= 5; ++i) Source("Extra\\f" + std::to_string(i) + ".txt", "week 2");
    dialogs.confirmAnswers = {true};
    PanelWatch watch(*form1, nullptr);
    bool clicked = false;
    watch.onLogLine = [&](const std::string& line) {
        if (clicked || line.find("File successfully copied") == std::string::npos) return;
        clicked = true;
        PostMessageA(form1->JobCancelButton.hwnd(), BM_CLICK, 0, 0);
        // As when the loop's interval between two pumps has passed. A sleep of that length is not
        // enough: the tick count moves in steps of many milliseconds under Wine, and a busy machine
        // saw 41 ms over a Sleep(50), so the click could wait for one more file.
        ui::PumpAtNextChance();
    };
    Launch();

    const std::vector<std::string> log = Messages();
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\f1.txt"), 2),
              (std::vector<std::string>{kCopied, "E Process cancelled by user"}));
    EXPECT_EQ(CopyingLines(log), 1u) << "nothing after the cancel";
    EXPECT_EQ(CopiedFiles(data), (std::set<std::string>{"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt"}));
    EXPECT_EQ(test::ReadFile(data + "\\f1.txt"), "week 2");
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(test::ReadFile(data + "\\f" + std::to_string(i) + ".txt"), "week 1") << i;
    EXPECT_EQ(WarningCount, 0) << "no file was deleted as incomplete";
}

TEST_F(BackupJobTest, AnOutlookFileThatCannotBeCopiedLeavesItsNameToTheNext) {
    form1->PSTList.AddItem(Source("A\\Outlook.pst", "A"), true);
    form1->PSTList.AddItem(Source("B\\Outlook.pst", "B"), true);
    HeldByAnotherProcess holder(Src("A\\Outlook.pst"));
    ASSERT_TRUE(holder.Held());
    Launch();

    const std::string pst = Store() + "\\Archive\\OutlookPST\\";
    EXPECT_EQ(CopiedFiles(pst), std::set<std::string>{"Outlook.pst"});
    EXPECT_EQ(test::ReadFile(pst + "Outlook.pst"), "B");
    const std::vector<std::string> log = Messages();
    // The second file takes the first one's name, without a clash.
    std::vector<std::string> expected = CopyFailure(Src("A\\Outlook.pst"));
    expected.push_back(Copying(Src("B\\Outlook.pst"), pst + "Outlook.pst"));
    EXPECT_EQ(LinesAfterCopying(log, Src("A\\Outlook.pst"), 4), expected);
    EXPECT_EQ(LinesAfterCopying(log, Src("B\\Outlook.pst"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_EQ(WarningCount, 1);
}

TEST_F(BackupJobTest, AVanishedSourceIsTriedTwiceAndTheJobGoesOn) {
    // The file goes once the listing has taken it, as the job starts copying.
    form1->AdditionalFilesList.AddItem(Source("Extra\\gone.txt", "gone"));
    form1->AdditionalFilesList.AddItem(Source("Extra\\here.txt", "here"));
    PanelWatch watch(*form1, nullptr);
    watch.onLogLine = [&](const std::string& line) {
        if (line.find(kStartLine + 2) != std::string::npos) DeleteFileA(Src("Extra\\gone.txt").c_str());
    };
    Launch();
    const std::vector<std::string> log = Messages();
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\gone.txt"), 3), CopyFailure(Src("Extra\\gone.txt")));
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\here.txt"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_EQ(WarningCount, 1);
    // Key n is the n-th extra file of the job, whatever became of its copy: the drive letter,
    // then the path after the drive.
    ASSERT_EQ(Src("").substr(0, 3), "C:\\");
    EXPECT_EQ(FilesIniLines(Store()),
              (std::vector<std::string>{"[FROM]", "1=" + Src("Extra\\gone.txt"), "2=" + Src("Extra\\here.txt"),
                                        "[SAVED]", "1=C" + Src("Extra\\gone.txt").substr(2),
                                        "2=C" + Src("Extra\\here.txt").substr(2)}));
}

// Files gone by Launch before and after the one that is there: each is told once and keeps its
// key, so that a restore of a set that an earlier backup filled still finds its first copy.
TEST_F(BackupJobTest, AnExtraFileGoneByLaunchIsCountedAsNotFoundAndKeepsItsKey) {
    form1->AdditionalFilesList.AddItem(Src("Extra\\gone.txt"));
    form1->AdditionalFilesList.AddItem(Source("Extra\\here.txt", "here"));
    form1->AdditionalFilesList.AddItem(Src("Extra\\lost.txt"));
    Launch();
    const std::vector<std::string> log = Messages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "E File not found: \"" + Src("Extra\\gone.txt") + "\"");
    EXPECT_EQ(log[2], "E File not found: \"" + Src("Extra\\lost.txt") + "\"");
    EXPECT_EQ(CopyingLines(log), 1u);
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\here.txt"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(ErrorCount, 2);
    ASSERT_EQ(Src("").substr(0, 3), "C:\\");
    EXPECT_EQ(FilesIniLines(Store()),
              (std::vector<std::string>{"[FROM]", "1=" + Src("Extra\\gone.txt"), "2=" + Src("Extra\\here.txt"),
                                        "3=" + Src("Extra\\lost.txt"), "[SAVED]",
                                        "1=C" + Src("Extra\\gone.txt").substr(2),
                                        "2=C" + Src("Extra\\here.txt").substr(2),
                                        "3=C" + Src("Extra\\lost.txt").substr(2)}));
}

// One file on disk, added twice under names that differ in letter case: the file reached twice,
// not two files meeting at one place.
TEST_F(BackupJobTest, OneExtraFileAddedUnderTwoSpellingsIsCopiedAsAFileReachedTwice) {
    Source("Extra\\todo.txt", "to do");
    form1->AdditionalFilesList.AddItem(Src("Extra\\todo.txt"));
    form1->AdditionalFilesList.AddItem(Src("Extra\\TODO.txt"));
    Launch();
    const std::vector<std::string> log = Messages();
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\todo.txt"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(LinesAfterCopying(log, Src("Extra\\TODO.txt"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(ErrorCount, 0);
    const std::string data = Store() + "\\Archive\\AdditionalFiles\\Data\\" + SavedPath(Src("Extra"));
    EXPECT_EQ(CopiedFiles(data).size(), 1u);
    EXPECT_EQ(test::ReadFile(data + "\\todo.txt"), "to do");
}

TEST_F(BackupJobTest, ASourceHeldOpenByAnotherProgramLeavesTheOlderCopyAndSaysSo) {
    Source("Documents\\held.doc", "today");
    Source("Documents\\free.txt", "free");
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
    // The set holds the file from last week's backup, and that backup's log.
    const std::string older = Store() + "\\Archive\\Documents\\held.doc";
    test::WriteFile(older, "last week");
    test::WriteFile(Store() + "\\Log.txt", "2021-03-05 - 09:00:00 : D\xE9marrage de la sauvegarde\r\n");
    HeldByAnotherProcess holder(Src("Documents\\held.doc"));
    ASSERT_TRUE(holder.Held());
    Launch();

    const std::vector<std::string> log = Messages();
    EXPECT_EQ(LinesAfterCopying(log, Src("Documents\\held.doc"), 3), CopyFailure(Src("Documents\\held.doc")));
    EXPECT_EQ(test::ReadFile(older), "last week");
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\Documents\\free.txt"), "free");
    EXPECT_EQ(ErrorCount, 2);
}

TEST_F(BackupJobTest, OutlookDataFilesOfOneNameAreNumberedAndASecondRunKeepsTheFirst) {
    for (const char* folder : {"A", "B", "C"})
        form1->PSTList.AddItem(Source(std::string(folder) + "\\Outlook.pst", folder), true);
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
    Source("Documents\\report.txt", "version 1");
    Launch();

    const std::string pst = Store() + "\\Archive\\OutlookPST\\";
    EXPECT_EQ(test::ReadFile(pst + "Outlook.pst"), "A");
    EXPECT_EQ(test::ReadFile(pst + "Outlook#1.pst"), "B");
    EXPECT_EQ(test::ReadFile(pst + "Outlook#2.pst"), "C");
    EXPECT_EQ(LinesAfterCopying(Messages(), Src("B\\Outlook.pst"), 3),
              (std::vector<std::string>{"W This file already exists. Current file will be renamed.",
                                        Copying(Src("B\\Outlook.pst"), pst + "Outlook#1.pst"), kCopied}));
    EXPECT_EQ(WarningCount, 2);
    EXPECT_EQ(ErrorCount, 0);

    // The same choices again a week later, into the same set.
    for (const char* folder : {"A", "B", "C"}) Source(std::string(folder) + "\\Outlook.pst", folder + std::string("2"));
    Source("Documents\\report.txt", "version 2");
    Launch();
    EXPECT_EQ(Messages()[0], kStartLine) << "a new log";
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\Documents\\report.txt"), "version 2");
    EXPECT_EQ(LinesAfterCopying(Messages(), Src("Documents\\report.txt"), 1), std::vector<std::string>{kCopied});
    EXPECT_EQ(CopiedFiles(pst), (std::set<std::string>{"Outlook.pst", "Outlook#1.pst", "Outlook#2.pst", "Outlook#3.pst",
                                                       "Outlook#4.pst", "Outlook#5.pst"}));
    EXPECT_EQ(test::ReadFile(pst + "Outlook.pst"), "A");
    EXPECT_EQ(test::ReadFile(pst + "Outlook#2.pst"), "C");
    EXPECT_EQ(test::ReadFile(pst + "Outlook#3.pst"), "A2");
    EXPECT_EQ(test::ReadFile(pst + "Outlook#5.pst"), "C2");
    EXPECT_EQ(WarningCount, 3);
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(BackupJobTest, NamesOutsideTheCodePageAreReportedAndTheRestIsCopied) {
    Source("Documents\\plain.txt", "plain");
    const std::wstring documents = Wide(Src("Documents"));
    // A folder named Документы holding a file, and a file named Отчёт.txt.
    const std::wstring folder = documents + L"\\\x0414\x043e\x043a\x0443\x043c\x0435\x043d\x0442\x044b";
    const std::wstring report = documents + L"\\\x041e\x0442\x0447\x0451\x0442.txt";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    for (const std::wstring& file : {folder + L"\\x.txt", report}) {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
    Launch();
    DeleteWide(folder);
    DeleteFileW(report.c_str());

    const std::vector<std::string> log = Messages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], "E Could not read folder: \"" + Src("Documents\\?????????") + "\"");
    EXPECT_EQ(LinesAfterCopying(log, Src("Documents\\?????.txt"), 3), CopyFailure(Src("Documents\\?????.txt")));
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\Documents\\plain.txt"), "plain");
    EXPECT_EQ(ErrorCount, 3);
}

TEST_F(BackupJobTest, EntriesWithoutAPlaceAreReportedAndNeverLandOnAnother) {
    // One identity in the standard place, one whose store was moved out of it.
    Source("Identities\\{1A2B}\\Inbox.dbx", "main identity");
    Source("MailStore\\Inbox.dbx", "moved identity");
    test::Seed seed;
    for (const char* key : {"{1A2B}", "{5E6F}"}) {
        seed.RegString(HKEY_CURRENT_USER, std::string("Identities\\") + key, "Username", key);
        form1->IdentitiesList.AddItem(key);
    }
    form1->OEIdentitiesList.AddItem("{1A2B}", true);
    form1->IdentitiesPaths.AddItem(Src("Identities\\{1A2B}"));
    form1->OEIdentitiesList.AddItem("{5E6F}", true);
    form1->IdentitiesPaths.AddItem(Src("MailStore"));
    // A file whose name holds a tag's text keeps its name.
    Source("Documents\\[mydocs--]notes.txt", "notes");
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
    Launch();

    const std::vector<std::string> log = Messages();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "E No place to copy this file to. Skipping to next file: \"" + Src("MailStore\\Inbox.dbx") + "\""),
              log.end());
    EXPECT_EQ(CopyingLines(log), 2u);
    EXPECT_EQ(ErrorCount, 1);
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\OutlookExpress\\Identities\\{1A2B}\\Inbox.dbx"), "main identity");
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\Documents\\[mydocs--]notes.txt"), "notes");
    EXPECT_EQ(CopiedFiles(Store()).size(), 2u);
}

TEST_F(BackupJobTest, ASettingsFileThatCannotBeWrittenMovesToTheUsersOwnFileWithoutALine) {
    // The user's own settings file of the prefix, set aside for the test and removed after it.
    const std::string userFolder = test::SpecialFolder(CSIDL_APPDATA) + "\\Halvorkeep3";
    const std::string userFile = userFolder + "\\Halvorkeep.ini";
    test::Seed seed;
    seed.Hide(userFolder);
    // The settings file could be written at start-up; now something else has its name: a folder.
    DeleteFileA(SettingsPath().c_str());
    ASSERT_TRUE(CreateDirectoryA(SettingsPath().c_str(), nullptr));
    struct Remove {
        std::string folder, tree;
        ~Remove() {
            RemoveDirectoryA(folder.c_str());
            test::DeleteTree(tree);
        }
    } remove{SettingsPath(), userFolder};
    Choose(form1->Desktop, form1->DesktopPath, Src("Desktop"));
    Source("Desktop\\note.txt", "note");
    PanelWatch watch(*form1, &form2->Label2);
    Launch();

    EXPECT_FALSE(form2->Visible());
    EXPECT_TRUE(form1->Visible());
    EXPECT_TRUE(form1->JobPanel.Visible());
    ASSERT_FALSE(watch.mainVisibleWhileListing.empty());
    EXPECT_FALSE(watch.mainVisibleWhileListing.front());
    const std::vector<std::string> log = Messages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], kStartLine);
    EXPECT_EQ(log[2], kCopied);
    EXPECT_EQ(test::ReadFile(Store() + "\\Archive\\Desktop\\note.txt"), "note");
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_EQ(WarningCount, 0);
    EXPECT_TRUE(PendingJobErrors.empty());
    // Every key of the listing went to the user's own file: the storage folder, the sub-folder
    // option and sixteen categories; the next language load writes there too.
    ASSERT_TRUE(SettingsIni);
    EXPECT_EQ(SettingsIni->FileName(), userFile);
    EXPECT_EQ(SettingsIni->ReadSection("CONFIG").size(), 18u);
    EXPECT_EQ(SettingsIni->ReadString("CONFIG", "LastBackupFolder", ""), Store());
    EXPECT_EQ(SettingsIni->ReadString("CONFIG", "BackupDesktop", ""), "YES");
    form1->SelectLanguageSelect();
    EXPECT_TRUE(win::IniFile(userFile).ValueExists("CONFIG", "LastLanguage"));
}
