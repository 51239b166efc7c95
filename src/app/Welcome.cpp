// The welcome page: mode, storage folder or backup set, sub-folder option, and Quit.
#include "app/AppState.h"
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "ui/MessagePump.h"

void TForm1::StoragePathChange() {
    const bool exists = FolderExists(StoragePath.Text());
    StoragePathWrong.SetVisible(!exists);
    WelcomeNext.SetEnabled(exists);
    BackupInSubFolder.SetEnabled(exists);
}

void TForm1::BackupDataClick() {
    if (!BackupData.Checked()) return;
    WhereToBackup.Show();
    StoragePath.Show();
    StoragePathWrong.Show();
    BackupInSubFolder.Show();
    StoragePathChange();  // the storage folder typed earlier is tested again
    Image27.Show();
    Label8.Hide();
    Image22.Hide();
    BackupWrong.Hide();
    BackupPath.Hide();
}

void TForm1::RestoreDataClick() {
    if (!RestoreData.Checked()) return;
    WhereToBackup.Hide();
    StoragePath.Hide();
    StoragePathWrong.Hide();
    Image27.Hide();
    Label8.Show();
    Image22.Show();
    BackupWrong.Show();
    BackupPath.Show();
    BackupInSubFolder.Hide();
    ShowBackupSetTest(IsBackupSet(BackupPath.Text()));
}

// The backup-set folder's mark and the welcome page's Next follow the recognition.
void TForm1::ShowBackupSetTest(bool recognised) {
    BackupWrong.SetVisible(!recognised);
    WelcomeNext.SetEnabled(recognised);
}

void TForm1::BackupInSubFolderClick() {
    BackupSubFolderSuffix = BackupInSubFolder.Checked() ? "\\" + SubFolderName() : std::string();
}

void TForm1::WelcomeQuitClick() { ui::Terminate(); }
