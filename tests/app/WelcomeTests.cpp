// The welcome page, backup-set recognition, page navigation and the please-wait window.
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "ui/MessagePump.h"

namespace {

bool ActivePageIs(const ui::PageControl& pages, const ui::TabSheet& sheet) {
    return pages.ActivePage() == &sheet && sheet.Visible();
}

}  // namespace

TEST_F(MainWindowTest, StorageFolderCheckFollowsTheTypedText) {
    test::ScratchFolder storage("storage");
    Start();
    Type(form1->StoragePath, storage.path());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    EXPECT_TRUE(form1->BackupInSubFolder.Enabled());
    EXPECT_FALSE(form1->StoragePathWrong.Visible());
    // One character less names nothing.
    Type(form1->StoragePath, storage.path().substr(0, storage.path().size() - 1));
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_FALSE(form1->BackupInSubFolder.Enabled());
    EXPECT_TRUE(form1->StoragePathWrong.Visible());
    // A file is not a storage folder.
    test::WriteFile(storage / "file.txt", "x");
    Type(form1->StoragePath, storage / "file.txt");
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
}

TEST_F(MainWindowTest, SubFolderOptionSetsAndClearsTheSuffix) {
    test::ScratchFolder storage("storage");
    Start();
    Type(form1->StoragePath, storage.path());
    Click(form1->BackupInSubFolder);
    EXPECT_EQ(BackupSubFolderSuffix, "\\" + TodayText + " - Halvorkeep - " + GetCurrentUserName());
    Click(form1->BackupInSubFolder);
    EXPECT_EQ(BackupSubFolderSuffix, "");
    // Invalidating the folder leaves the tick alone.
    Click(form1->BackupInSubFolder);
    Type(form1->StoragePath, "");
    EXPECT_TRUE(form1->BackupInSubFolder.Checked());
    EXPECT_FALSE(form1->BackupInSubFolder.Enabled());
}

TEST_F(MainWindowTest, RestoreModeTestsTheBackupSetAndBackupModeTheStorageFolderAgain) {
    test::ScratchFolder storage("storage");
    test::ScratchFolder notASet("notaset");
    Start();
    Type(form1->StoragePath, storage.path());
    ASSERT_TRUE(form1->WelcomeNext.Enabled());

    Click(form1->RestoreData);
    EXPECT_TRUE(form1->RestoreData.Checked());
    EXPECT_FALSE(form1->StoragePath.Visible());
    EXPECT_FALSE(form1->BackupInSubFolder.Visible());
    EXPECT_TRUE(form1->BackupPath.Visible());
    EXPECT_TRUE(form1->Label8.Visible());
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());

    Type(form1->BackupPath, notASet.path());
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());

    Type(form1->BackupPath, notASet / "missing");
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());

    test::MakeFolder(notASet / "Archive\\Desktop");
    Type(form1->BackupPath, notASet.path() + "\\");
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());

    Click(form1->BackupData);
    EXPECT_TRUE(form1->StoragePath.Visible());
    EXPECT_FALSE(form1->BackupPath.Visible());
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->StoragePathWrong.Visible());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    EXPECT_TRUE(form1->BackupInSubFolder.Enabled());
}

TEST(BackupSetRecognition, KnownArchiveEntriesMakeASet) {
    struct Case {
        const char* folder;  // made under the set; empty: nothing
        const char* file;    // written under the set; empty: nothing
        bool isSet;
    };
    const Case cases[] = {
        {"Archive\\Documents", "", true},
        {"Archive\\Opera", "", true},  // written by other tools, counted all the same
        {"Archive\\AdditionalFolders", "", true},
        {"Archive\\outlooknk2", "", true},  // letter case does not matter
        {"", "Archive\\Internet Explorer\\IEStartPage.ini", true},
        {"Archive", "", false},
        {"Archive\\WallPaper", "", false},  // the set keeps the file below WallPaper\File
        {"Archive\\Internet Explorer\\IEStartPage.ini", "", false},  // a folder is not the start page
        {"", "Archive\\Documents", false},  // a file is not the documents folder
    };
    for (const Case& c : cases) {
        test::ScratchFolder set("set");
        if (*c.folder) test::MakeFolder(set / c.folder);
        if (*c.file) test::WriteFile(set / c.file, "[STARTPAGE]\r\n");
        EXPECT_EQ(IsBackupSet(set.path()), c.isSet) << c.folder << c.file;
        EXPECT_EQ(IsBackupSet(set.path() + "\\"), c.isSet) << c.folder << c.file;
    }
    EXPECT_FALSE(IsBackupSet(""));
}

TEST_F(MainWindowTest, BackupWizardForwardAndBack) {
    test::ScratchFolder storage("storage");
    Start();
    Type(form1->StoragePath, storage.path());
    Click(form1->WelcomeNext);
    EXPECT_FALSE(form1->WelcomePanel.Visible());
    EXPECT_TRUE(form1->BackupTabs.Visible());
    EXPECT_FALSE(form1->RestoreTabs.Visible());
    ui::TabSheet* sheets[] = {&form1->BackupTabSheet1, &form1->BackupTabSheet2, &form1->BackupTabSheet3,
                              &form1->BackupTabSheet4, &form1->BackupTabSheet5, &form1->BackupTabSheet6};
    ui::Button* nexts[] = {&form1->Backup1Next, &form1->Backup2Next, &form1->Backup3Next, &form1->Backup4Next,
                           &form1->Backup5Next};
    ui::Button* previous[] = {&form1->Backup2Previous, &form1->Backup3Previous, &form1->Backup4Previous,
                              &form1->Backup5Previous, &form1->Backup6Previous};
    EXPECT_TRUE(ActivePageIs(form1->BackupTabs, *sheets[0]));
    for (int i = 0; i < 5; ++i) {
        Click(*nexts[i]);
        EXPECT_TRUE(ActivePageIs(form1->BackupTabs, *sheets[i + 1])) << i;
    }
    for (int i = 4; i >= 0; --i) {
        Click(*previous[i]);
        EXPECT_TRUE(ActivePageIs(form1->BackupTabs, *sheets[i])) << i;
    }
    Click(form1->Backup1Previous);
    EXPECT_TRUE(form1->WelcomePanel.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
    // The welcome page is as it was left.
    EXPECT_EQ(form1->StoragePath.Text(), storage.path());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());

    // Next on the last page shows the job panel without starting a job.
    Click(form1->WelcomeNext);
    form1->BackupTabs.SetActivePage(form1->BackupTabSheet6);
    Click(form1->backup6Next);
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
    EXPECT_EQ(form1->Log.Count(), 0);
}

TEST_F(MainWindowTest, RestoreWizardForwardAndBack) {
    test::ScratchFolder set("set");
    test::MakeFolder(set / "Archive\\Opera");
    Start();
    Click(form1->RestoreData);
    Type(form1->BackupPath, set.path());
    ASSERT_TRUE(form1->WelcomeNext.Enabled());
    Click(form1->WelcomeNext);
    EXPECT_TRUE(form1->RestoreTabs.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
    EXPECT_FALSE(form1->WelcomePanel.Visible());
    ui::TabSheet* sheets[] = {&form1->RestoreTabSheet1, &form1->RestoreTabSheet2, &form1->RestoreTabSheet3,
                              &form1->RestoreTabSheet4, &form1->RestoreTabSheet5, &form1->RestoreTabSheet6};
    ui::Button* nexts[] = {&form1->Restore1Next, &form1->Restore2Next, &form1->Restore3Next, &form1->Restore4Next,
                           &form1->Restore5Next};
    EXPECT_TRUE(ActivePageIs(form1->RestoreTabs, *sheets[0]));
    for (int i = 0; i < 5; ++i) {
        Click(*nexts[i]);
        EXPECT_TRUE(ActivePageIs(form1->RestoreTabs, *sheets[i + 1])) << i;
    }
    // Previous on the last restore page goes back to page 4.
    Click(form1->Restore6Previous);
    EXPECT_TRUE(ActivePageIs(form1->RestoreTabs, form1->RestoreTabSheet4));
    Click(form1->Restore5Next);
    Click(form1->Restore5Previous);
    EXPECT_TRUE(ActivePageIs(form1->RestoreTabs, form1->RestoreTabSheet4));
    Click(form1->Restore4Previous);
    Click(form1->Restore3Previous);
    Click(form1->Restore2Previous);
    EXPECT_TRUE(ActivePageIs(form1->RestoreTabs, form1->RestoreTabSheet1));
    Click(form1->Restore1Previous);
    EXPECT_TRUE(form1->WelcomePanel.Visible());
    EXPECT_FALSE(form1->RestoreTabs.Visible());
    EXPECT_TRUE(form1->RestoreData.Checked());
}

TEST_F(MainWindowTest, PleaseWaitBarKeepsMovingRunAfterRun) {
    Start();
    form2->Label1.SetText("Listing files to copy");
    form2->JvWaitingProgress1.SetLength(150);  // short runs keep the test quick
    form2->Show();
    EXPECT_TRUE(IsWindowVisible(form2->hwnd()));
    EXPECT_TRUE(form2->JvWaitingProgress1.Active());
    // Three runs' worth of time: each ended run starts the next one.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 500) {
        ui::PumpMessages();
        Sleep(10);
    }
    EXPECT_TRUE(form2->JvWaitingProgress1.Active());
    form2->Hide();
    EXPECT_FALSE(IsWindowVisible(form2->hwnd()));
    EXPECT_FALSE(form2->JvWaitingProgress1.Active());
}

