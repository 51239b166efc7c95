// The real Halvorkeep3.exe copying files that Windows does not read as they are named: a backup
// of My Documents holding names that differ only in letter case or end in a dot or a blank, a
// backup into and a restore from a folder typed with a trailing dot, and a restore from a set
// whose files and folders are all read-only, as on a CD.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kJobMs = 120000;

std::vector<std::string> Lines(const std::string& file) {
    std::istringstream text(test::ReadFile(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// The lines of a log that hold text.
std::vector<std::string> With(const std::vector<std::string>& log, const std::string& text) {
    std::vector<std::string> found;
    std::copy_if(log.begin(), log.end(), std::back_inserter(found),
                 [&](const std::string& line) { return line.find(text) != std::string::npos; });
    return found;
}

// Files written under their exact names, deleted the same way: the Win32 calls of the clean-up
// that follows would take them for other files.
class ExactNames {
public:
    ~ExactNames() {
        for (const std::string& path : paths_) test::DeleteFileUnderExactName(path);
    }
    void Write(const std::string& path, const std::string& bytes) {
        EXPECT_TRUE(test::WriteFileUnderExactName(path, bytes)) << path;
        paths_.push_back(path);
    }

private:
    std::vector<std::string> paths_;
};

class CopyStepProgramTest : public test::ProgramFolderTest {
protected:
    void Press(int id) { ASSERT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    void WaitVisible(int id) {
        HWND w = Control(id);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(w); }, kReactMs)) << "control " << id;
    }
    bool Finished(const char* caption) {
        HWND w = Control(IDC_CopyProgress);
        return drive::WaitFor([&] { return drive::Text(w) == caption; }, kJobMs);
    }
    // A backup of My Documents alone into the storage folder as typed, until it is finished.
    void BackUpMyDocuments(const std::string& storage) {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_BackupTabSheet1));
        ASSERT_TRUE(drive::IsChecked(Control(IDC_MyDocuments)));
        for (int id : {IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next})
            ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_Launch));
        drive::Click(Control(IDC_Launch));
        ASSERT_TRUE(Finished("Backup job is finished!"));
    }
    // A restore of all that the set at the folder as typed holds, until it is finished.
    void RestoreAll(const std::string& set) {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NO_FATAL_FAILURE(Press(IDC_RestoreData));
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        for (int id : {IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next, IDC_Restore5Next})
            ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_LaunchRestore));
        drive::Click(Control(IDC_LaunchRestore));
        ASSERT_TRUE(Finished("Restoration job is finished!"));
    }
    // A fresh, empty folder in place of the prefix's own, which comes back afterwards.
    std::string FreshFolder(const std::string& folder) {
        seed.Hide(folder);
        seed.Folder(folder);
        return folder;
    }

    test::Seed seed;
    test::ScratchFolder scratch{"copystep program"};
    ExactNames exactNames;  // gone before the seed's clean-up
};

}  // namespace

TEST_F(CopyStepProgramTest, ABackupNeverCopiesTwoFilesThatWindowsReadsAsOne) {
    const std::string documents = FreshFolder(test::SpecialFolder(CSIDL_PERSONAL));
    seed.File(documents + "\\Budget.xls", "budget");
    seed.File(documents + "\\notes", "plain notes");
    exactNames.Write(documents + "\\README.TXT", "upper");
    exactNames.Write(documents + "\\readme.txt", "lower");
    exactNames.Write(documents + "\\notes.", "dotted notes");
    exactNames.Write(documents + "\\Letters\\draft ", "blank draft");
    // The file system folds accented letters as well (code page 1252: "\xC9T\xC9.TXT", "\xE9t\xE9.txt").
    const std::string accentedUpper = "\xC9T\xC9.TXT", accentedLower = "\xE9t\xE9.txt";
    exactNames.Write(documents + "\\" + accentedUpper, "accented upper");
    exactNames.Write(documents + "\\" + accentedLower, "accented lower");
    ASSERT_EQ(test::FilesBelow(documents),
              (std::set<std::string>{"Budget.xls", "Letters\\draft ", "README.TXT", "notes", "notes.", "readme.txt",
                                     accentedUpper, accentedLower}));

    ASSERT_NO_FATAL_FAILURE(BackUpMyDocuments(scratch.path()));
    EXPECT_EQ(drive::Text(Control(IDC_Errorlabel)), "Errors : 4");

    // Of each pair, the first copied stays, with its own bytes; the other is refused, never copied
    // over it. "notes." and "draft " would have opened "notes" and nothing.
    const std::string archive = scratch / "Archive\\Documents\\";
    const std::set<std::string> inSet = test::FilesBelow(archive);
    const std::string kept = inSet.count("README.TXT") ? "README.TXT" : "readme.txt";
    const std::string refused = kept == "README.TXT" ? "readme.txt" : "README.TXT";
    const std::string accentedKept = inSet.count(accentedUpper) ? accentedUpper : accentedLower;
    const std::string accentedRefused = accentedKept == accentedUpper ? accentedLower : accentedUpper;
    EXPECT_EQ(inSet, (std::set<std::string>{"Budget.xls", "notes", kept, accentedKept}));
    EXPECT_EQ(test::ReadFile(archive + kept), kept == "README.TXT" ? "upper" : "lower");
    EXPECT_EQ(test::ReadFile(archive + accentedKept),
              accentedKept == accentedUpper ? "accented upper" : "accented lower");
    EXPECT_EQ(test::ReadFile(archive + "notes"), "plain notes");

    const std::vector<std::string> log = Lines(scratch / "Log.txt");
    EXPECT_EQ(With(log, "File successfully copied").size(), 4u);
    const std::vector<std::string> errors = With(log, "[ERROR] ");
    ASSERT_EQ(errors.size(), 4u);
    for (const std::string& twin : {refused, accentedRefused}) {
        const auto copyingLine = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.find("Copying file: \" " + documents + "\\" + twin + "\"") != std::string::npos;
        });
        ASSERT_NE(copyingLine, log.end()) << twin;
        ASSERT_NE(copyingLine + 1, log.end());
        EXPECT_NE(copyingLine[1].find("[ERROR] "), std::string::npos) << copyingLine[1];
        EXPECT_NE(copyingLine[1].find(" : Another file of this job was already copied there. Skipping to next file"),
                  std::string::npos)
            << copyingLine[1];
    }
    const std::string unopenable =
        " : Windows cannot open this name as it is written (it ends in a dot or a blank). Skipping to next file: \"";
    EXPECT_EQ(With(errors, unopenable + documents + "\\notes.\"").size(), 1u);
    EXPECT_EQ(With(errors, unopenable + documents + "\\Letters\\draft \"").size(), 1u);
}

TEST_F(CopyStepProgramTest, ARestoreFromASetOfReadOnlyFilesAndFoldersGivesWritableFiles) {
    const std::string documents = FreshFolder(test::SpecialFolder(CSIDL_PERSONAL));
    // The restore saves its log beside the desktop folder.
    const std::string restoreLog = seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");

    // A set as burnt on a CD: every file and folder read-only.
    const std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Documents\\Letter to the bank.doc", documents + "\\Letter to the bank.doc"},
        {"Documents\\Taxes\\2023\\Return.pdf", documents + "\\Taxes\\2023\\Return.pdf"},
        {"OutlookPST\\Outlook.pst", documents + "\\Outlook PST Files\\Outlook.pst"}};
    std::set<std::string> everything{set};
    for (const auto& file : files) {
        const std::string path = set + "\\Archive\\" + file.first;
        test::WriteFile(path, "bytes of " + file.first);
        for (std::string at = path; at.size() > set.size(); at = at.substr(0, at.find_last_of('\\')))
            everything.insert(at);
    }
    for (const std::string& path : everything) ASSERT_TRUE(test::MakeReadOnly(path)) << path;

    ASSERT_NO_FATAL_FAILURE(RestoreAll(set));

    for (const auto& file : files) {
        EXPECT_EQ(test::ReadFile(file.second), "bytes of " + file.first) << file.second;
        EXPECT_EQ(GetFileAttributesA(file.second.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY), 0u)
            << file.second << " is missing or read-only";
    }
    const std::vector<std::string> log = Lines(restoreLog);
    EXPECT_EQ(With(log, "File successfully copied").size(), files.size());
    EXPECT_EQ(With(log, "[ERROR] "), std::vector<std::string>{});
    EXPECT_EQ(With(log, "[WARNING] "), std::vector<std::string>{});
    // The set itself is left as it was.
    for (const std::string& path : everything)
        EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) << path;
}

// Windows reads a folder typed "...\\copystep program." as "...\\copystep program": the backup
// fills that folder, and a restore from the set typed so gives every file back.
TEST_F(CopyStepProgramTest, AFolderTypedWithATrailingDotIsTheFolderWindowsReads) {
    const std::string documents = FreshFolder(test::SpecialFolder(CSIDL_PERSONAL));
    const std::string restoreLog = seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
    const std::vector<std::pair<std::string, std::string>> files = {{"Budget.xls", "budget"},
                                                                    {"Letters\\To the bank.doc", "letter"}};
    for (const auto& file : files) seed.File(documents + "\\" + file.first, file.second);

    ASSERT_NO_FATAL_FAILURE(BackUpMyDocuments(scratch.path() + "."));
    EXPECT_EQ(drive::Text(Control(IDC_Errorlabel)), "Errors : 0");
    const std::string archive = scratch / "Archive\\Documents\\";
    EXPECT_EQ(test::FilesBelow(archive), (std::set<std::string>{"Budget.xls", "Letters\\To the bank.doc"}));
    for (const auto& file : files) EXPECT_EQ(test::ReadFile(archive + file.first), file.second) << file.first;
    const std::vector<std::string> log = Lines(scratch / "Log.txt");
    EXPECT_EQ(With(log, "File successfully copied").size(), files.size());
    EXPECT_EQ(With(log, "[ERROR] "), std::vector<std::string>{});

    for (const auto& file : files) ASSERT_TRUE(DeleteFileA((documents + "\\" + file.first).c_str())) << file.first;
    ASSERT_NO_FATAL_FAILURE(RestoreAll(scratch.path() + "."));
    for (const auto& file : files) EXPECT_EQ(test::ReadFile(documents + "\\" + file.first), file.second) << file.first;
    const std::vector<std::string> restored = Lines(restoreLog);
    EXPECT_EQ(With(restored, "File successfully copied").size(), files.size());
    EXPECT_EQ(With(restored, "[ERROR] "), std::vector<std::string>{});
}
