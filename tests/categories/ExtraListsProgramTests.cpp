// The real Halvorkeep3.exe with the system's own file-open dialog: files picked in My Documents
// and Outlook data files picked in Outlook's folder, as a user does it from this process, the
// Delete key through the program's message loop, and extra files backed up twice into one set
// and offered by a restore.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::string>;
constexpr DWORD kReactMs = 10000;
constexpr DWORD kJobMs = 120000;

class ExtraListsProgramTest : public test::ProgramFolderTest {
protected:
    // Starts the program and goes from the welcome page to backup page `page` (1 to 6).
    void StartOnBackupPage(int page) {
        static const int next[] = {IDC_WelcomeNext, IDC_Backup1Next, IDC_Backup2Next,
                                   IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next};
        static const int sheets[] = {IDC_BackupTabSheet1, IDC_BackupTabSheet2, IDC_BackupTabSheet3,
                                     IDC_BackupTabSheet4, IDC_BackupTabSheet5, IDC_BackupTabSheet6};
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage_.path()));
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(Control(IDC_WelcomeNext)); }, kReactMs));
        for (int i = 0; i < page; ++i) {
            ASSERT_TRUE(drive::ClickAndWait(Control(next[i])));
            ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(Control(sheets[i])); }, kReactMs))
                << "backup page " << i + 1;
        }
    }

    // A dialog box of the program other than `other`, waited for.
    HWND WaitForDialog(HWND other = nullptr) {
        HWND box = nullptr;
        drive::WaitFor(
            [&] {
                box = drive::FirstTopWindow(program_->Pid(), [other](HWND w) {
                    char cls[16] = {};
                    GetClassNameA(w, cls, sizeof(cls));
                    return w != other && IsWindowVisible(w) && std::string(cls) == "#32770";
                });
                return box != nullptr;
            },
            kReactMs);
        return box;
    }
    // Clicks a button that opens the file-open dialog; checks the dialog's owner and file type,
    // types the names into it and confirms. Returns the dialog (it may stay open).
    HWND PickInFileDialog(int button, const std::string& fileType, const std::string& typed) {
        drive::Click(Control(button));
        HWND dialog = WaitForDialog();
        EXPECT_TRUE(dialog) << "no file dialog";
        if (!dialog) return nullptr;
        EXPECT_EQ(program_->Main(), GetWindow(dialog, GW_OWNER));
        EXPECT_EQ(fileType, drive::Text(GetDlgItem(dialog, 0x470)));  // the file-type box
        HWND name = GetDlgItem(dialog, 0x480);  // the name field: edt1, or the combo cmb13
        EXPECT_TRUE(drive::SetText(name ? name : GetDlgItem(dialog, 0x47c), typed));
        drive::PressDialogButton(dialog, IDOK);
        return dialog;
    }
    testing::AssertionResult ListBecomes(int id, const Texts& items) {
        Texts seen;
        if (drive::WaitFor([&] { return (seen = drive::ListItems(Control(id))) == items; }, kReactMs))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the list holds " << testing::PrintToString(seen);
    }

    // Launch on backup page 6, until the job is finished.
    void LaunchBackup() {
        drive::Click(Control(IDC_Launch));
        HWND caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == "Backup job is finished!"; }, kJobMs));
    }

    test::ScratchFolder storage_{"storage"};
};

// The lines of a text file that hold something.
Texts FileLines(const std::string& path) {
    std::istringstream text(test::ReadFile(path));
    Texts lines;
    for (std::string line; std::getline(text, line);) {
        line = line.substr(0, line.find('\r'));
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

TEST_F(ExtraListsProgramTest, FilesPickedTogetherInMyDocumentsAreListedInOrderAndTheDeleteKeyRemovesOne) {
    test::Seed seed;
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    for (const char* name : {"letter.doc", "budget.xls", "cv.txt"}) seed.File(documents + "\\" + name, "data");
    ASSERT_NO_FATAL_FAILURE(StartOnBackupPage(6));

    // Names typed alone are found in the dialog's start folder, My Documents.
    PickInFileDialog(IDC_AddFiles, "Files (*.*)", "\"letter.doc\" \"budget.xls\" \"cv.txt\"");
    const Texts picked = {documents + "\\letter.doc", documents + "\\budget.xls", documents + "\\cv.txt"};
    EXPECT_TRUE(ListBecomes(IDC_AdditionalFilesList, picked));

    // The user clicks the list, goes to the second line and presses Delete.
    const HWND list = Control(IDC_AdditionalFilesList);
    drive::Click(list);
    ASSERT_TRUE(drive::WaitFor([&] { LRESULT i = -1; return drive::Send(list, LB_GETCURSEL, 0, 0, &i) && i == 0; }, kReactMs));
    drive::Send(list, LB_SETCURSEL, 1, 0);
    drive::PressKey(list, VK_DELETE);
    EXPECT_TRUE(ListBecomes(IDC_AdditionalFilesList, {picked[0], picked[2]}));
}

// The set is written straight into the storage folder, so the second backup reuses the first
// one's set. While it runs another program holds A.txt open: its copy fails, and the set keeps
// the first backup's copy of it, which Files.ini still names under its own key.
TEST_F(ExtraListsProgramTest, AnExtraFileHeldOpenDuringASecondBackupKeepsItsPlaceAndARestoreOffersItsFirstCopy) {
    test::Seed seed;
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    const std::string a = seed.File(documents + "\\A.txt", "A, first backup");
    const std::string b = seed.File(documents + "\\B.txt", "B, first backup");
    // Every category refused at the last backup: the extra files alone are backed up.
    std::string settings = test::kOnlyMyDocumentsSettings;
    settings.replace(settings.find("BackupMyDocuments=YES"), 21, "BackupMyDocuments=NO");
    const Texts picked = {a, b};
    auto backUpBothFiles = [&] {
        test::WriteFile(Ini(), settings);
        ASSERT_NO_FATAL_FAILURE(StartOnBackupPage(6));
        PickInFileDialog(IDC_AddFiles, "Files (*.*)", "\"A.txt\" \"B.txt\"");
        ASSERT_TRUE(ListBecomes(IDC_AdditionalFilesList, picked));
        ASSERT_NO_FATAL_FAILURE(LaunchBackup());
    };
    ASSERT_NO_FATAL_FAILURE(backUpBothFiles());

    test::WriteFile(a, "A, second backup");
    test::WriteFile(b, "B, second backup");
    // This process is the other program: it opens A.txt without sharing it, so the copy fails.
    const HANDLE held = CreateFileA(a.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    backUpBothFiles();
    CloseHandle(held);
    ASSERT_FALSE(HasFatalFailure());
    const Texts log = FileLines(storage_ / "Log.txt");
    EXPECT_EQ(test::LinesWith(log, "[ERROR] "), 2u) << "the copy of A.txt and its retry";
    EXPECT_EQ(test::LinesWith(log, "Copy error on file: \"" + a + "\""), 1u);
    EXPECT_EQ(test::LinesWith(log, "File successfully copied"), 1u) << "B.txt";

    // Key n is the n-th extra file of the job, whatever became of its copy; the place below Data
    // is the drive letter, then the path after the drive.
    ASSERT_EQ(documents.substr(0, 3), "C:\\");
    const std::string savedA = "C" + a.substr(2), savedB = "C" + b.substr(2);
    EXPECT_EQ(FileLines(storage_ / "Archive\\AdditionalFiles\\Files.ini"),
              (Texts{"[FROM]", "1=" + a, "2=" + b, "[SAVED]", "1=" + savedA, "2=" + savedB}));
    const std::string data = storage_ / "Archive\\AdditionalFiles\\Data\\";
    EXPECT_EQ(test::ReadFile(data + savedA), "A, first backup");
    EXPECT_EQ(test::ReadFile(data + savedB), "B, second backup");

    // A restore offers both files and puts each back where it came from.
    ASSERT_TRUE(DeleteFileA(a.c_str()) && DeleteFileA(b.c_str()));
    seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(drive::ClickAndWait(Control(IDC_RestoreData)));
    ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), storage_.path()));
    ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(Control(IDC_WelcomeNext)); }, kReactMs));
    for (int id : {IDC_WelcomeNext, IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next,
                   IDC_Restore5Next})
        ASSERT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id;
    ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(Control(IDC_LaunchRestore)); }, kReactMs));
    EXPECT_EQ(drive::ListItems(Control(IDC_restoreAdditionalFilesList)), picked);
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreAdditionalFilesList)), std::vector<bool>(2, true));
    ASSERT_TRUE(drive::ClickAndWait(Control(IDC_RestoreFilesOrigin)));
    drive::Click(Control(IDC_LaunchRestore));
    HWND caption = Control(IDC_CopyProgress);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == "Restoration job is finished!"; }, kJobMs));
    EXPECT_EQ(test::ReadFile(a), "A, first backup");
    EXPECT_EQ(test::ReadFile(b), "B, second backup");
}

TEST_F(ExtraListsProgramTest, OutlooksDefaultDataFilePickedByHandIsRefusedAndAnotherOneIsAddedUnticked) {
    test::Seed seed;
    const std::string outlook = test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook";
    seed.File(outlook + "\\Outlook.pst", "pst");
    seed.File(outlook + "\\Archive.pst", "pst");
    ASSERT_NO_FATAL_FAILURE(StartOnBackupPage(3));
    const Texts before = drive::ListItems(Control(IDC_PSTList));

    HWND dialog = PickInFileDialog(IDC_SelectPST, "Outlook PST (*.pst)", "Outlook.pst");
    HWND box = WaitForDialog(dialog);
    ASSERT_TRUE(box) << "no message for the default data file";
    EXPECT_EQ("The file you are trying to dd is alreaydy in the list", drive::DialogText(box));
    drive::PressDialogButton(box, IDOK);
    ASSERT_TRUE(drive::WaitFor([&] { return !drive::FindDialog(program_->Pid()); }, kReactMs));
    EXPECT_EQ(before, drive::ListItems(Control(IDC_PSTList)));

    // The chosen file must exist: the dialog says so and stays open until cancelled.
    dialog = PickInFileDialog(IDC_SelectPST, "Outlook PST (*.pst)", "Missing.pst");
    box = WaitForDialog(dialog);
    ASSERT_TRUE(box) << "a missing file was taken";
    drive::PressDialogButton(box, IDOK);
    EXPECT_TRUE(drive::WaitFor([&] { return !IsWindowVisible(box) && IsWindowVisible(dialog); }, kReactMs));
    drive::PressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(drive::WaitFor([&] { return !drive::FindDialog(program_->Pid()); }, kReactMs));
    EXPECT_EQ(before, drive::ListItems(Control(IDC_PSTList)));

    PickInFileDialog(IDC_SelectPST, "Outlook PST (*.pst)", "Archive.pst");
    Texts after = before;
    after.push_back(outlook + "\\Archive.pst");
    EXPECT_TRUE(ListBecomes(IDC_PSTList, after));
    EXPECT_FALSE(drive::ListChecks(Control(IDC_PSTList)).back());
}

}  // namespace
