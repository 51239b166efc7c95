// The real Halvorkeep3.exe on a Japanese Windows (ANSI code page 932), where the second byte of
// many characters is 0x5C, the backslash, and of some 0x7C, "|": "予定表" (a schedule) is
// 97 5C 92 E8 95 5C, "発表" (a presentation) 94 AD 95 5C. Everyday names ending in them, in each
// role a path plays: folders and files of My Documents, the storage folder typed for the set, the
// extra files picked in the file dialog, and the set folder typed for the restore. This entry runs
// under a Japanese locale (HK_TEST_LOCALE), and so do the program and the file dialog it starts.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000, kJobMs = 120000;

// Code page 932: each of these ends in the byte 0x5C, but "ポ", which ends in 0x7C.
const std::string kSchedule = "\x97\x5C\x92\xE8\x95\x5C";  // 予定表
const std::string kPresentation = "\x94\xAD\x95\x5C";      // 発表
const std::string kAbility = "\x94\x5C";                    // 能
const std::string kSo = "\x83\x5C";                         // ソ
const std::string kTen = "\x8F\x5C";                        // 十
const std::string kPo = "\x83\x7C";                         // ポ

using Texts = std::vector<std::string>;

// Writes a file, making its folder and the folder's parents first. The shell reads the path by
// characters: a split at its bytes would make half-named folders.
bool Put(const std::string& path, const std::string& bytes) {
    char folder[MAX_PATH] = {};
    lstrcpynA(folder, path.c_str(), MAX_PATH);
    const int made = PathRemoveFileSpecA(folder) ? SHCreateDirectoryExA(nullptr, folder, nullptr) : -1;
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) return false;
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool whole = h != INVALID_HANDLE_VALUE &&
                       WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return whole;
}

Texts LogLines(const std::string& file) {
    std::istringstream text(test::ReadFile(file));
    Texts lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// Every file below folder with its bytes, by its path below it.
std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& file : test::FilesBelow(folder)) files[file] = test::ReadFile(folder + "\\" + file);
    return files;
}

class DoubleByteProgramTest : public test::ProgramFolderTest {
protected:
    void Press(int id) { ASSERT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }

    // In the file dialog of Add Files: the folder typed and opened, then both names picked in it.
    void PickInFolder(const std::string& folder, const std::string& first, const std::string& second) {
        drive::Click(Control(IDC_AddFiles));
        HWND dialog = nullptr;
        ASSERT_TRUE(drive::WaitFor([&] { return (dialog = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs));
        HWND name = GetDlgItem(dialog, 0x480);  // the name field: edt1, or the combo cmb13
        if (!name) name = GetDlgItem(dialog, 0x47c);
        ASSERT_TRUE(drive::SetText(name, folder));
        drive::PressDialogButton(dialog, IDOK);
        // The dialog opens the folder and empties its name field.
        ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(name).empty(); }, kReactMs)) << "the folder did not open";
        ASSERT_TRUE(drive::SetText(name, "\"" + first + "\" \"" + second + "\""));
        drive::PressDialogButton(dialog, IDOK);
        ASSERT_TRUE(drive::WaitFor([&] { return !IsWindow(dialog); }, kReactMs)) << "the dialog stays open";
    }
    // Next until the launch button shows, then the job to its end; the counters it ends with.
    void RunToTheEnd(std::initializer_list<int> pages, int launch, const char* finished) {
        for (int id : pages) ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_EQ(drive::RunJobToItsEnd(Control(launch), Control(IDC_CopyProgress), finished, kReactMs, kJobMs), "");
        counts = drive::Text(Control(IDC_Errorlabel)) + ", " + drive::Text(Control(IDC_WarningLabel));
    }
    void WaitForNext() {
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the folder was refused";
    }

    // A backup of My Documents and the two extra files into the storage folder as typed.
    void BackUp(const std::string& typedStorage) {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), typedStorage));
        ASSERT_NO_FATAL_FAILURE(WaitForNext());
        for (int id : {IDC_WelcomeNext, IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next,
                       IDC_Backup5Next})
            ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_NO_FATAL_FAILURE(PickInFolder(extraFolder, kPresentation, kAbility + ".txt"));
        EXPECT_EQ(drive::ListItems(Control(IDC_AdditionalFilesList)), extraFiles);
        ASSERT_NO_FATAL_FAILURE(RunToTheEnd({}, IDC_Launch, "Backup job is finished!"));
    }
    // A restore of all the set holds, the extra files where they came from.
    void Restore(const std::string& typedSet) {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NO_FATAL_FAILURE(Press(IDC_RestoreData));
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), typedSet));
        ASSERT_NO_FATAL_FAILURE(WaitForNext());
        ASSERT_NO_FATAL_FAILURE(RunToTheEnd({IDC_WelcomeNext, IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next,
                                             IDC_Restore4Next, IDC_Restore5Next, IDC_RestoreFilesOrigin},
                                            IDC_LaunchRestore, "Restoration job is finished!"));
    }

    test::Seed seed;
    test::ScratchFolder scratch{"double-byte"};
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    const std::string extraFolder = scratch / ("extra\\" + kSchedule);
    const Texts extraFiles = {extraFolder + "\\" + kPresentation, extraFolder + "\\" + kAbility + ".txt"};
    std::string counts;
};

// What My Documents holds, by path below it, with the bytes of each file.
const std::map<std::string, std::string> kDocuments = {
    {kSchedule + "\\memo.txt", "memo of the schedule"},
    {kSchedule + "\\" + kSo + "\\" + kAbility, "a file without extension in a folder in a folder"},
    {kPresentation + ".txt", "slides"},
    {kPo + "\\" + kTen + ".txt", "in a folder whose last byte is a bar"},
};

TEST_F(DoubleByteProgramTest, NamesEndingInABackslashByteAreBackedUpAndRestoredWhole) {
    ASSERT_EQ(GetACP(), 932u) << "this entry must run under a Japanese locale (HK_TEST_LOCALE)";
    // Wine spells such a name on Linux only in a locale that exists (scripts/setup.sh makes it).
    ASSERT_TRUE(Put(scratch / kSchedule + "\\" + kSchedule, "x"))
        << "no double-byte name can be written: the locale ja_JP.UTF-8 is missing";
    test::DeleteTree(scratch / kSchedule);
    seed.Hide(documents);
    seed.Folder(documents);
    for (const auto& file : kDocuments) ASSERT_TRUE(Put(documents + "\\" + file.first, file.second));
    const std::map<std::string, std::string> extras = {{kPresentation, "extra slides"}, {kAbility + ".txt", "extra notes"}};
    for (const auto& extra : extras) ASSERT_TRUE(Put(extraFolder + "\\" + extra.first, extra.second));
    const std::string storage = scratch / kPresentation;
    ASSERT_TRUE(CreateDirectoryA(storage.c_str(), nullptr));

    // The storage folder typed as it is. Names the code page could not spell would be counted
    // errors: none shows that the program runs under code page 932 too.
    ASSERT_NO_FATAL_FAILURE(BackUp(storage));
    EXPECT_EQ(counts, "Errors : 0, Warnings : 0");
    EXPECT_EQ(Contents(storage + "\\Archive\\Documents"), kDocuments);
    const std::string savedFolder = "C" + extraFolder.substr(2);
    EXPECT_EQ(Contents(storage + "\\Archive\\AdditionalFiles\\Data\\" + savedFolder), extras);
    EXPECT_EQ(LogLines(storage + "\\Archive\\AdditionalFiles\\Files.ini"),
              (Texts{"[FROM]", "1=" + extraFiles[0], "2=" + extraFiles[1], "[SAVED]",
                     "1=" + savedFolder + "\\" + kPresentation, "2=" + savedFolder + "\\" + kAbility + ".txt"}));
    const Texts backupLog = LogLines(storage + "\\Log.txt");
    EXPECT_EQ(test::LinesWith(backupLog, "File successfully copied"), kDocuments.size() + extras.size());
    EXPECT_EQ(test::LinesWith(backupLog, "[ERROR] ") + test::LinesWith(backupLog, "[WARNING] "), 0u);
    char remembered[MAX_PATH] = {};
    GetPrivateProfileStringA("CONFIG", "LastBackupFolder", "", remembered, MAX_PATH, Ini().c_str());
    EXPECT_EQ(remembered, storage);

    // Everything gone from the machine, then restored from the set, typed as it is.
    test::DeleteTree(documents);
    ASSERT_TRUE(CreateDirectoryA(documents.c_str(), nullptr));
    test::DeleteTree(scratch / "extra");
    const std::string restoreLog = seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
    ASSERT_NO_FATAL_FAILURE(Restore(storage));
    EXPECT_EQ(counts, "Errors : 0, Warnings : 0");
    EXPECT_EQ(Contents(documents), kDocuments);
    EXPECT_EQ(Contents(extraFolder), extras);
    const Texts log = LogLines(restoreLog);
    EXPECT_EQ(test::LinesWith(log, "File successfully copied"), kDocuments.size() + extras.size());
    EXPECT_EQ(test::LinesWith(log, "[ERROR] ") + test::LinesWith(log, "[WARNING] "), 0u);
}

}  // namespace
