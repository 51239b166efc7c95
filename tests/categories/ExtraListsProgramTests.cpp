// The real Halvorkeep3.exe with the system's own file-open dialog: files picked in My Documents
// and Outlook data files picked in Outlook's folder, as a user does it from this process, and the
// Delete key through the program's message loop.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <memory>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::string>;
constexpr DWORD kReactMs = 10000;

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

    test::ScratchFolder storage_{"storage"};
};

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
