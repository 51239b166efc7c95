#include "app/AppState.h"
#include <windows.h>
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
