// The backup set's INI files and registry exports, and the end of the backup job.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::PrepareProfileOrigins(Browser) {}
void TForm1::RecordProfileOrigin(Browser, int) {}
void TForm1::RecordAdditionalFile(const std::string&, const std::string&) {}
void TForm1::BackupPostSteps() {}
void TForm1::ExportIdentityRegistry() {}
void TForm1::RecordFonts() {}
void TForm1::RecordAdditionalFolders() {}
void TForm1::StoreIEStartPage() {}
void TForm1::StoreWallpaperStyle() {}
void TForm1::FinishBackupJob() {}
