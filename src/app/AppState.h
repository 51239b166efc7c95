// State the whole program shares beside the main window's controls.
#pragma once
#include <memory>
#include <string>
#include "win/IniFile.h"

// Start-up date as yyyy-mm-dd; never refreshed while the program runs.
extern std::string TodayText;
// The settings file beside the program and the current language file.
extern std::unique_ptr<win::IniFile> SettingsIni;
extern std::unique_ptr<win::IniFile> LanguageIni;
// Empty, or "\" and the name of the dated sub-folder of the storage folder.
extern std::string BackupSubFolderSuffix;

// A text of the current language file, or its English default.
std::string LanguageText(const std::string& section, const std::string& key, const std::string& def);

// Program folder + "\Halvorkeep.ini".
std::string SettingsFileName();
// Program folder + "\language".
std::string LanguageFolder();
// The dated sub-folder's name: TodayText + " - Halvorkeep - " + the user's name.
std::string SubFolderName();
