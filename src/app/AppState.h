// State the whole program shares beside the main window's controls.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "win/IniFile.h"
#include "win/Registry.h"

// Start-up date as yyyy-mm-dd; never refreshed while the program runs.
extern std::string TodayText;
// The settings file beside the program and the current language file.
extern std::unique_ptr<win::IniFile> SettingsIni;
extern std::unique_ptr<win::IniFile> LanguageIni;
// Empty, or "\" and the name of the dated sub-folder of the storage folder.
extern std::string BackupSubFolderSuffix;

// A text of the current language file, or its English default.
std::string LanguageText(const std::string& section, const std::string& key, const std::string& def);
// While one lives, the language file is taken as unchanged after its first text: a copy loop
// asks for the same texts for every file.
class LanguageTextsHeld {
public:
    LanguageTextsHeld();
    ~LanguageTextsHeld();
    LanguageTextsHeld(const LanguageTextsHeld&) = delete;
    LanguageTextsHeld& operator=(const LanguageTextsHeld&) = delete;
};

// Program folder + "\Halvorkeep.ini": the settings file while it can be written (a copy run from a
// stick keeps its settings beside it).
std::string SettingsFileName();
// The user's own settings file, "Halvorkeep3\Halvorkeep.ini" in the user's application data: the
// settings file when the one beside the program cannot be written (the program installed under
// Program Files, a write-protected stick). Empty when the shell knows no such folder.
std::string UserSettingsFileName();
// Start-up: SettingsIni made on the file beside the program when that file can be written, else
// on a copy aside in the user's application data. Of the two, the start is made from the one with
// the latest choices: the copy aside when it was made for this very file beside the program (known
// by its place below the drive on its volume, whatever the drive letter), whose content has not
// changed since. Such later choices are first written back beside the program when it can be
// written; when it cannot, the copy aside is made anew as a copy of it unless it holds them. A
// copy aside that holds another program copy's (another stick's) choices is never read over this
// one's nor replaced: this one's then go to a further file beside it.
void OpenSettings();
// SettingsIni made again on the file in use (a language load does so).
void ReopenSettings();
// CONFIG/key := value in the settings file in use. When the file beside the program cannot be
// written, the settings move to a copy aside (made anew as a copy of it) for the rest of the run
// and the value goes there. False when the value could not be written at all.
bool WriteSetting(const std::string& key, const std::string& value);
// Program folder + "\language".
std::string LanguageFolder();
// The dated sub-folder's name: TodayText + " - Halvorkeep - " + the user's name.
std::string SubFolderName();

// ---- State of the data categories and of the two jobs ----

// The registry key object of the jobs' steps: made anew by every Next of the welcome page; each
// step closes it and opens the key it needs.
extern win::RegistryKey SharedRegistry;
// The user's Mozilla profiles.ini files (Next reads them, a restore registers profiles in them).
extern std::unique_ptr<win::IniFile> FirefoxProfilesIni;
extern std::unique_ptr<win::IniFile> ThunderbirdProfilesIni;
// INI files of the backup set being written or restored.
extern std::unique_ptr<win::IniFile> FirefoxArchiveIni;
extern std::unique_ptr<win::IniFile> ThunderbirdArchiveIni;
extern std::unique_ptr<win::IniFile> IdentitiesIni;
extern std::unique_ptr<win::IniFile> AdditionalFilesIni;
extern std::unique_ptr<win::IniFile> AdditionalFoldersIni;
extern std::unique_ptr<win::IniFile> FontsIni;
extern std::unique_ptr<win::IniFile> IEStartPageIni;
extern std::unique_ptr<win::IniFile> WallPaperIni;

// The category tag of what is being listed or copied, e.g. "[MYDOCS--]".
extern std::string CurrentTag;
// Entries of the running job's work list, and the index of the entry in hand.
extern int CopyCount;
extern int CopyIndex;
// How many extra files the backup's copy loop has reached: the key of their Files.ini lines.
extern int AdditionalFileNumber;
// The restore's destination of the entry in hand (the wallpaper step reads the last one).
extern std::string RestoreTarget;
// Set once every checked profile of a browser is in the user's profiles.ini.
extern bool ProfilesRegistered;
// The folder chosen last in the add-folder browser; the next browse starts there.
extern std::string LastChosenFolder;
// Errors met while a job lists its files behind the please-wait window (an unreadable folder,
// a file of the set that could not be written): logged as error lines once the job panel shows.
extern std::vector<std::string> PendingJobErrors;
// Warnings met the same way, logged as warning lines; each text once per job.
extern std::vector<std::string> PendingJobWarnings;
void AddPendingJobWarning(const std::string& text);

// Everything above back to its start-up state (a fresh program).
void ResetJobState();
