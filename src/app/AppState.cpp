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

// The user's own file says which settings file beside a program it stands in for, and how that
// file was (its last-write time and size) when the settings moved aside. While that file is
// still so, nothing was chosen beside the program since: the settings aside are the later ones.
// Once they are taken back beside the program, the state is emptied.
const char kAsideSection[] = "SavedAside";
const char kAsideFor[] = "For";
const char kAsideBeside[] = "Beside";

// Whether the file can be opened for writing. A missing file is made, empty, as the first write
// would make it.
bool Writable(const std::string& file) {
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

// The last-write time of a file (0 when there is no such file) and, when asked, its size.
ULONGLONG LastWritten(const std::string& file, DWORD* size = nullptr) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    if (size) *size = data.nFileSizeLow;
    return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// How the settings file beside the program is now, as the user's own file records it.
std::string BesideState(const std::string& beside) {
    DWORD size = 0;
    const ULONGLONG written = LastWritten(beside, &size);
    if (written == 0) return "none";
    char text[40];
    wsprintfA(text, "%08lX%08lX-%lu", DWORD(written >> 32), DWORD(written), size);
    return text;
}

enum class Aside { None, Later, Older, Unmarked };

// What the user's own file is to the settings file beside the program, whose state was taken
// before anything could touch it.
Aside AsideOf(const std::string& user, const std::string& beside, const std::string& besideState) {
    if (user.empty() || !FileExists(user)) return Aside::None;
    const win::IniFile aside(user);
    const std::string standsFor = aside.ReadString(kAsideSection, kAsideFor, "");
    if (standsFor.empty()) return Aside::Unmarked;
    // Another copy of the program (elsewhere on the disk, on another stick) left it.
    if (lstrcmpiA(standsFor.c_str(), beside.c_str()) != 0) return Aside::None;
    return aside.ReadString(kAsideSection, kAsideBeside, "") == besideState ? Aside::Later : Aside::Older;
}

// The user's own settings file made ready to take the settings: its folder made and, unless it
// holds the later settings, made anew as a copy of the file beside the program (never an older
// copy mixed with later choices). It then records what it stands in for. False when it cannot
// be written either; the settings are then still read from where they were.
bool PrepareUserSettings(const std::string& beside, const std::string& user, bool later) {
    if (user.empty() || !ForceDirectories(user.substr(0, user.rfind('\\')))) return false;
    if (!later) {
        DeleteFileA(user.c_str());
        if (FileExists(beside)) CopyFileA(beside.c_str(), user.c_str(), FALSE);
    }
    if (!Writable(user)) return false;
    win::IniFile aside(user);
    aside.WriteString(kAsideSection, kAsideFor, beside);
    aside.WriteString(kAsideSection, kAsideBeside, BesideState(beside));
    return true;
}

// The choices made aside written into the file beside the program, which can be written again:
// the next start, and a stick taken elsewhere, see them there. A key only the file beside the
// program has stays.
void BringBack(const std::string& user, const std::string& beside) {
    win::IniFile aside(user), settings(beside);
    for (const std::string& key : aside.ReadSection("CONFIG"))
        settings.WriteString("CONFIG", key, aside.ReadString("CONFIG", key, ""));
    aside.WriteString(kAsideSection, kAsideBeside, "");
}

}  // namespace

void OpenSettings() {
    std::string file = SettingsFileName();
    const std::string user = UserSettingsFileName();
    // Taken before the writing test, which makes a missing file.
    const std::string besideState = BesideState(file);
    const Aside aside = AsideOf(user, file, besideState);
    if (Writable(file)) {
        if (aside == Aside::Later) BringBack(user, file);
    } else {
        // A file made aside before it recorded what it stands in for counts when it was written
        // after the one beside the program.
        const bool later = aside == Aside::Later ||
                           (aside == Aside::Unmarked && LastWritten(user) > LastWritten(file));
        if (PrepareUserSettings(file, user, later)) file = user;
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
    // write-protected meanwhile): it holds the latest settings, which the user's own file takes.
    const std::string user = UserSettingsFileName();
    if (SettingsIni->FileName() == user || !PrepareUserSettings(SettingsIni->FileName(), user, false)) return false;
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
