// Outlook data files found or picked by hand, and the extra files and folders of page 6.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::SearchPSTClick() {}
void TForm1::SelectPSTClick() {}
void TForm1::AddFilesClick() {}
void TForm1::AddDirectoryClick() {}
void TForm1::RemoveAdditionalFileClick() {}
void TForm1::AdditionalFilesListKeyDown(int) {}
void TForm1::RemoveAdditionalDirectoryClick() {}
void TForm1::AdditionalDirectoriesListKeyDown(int) {}
