// Page-by-page navigation of the backup and restore wizards.
#include "app/Form1.h"

// The page area shows one thing at a time: the welcome panel, one of the two wizards on one of
// its pages, or the job panel. Hiding a panel leaves the keyboard focus where it was, on a
// control that can no longer be seen but that Tab still walks to and Enter still presses, so
// every switch ends by giving the focus to the page now shown.
void TForm1::ShowPageArea(ui::Control& area, ui::Container& page) {
    area.Show();
    const std::initializer_list<ui::Control*> areas{&WelcomePanel, &BackupTabs, &RestoreTabs, &JobPanel};
    for (ui::Control* other : areas)
        if (other != &area) other->Hide();
    page.FocusFirstControl();
}

void TForm1::ShowPage(ui::Panel& panel) { ShowPageArea(panel, panel); }

void TForm1::ShowPage(ui::TabSheet& sheet) {
    if (!sheet.Owner()) return;
    sheet.Owner()->SetActivePage(sheet);
    ShowPageArea(*sheet.Owner(), sheet);
}

void TForm1::ShowFirstWizardPage() { ShowPage(BackupData.Checked() ? BackupTabSheet1 : RestoreTabSheet1); }

void TForm1::Backup1PreviousClick() { ShowPage(WelcomePanel); }
void TForm1::Backup1NextClick() { ShowPage(BackupTabSheet2); }
void TForm1::Backup2PreviousClick() { ShowPage(BackupTabSheet1); }
void TForm1::Backup2NextClick() { ShowPage(BackupTabSheet3); }
void TForm1::Backup3PreviousClick() { ShowPage(BackupTabSheet2); }
void TForm1::Backup3NextClick() { ShowPage(BackupTabSheet4); }
void TForm1::Backup4PreviousClick() { ShowPage(BackupTabSheet3); }
void TForm1::Backup4NextClick() { ShowPage(BackupTabSheet5); }
void TForm1::Backup5PreviousClick() { ShowPage(BackupTabSheet4); }
void TForm1::Backup5NextClick() { ShowPage(BackupTabSheet6); }
void TForm1::Backup6PreviousClick() { ShowPage(BackupTabSheet5); }

// Shows the job panel without starting a job.
void TForm1::backup6NextClick() { ShowPage(JobPanel); }

void TForm1::Restore1PreviousClick() { ShowPage(WelcomePanel); }
void TForm1::Restore1NextClick() { ShowPage(RestoreTabSheet2); }
void TForm1::Restore2PreviousClick() { ShowPage(RestoreTabSheet1); }
void TForm1::Restore2NextClick() { ShowPage(RestoreTabSheet3); }
void TForm1::Restore3PreviousClick() { ShowPage(RestoreTabSheet2); }
void TForm1::Restore3NextClick() { ShowPage(RestoreTabSheet4); }
void TForm1::Restore4PreviousClick() { ShowPage(RestoreTabSheet3); }
void TForm1::Restore4NextClick() { ShowPage(RestoreTabSheet5); }
void TForm1::Restore5PreviousClick() { ShowPage(RestoreTabSheet4); }
void TForm1::Restore5NextClick() { ShowPage(RestoreTabSheet6); }
