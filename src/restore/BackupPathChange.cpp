// The backup-set folder of the welcome page in restore mode.
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::BackupPathChange() {
    WelcomeNext.Repaint();
    WelcomeQuit.Repaint();
    const std::string root = ExcludeTrailingBackslash(BackupPath.Text());
    if (!FolderExists(root)) {
        ShowBackupSetTest(false);
        // The simple restore choices and the browser labels; the lists keep what they hold.
        ui::Control* const choices[] = {&RestoreMyDocuments, &RestoreMyPictures, &RestoreMyMusic, &RestoreMyVideos,
                                        &RestoreQuickLaunch, &RestoreDesktop,    &RestoreWallPaper, &RestoreSharedDocs,
                                        &RestoreIEFavorites, &RestoreIEStartPage, &RestoreWindowsMail, &RestoreNK2,
                                        &RestoreWab,         &RestoreWindowsCalendar, &RestoreFonts, &RestoreRasPhone,
                                        &RestoreFirefox,     &RestoreThunderbird};
        for (ui::Control* c : choices) c->SetEnabled(false);
    } else {
        RestoreFFProfilesNames.Clear();
        RestoreFirefoxProfilesNames.Clear();
        RestoreTBProfilesNames.Clear();
        RestoreThunderbirdProfilesNames.Clear();
        ShowBackupSetTest(IsBackupSet(root));
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
}
