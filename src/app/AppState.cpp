#include "app/AppState.h"
#include "app/Environment.h"

std::string TodayText;
std::unique_ptr<win::IniFile> SettingsIni;
std::unique_ptr<win::IniFile> LanguageIni;
std::string BackupSubFolderSuffix;

std::string LanguageText(const std::string& section, const std::string& key, const std::string& def) {
    return LanguageIni ? LanguageIni->ReadString(section, key, def) : def;
}

std::string SettingsFileName() { return ProgramFolder() + "\\Halvorkeep.ini"; }

std::string LanguageFolder() { return ProgramFolder() + "\\language"; }

std::string SubFolderName() { return TodayText + " - Halvorkeep - " + GetCurrentUserName(); }

win::RegistryKey SharedRegistry;
std::unique_ptr<win::IniFile> FirefoxProfilesIni;
std::unique_ptr<win::IniFile> ThunderbirdProfilesIni;
std::unique_ptr<win::IniFile> FirefoxArchiveIni;
std::unique_ptr<win::IniFile> ThunderbirdArchiveIni;
std::unique_ptr<win::IniFile> IdentitiesIni;
std::unique_ptr<win::IniFile> AdditionalFilesIni;
std::unique_ptr<win::IniFile> AdditionalFoldersIni;
std::unique_ptr<win::IniFile> FontsIni;
std::unique_ptr<win::IniFile> IEStartPageIni;
std::unique_ptr<win::IniFile> WallPaperIni;
std::string CurrentTag;
int CopyCount = 0;
int CopyIndex = 0;
int AdditionalFileNumber = 0;
std::string RestoreTarget;
bool ProfilesRegistered = false;
std::string LastChosenFolder;
std::vector<std::string> PendingJobErrors;

void ResetJobState() {
    SharedRegistry.Close();
    for (auto* ini : {&FirefoxProfilesIni, &ThunderbirdProfilesIni, &FirefoxArchiveIni, &ThunderbirdArchiveIni,
                      &IdentitiesIni, &AdditionalFilesIni, &AdditionalFoldersIni, &FontsIni, &IEStartPageIni,
                      &WallPaperIni})
        ini->reset();
    CurrentTag.clear();
    CopyCount = 0;
    CopyIndex = 0;
    AdditionalFileNumber = 0;
    RestoreTarget.clear();
    ProfilesRegistered = false;
    LastChosenFolder.clear();
    PendingJobErrors.clear();
}
