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
