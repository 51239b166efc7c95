// The small handlers of the restore pages' options.
#include "app/Form1.h"

namespace {

// Item 0 decides: ticked, every item goes off; otherwise every item comes on.
void ToggleAll(ui::CheckListBox& list) {
    if (list.Count() == 0) return;
    const bool tick = !list.Checked(0);
    for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, tick);
}

}  // namespace

void TForm1::SelectFilesButtonClick() { ToggleAll(restoreAdditionalFilesList); }
void TForm1::SelectFoldersButtonClick() { ToggleAll(RestoreAdditionalDirectoriesList); }

void TForm1::RestoreFilesOriginClick() { RestoreFilesDirectory.SetEnabled(false); }
void TForm1::RestoreFilesOtherClick() { RestoreFilesDirectory.SetEnabled(true); }
void TForm1::RestoreFoldersOriginClick() { RestoreFoldersDirectory.SetEnabled(false); }
void TForm1::RestoreFoldersOtherClick() { RestoreFoldersDirectory.SetEnabled(true); }

void TForm1::RestoreFilesDirectoryChange() {
    restoreAdditionalFilesList.Repaint();
    SelectFilesButton.Repaint();
}

void TForm1::RestoreFoldersDirectoryChange() {
    RestoreAdditionalDirectoriesList.Repaint();
    SelectFoldersButton.Repaint();
}

void TForm1::RestoreFirefoxDefaultClick() {
    RestoreFirefoxOrigin.SetChecked(false);
    RestoreFirefoxDefault.SetChecked(true);
}

void TForm1::RestoreFirefoxOriginClick() {
    RestoreFirefoxDefault.SetChecked(false);
    RestoreFirefoxOrigin.SetChecked(true);
}

void TForm1::RestoreThunderbirdDefaultClick() {
    RestoreThunderbirdOrigin.SetChecked(false);
    RestoreThunderbirdDefault.SetChecked(true);
}

void TForm1::RestoreThunderbirdOriginClick() {
    RestoreThunderbirdDefault.SetChecked(false);
    RestoreThunderbirdOrigin.SetChecked(true);
}
