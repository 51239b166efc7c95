#include "app/AppState.h"
#include <windows.h>
#include <shlobj.h>
#include <map>
#include "app/Environment.h"

std::string TodayText;
std::unique_ptr<win::IniFile> SettingsIni;
std::unique_ptr<win::IniFile> LanguageIni;
std::string BackupSubFolderSuffix;

namespace {

// A job asks for the same few texts for every file it copies: each answer of the language file
// is kept until the file (or the language) changes. While a copy loop holds the texts, the file
// is looked at only once.
struct LanguageCache {
    std::string fileName;
    FILETIME written{};
    DWORD size = 0;
    bool found = false;
    bool looked = false;
    int holds = 0;
    std::map<std::string, std::string> texts;

    bool Current(const std::string& file) {
        if (holds > 0 && looked && file == fileName) return found;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        found = GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) != FALSE;
        looked = true;
        const bool same = file == fileName && found && CompareFileTime(&data.ftLastWriteTime, &written) == 0 &&
                          data.nFileSizeLow == size;
        if (!same) {
            texts.clear();
            fileName = file;
            written = data.ftLastWriteTime;
            size = data.nFileSizeLow;
        }
        return found;
    }
};

LanguageCache languageCache;

}  // namespace

std::string LanguageText(const std::string& section, const std::string& key, const std::string& def) {
    if (!LanguageIni) return def;
    // Without the file there is nothing to keep: every text is its default.
    if (!languageCache.Current(LanguageIni->FileName())) return LanguageIni->ReadString(section, key, def);
    std::string id = section;
    id.append(1, '\0').append(key).append(1, '\0').append(def);
    auto found = languageCache.texts.find(id);
    if (found != languageCache.texts.end()) return found->second;
    std::string text = LanguageIni->ReadString(section, key, def);
    languageCache.texts.emplace(std::move(id), text);
    return text;
}

LanguageTextsHeld::LanguageTextsHeld() {
    // The file is looked at once more, with the first text asked.
    if (languageCache.holds++ == 0) languageCache.looked = false;
}

LanguageTextsHeld::~LanguageTextsHeld() { --languageCache.holds; }

std::string SettingsFileName() { return ProgramFolder() + "\\Halvorkeep.ini"; }

std::string UserSettingsFileName() {
    const std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
    if (appData.empty()) return std::string();
    return ExcludeTrailingBackslash(appData) + "\\Halvorkeep3\\Halvorkeep.ini";
}

namespace {

// Whether the file can be opened for writing. A missing file is made, empty, as the first write
// would make it.
bool Writable(const std::string& file) {
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

// The user's own settings file made ready to take the settings: its folder made and, when the
// file does not exist yet, the settings read so far copied into it. False when it cannot be
// written either; the settings are then still read from where they were.
bool PrepareUserSettings(const std::string& from, const std::string& user) {
    if (user.empty() || !ForceDirectories(user.substr(0, user.rfind('\\')))) return false;
    if (!FileExists(user) && FileExists(from)) CopyFileA(from.c_str(), user.c_str(), TRUE);
    return Writable(user);
}

}  // namespace

void OpenSettings() {
    std::string file = SettingsFileName();
    if (!Writable(file)) {
        const std::string user = UserSettingsFileName();
        if (PrepareUserSettings(file, user)) file = user;
    }
    SettingsIni = std::make_unique<win::IniFile>(file);
}

void ReopenSettings() {
    if (!SettingsIni) return OpenSettings();
    SettingsIni = std::make_unique<win::IniFile>(SettingsIni->FileName());
}

bool WriteSetting(const std::string& key, const std::string& value) {
    if (!SettingsIni) return false;
    if (SettingsIni->WriteString("CONFIG", key, value)) return true;
    // The file beside the program could be written at start-up and no longer can (the stick was
    // write-protected meanwhile).
    const std::string user = UserSettingsFileName();
    if (SettingsIni->FileName() == user || !PrepareUserSettings(SettingsIni->FileName(), user)) return false;
    SettingsIni = std::make_unique<win::IniFile>(user);
    return SettingsIni->WriteString("CONFIG", key, value);
}

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
std::vector<std::string> PendingJobWarnings;

void AddPendingJobWarning(const std::string& text) {
    for (const std::string& warning : PendingJobWarnings)
        if (warning == text) return;
    PendingJobWarnings.push_back(text);
}

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
    PendingJobWarnings.clear();
}
