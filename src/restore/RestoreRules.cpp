#include "restore/RestoreRules.h"
#include "app/Environment.h"
#include "backup/SetLayout.h"

namespace {

// The text from the last period of the name to its end; empty without a period.
std::string Extension(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One name of a path: not empty, no separator, no drive, and not a step up.
bool IsPlainName(const std::string& name) {
    return !name.empty() && FirstDelimiter("\\/:", name) == std::string::npos && !ClimbsOut(name);
}

// The folders DriveFolder makes for a drive: "C", or "UNC\server\share".
bool IsDriveFolder(const std::string& folder) {
    if (folder.size() == 1) return IsLetter(folder[0]);
    const std::string unc = "UNC\\";
    if (folder.size() <= unc.size() || !SameTextIgnoringCase(folder.substr(0, unc.size()), unc)) return false;
    const std::string rest = folder.substr(unc.size());
    const size_t slash = NextBackslash(rest);
    return slash != std::string::npos && IsPlainName(rest.substr(0, slash)) && IsPlainName(rest.substr(slash + 1));
}

}  // namespace

bool KeepInRestore(const std::string& tag, const std::string& fileName, const std::string& versionCode) {
    if (tag == "[FONTS---]") return Extension(fileName) != ".ini";
    if (tag == "[QULAUNCH]")
        return !(UpperAscii(Extension(fileName)) == ".SCF" && (versionCode == "VISTA" || versionCode == "SEVEN"));
    static const char* const walked[] = {"[DESKTOP-]", "[WALLPAPE]", "[MYDOCS--]", "[PICTURES]", "[MYMUSIC-]",
                                         "[MYVIDEOS]", "[SHAREDOC]", "[FAVORITE]", "[WINMAIL-]", "[WAB-----]",
                                         "[THUNDER-]", "[OEXPRESS]", "[WINCAL--]", "[ADDDIR--]", "[FIREFOX-]"};
    for (const char* walkedTag : walked)
        if (tag == walkedTag) return true;
    return false;
}

const std::vector<std::string> FirefoxCompatibleFiles = {
    "blocklist.xml",         "localstore.rdf",        "mimeTypes.rdf",         "prefs.js",
    "search.rdf",            "key3.db",               "boormarks.html",        "boormarks.bak",
    "history.dat",           "signons.txt",           "cookies.txt",           "formhistory.dat",
    "cert8.db",              "cert_override.txt",     "secmod.db",             "downloads.rdf",
    "content-prefs.sqlite",  "cookies.sqlite",        "downloads.sqlite",      "extensions.log",
    "extensions.rdf",        "formhistory.sqlite",    "hostperm.1",            "indexfile.txt",
    "permissions.sqlite",    "places.sqlite",         "places.sqlite-journal", "search.sqlite",
    "signons2.txt",          "signons3.txt",          "signons4.txt",          "signons5.txt",
    "signons6.txt",          "signons7.txt",          "signons8.txt",          "signons9.txt",
    "urlclassifier2.sqlite", "urlclassifier3.sqlite", "urlclassifier4.sqlite", "urlclassifier5.sqlite",
    "urlclassifier6.sqlite", "urlclassifier7.sqlite", "urlclassifier8.sqlite", "urlclassifier9.sqlite",
    "urlclassifierkey3.txt", "webappsstore.sqlite"};
const std::vector<std::string> FirefoxCompatibleFolders = {"bookmarkbackups", "adblockplus", "extensions",
                                                           "OfflineCache"};
const std::vector<std::string> ThunderbirdCompatibleFolders = {"ImapMail", "Mail"};
const std::vector<std::string> ThunderbirdCompatibleFiles = {
    "localstore.rdf", "prefs.js",     "mimeTypes.rdf", "key3.db",     "mailViews.dat", "panacea.dat", "training.dat",
    "virtualFolders.dat", "abook.mab", "history.mab", "signons.txt", "downloads.rdf", "cert8.db",   "secmod.db"};

RecordCheck CheckRelativeRecord(const std::string& value) {
    if (value.empty()) return RecordCheck::Missing;
    return ClimbsOut(value) ? RecordCheck::Unsafe : RecordCheck::Usable;
}

RecordCheck CheckProfileRecord(const std::string& to, const std::string& profilesFolder, const std::string& name) {
    if (to.empty()) return RecordCheck::Missing;
    const std::string nameStep = "\\" + name;
    if (name.empty() || ClimbsOut(name) || to.size() <= profilesFolder.size() + nameStep.size() ||
        !SameTextIgnoringCase(to.substr(0, profilesFolder.size()), profilesFolder) ||
        !SameTextIgnoringCase(to.substr(to.size() - nameStep.size()), nameStep))
        return RecordCheck::Unsafe;
    const std::string folder = to.substr(profilesFolder.size(), to.size() - profilesFolder.size() - nameStep.size());
    return IsDriveFolder(folder) ? RecordCheck::Usable : RecordCheck::Unsafe;
}

std::string ProfileItemText(const std::string& name, const std::string& from, const std::string& defaultRoot) {
    return name + " (" + ReplaceTextIgnoreCase(from, "%Default%", defaultRoot) + ")";
}

std::vector<std::string> ExtraListItems(const win::IniFile& ini) {
    // The section is read once: a set of thousands of extra folders is a file of thousands of keys.
    std::vector<std::string> items;
    const win::IniSection from = ini.ReadSectionValues("FROM");
    for (size_t k = 1; k <= from.KeyCount(); ++k) {
        std::string value = from.Value(std::to_string(k), "");
        if (!value.empty()) items.push_back(std::move(value));
    }
    return items;
}
