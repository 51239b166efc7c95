// The small handlers of the restore pages' options.
#include "app/Form1.h"

void TForm1::SelectFilesButtonClick() {}
void TForm1::SelectFoldersButtonClick() {}
void TForm1::RestoreFilesOriginClick() {}
void TForm1::RestoreFilesOtherClick() {}
void TForm1::RestoreFoldersOriginClick() {}
void TForm1::RestoreFoldersOtherClick() {}
void TForm1::RestoreFilesDirectoryChange() {}
void TForm1::RestoreFoldersDirectoryChange() {}
void TForm1::RestoreFirefoxDefaultClick() {}
void TForm1::RestoreFirefoxOriginClick() {}
void TForm1::RestoreThunderbirdDefaultClick() {}
void TForm1::RestoreThunderbirdOriginClick() {}
