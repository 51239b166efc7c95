// Start-up of the main window: shared state, window font, language list and remembered settings.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::FormCreate() {
    TodayText = TodayAsText();
    DetectWindowsVersion();
    ApplyWindowFont();
    CopyList.SetHorizontalExtent(2000);
    // A work list holds every file of the job, folder after folder.
    CopyList.UseFrontCoding();
    RestoreCopyList.UseFrontCoding();
    Log.SetHorizontalExtent(2500);

    // Every language file of the language folder, sub-folders included, in walk order.
    Search.Dossier = LanguageFolder();
    Search.Filtre = "*.ini";
    Search.Execute();
    SelectLanguage.SetEditReadOnly(true);

    OpenSettings();
    std::string language = SettingsIni->ReadString("CONFIG", "LastLanguage", "");
    const std::string lastFolder = SettingsIni->ReadString("CONFIG", "LastBackupFolder", "");
    if (FolderExists(lastFolder)) {
        StoragePath.SetText(lastFolder);
        BackupInSubFolder.SetChecked(SettingsIni->ReadString("CONFIG", "BackupInSubFolder", "") == "YES");
    }
    if (language.empty()) language = "English";
    SelectLanguage.SetText(language);
    LoadLanguage(language);
}
