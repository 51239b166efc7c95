// Page-by-page navigation of the backup and restore wizards.
#include "app/Form1.h"

void TForm1::ShowFirstWizardPage() {
    if (BackupData.Checked()) {
        BackupTabs.Show();
        RestoreTabs.Hide();
        WelcomePanel.Hide();
        BackupTabs.SetActivePage(BackupTabSheet1);
    } else {
        RestoreTabs.Show();
        BackupTabs.Hide();
        WelcomePanel.Hide();
        RestoreTabs.SetActivePage(RestoreTabSheet1);
    }
}

void TForm1::Backup1PreviousClick() {
    WelcomePanel.Show();
    BackupTabs.Hide();
}
void TForm1::Backup1NextClick() { BackupTabs.SetActivePage(BackupTabSheet2); }
void TForm1::Backup2PreviousClick() { BackupTabs.SetActivePage(BackupTabSheet1); }
void TForm1::Backup2NextClick() { BackupTabs.SetActivePage(BackupTabSheet3); }
void TForm1::Backup3PreviousClick() { BackupTabs.SetActivePage(BackupTabSheet2); }
void TForm1::Backup3NextClick() { BackupTabs.SetActivePage(BackupTabSheet4); }
void TForm1::Backup4PreviousClick() { BackupTabs.SetActivePage(BackupTabSheet3); }
void TForm1::Backup4NextClick() { BackupTabs.SetActivePage(BackupTabSheet5); }
void TForm1::Backup5PreviousClick() { BackupTabs.SetActivePage(BackupTabSheet4); }
void TForm1::Backup5NextClick() { BackupTabs.SetActivePage(BackupTabSheet6); }
void TForm1::Backup6PreviousClick() { BackupTabs.SetActivePage(BackupTabSheet5); }

// Shows the job panel without starting a job.
void TForm1::backup6NextClick() {
    JobPanel.Show();
    BackupTabs.Hide();
}

void TForm1::Restore1PreviousClick() {
    WelcomePanel.Show();
    RestoreTabs.Hide();
}
void TForm1::Restore1NextClick() { RestoreTabs.SetActivePage(RestoreTabSheet2); }
void TForm1::Restore2PreviousClick() { RestoreTabs.SetActivePage(RestoreTabSheet1); }
void TForm1::Restore2NextClick() { RestoreTabs.SetActivePage(RestoreTabSheet3); }
void TForm1::Restore3PreviousClick() { RestoreTabs.SetActivePage(RestoreTabSheet2); }
void TForm1::Restore3NextClick() { RestoreTabs.SetActivePage(RestoreTabSheet4); }
void TForm1::Restore4PreviousClick() { RestoreTabs.SetActivePage(RestoreTabSheet3); }
void TForm1::Restore4NextClick() { RestoreTabs.SetActivePage(RestoreTabSheet5); }
void TForm1::Restore5PreviousClick() { RestoreTabs.SetActivePage(RestoreTabSheet4); }
void TForm1::Restore5NextClick() { RestoreTabs.SetActivePage(RestoreTabSheet6); }
