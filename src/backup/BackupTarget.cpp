// Where each work-list entry's copy lies in the backup set.
#include "backup/BackupTarget.h"
#include <utility>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/SetLayout.h"

std::string AsWindowsReadsIt(const std::string& typed) {
    // A relative text would be read from whatever folder is current.
    const bool full = (typed.size() >= 3 && typed[1] == ':' && (typed[2] == '\\' || typed[2] == '/')) ||
                      typed.rfind("\\\\", 0) == 0;
    const std::string read = full ? FullPathName(typed) : std::string();
    return read.empty() ? typed : read;
}

std::string BackupSetRoot(const std::string& storageText, const std::string& subFolderSuffix) {
    // The copy step refuses names that Windows reads otherwise than they are written; that is
    // for the names the walks list, not for the folder the user typed.
    // "C:\." reads as the root "C:\", which takes no further backslash either.
    return ExcludeTrailingBackslash(AsWindowsReadsIt(ExcludeTrailingBackslash(storageText) + subFolderSuffix));
}

std::string ReplaceSourceRoot(const std::string& entry, const std::string& tag, const std::string& sourceRoot,
                              const std::string& replacement) {
    if (sourceRoot.empty()) return "";
    const std::string head = tag + sourceRoot;
    if (entry.size() < head.size() || UpperAscii(entry.substr(0, head.size())) != UpperAscii(head)) return "";
    // C:\Docs heads C:\Docs\a.txt, not C:\Docs2\a.txt.
    if (entry.size() > head.size() && entry[head.size()] != '\\') return "";
    return replacement + entry.substr(head.size());
}

int ProfileHolding(const std::string& source, const std::vector<std::string>& profileFolders) {
    int holding = -1;
    for (size_t k = 0; k < profileFolders.size(); ++k) {
        const std::string& folder = profileFolders[k];
        if (folder.empty() || source.compare(0, folder.size(), folder) != 0) continue;
        // ...\abcd.default does not hold ...\abcd.default-1\prefs.js.
        if (EndsWithBackslash(folder) || source.size() == folder.size() || source[folder.size()] == '\\')
            holding = static_cast<int>(k);
    }
    return holding;
}

std::string ProfileTarget(const std::string& entry, const std::string& tag, const std::string& source,
                          const std::string& profileFolder, const std::string& profileName,
                          const std::string& profilesFolder) {
    std::string name = profileName;
    for (char& c : name)
        if (c == '/') c = '\\';
    const std::string drive = DriveFolder(source);
    if (drive.empty() || ClimbsOut(name)) return "";
    return ReplaceSourceRoot(entry, tag, ExcludeTrailingBackslash(profileFolder), profilesFolder + drive + "\\" + name);
}

std::string IdentityTarget(const std::string& entry, const std::string& identitiesFolder) {
    const size_t brace = FirstDelimiter("{", entry);
    if (brace == std::string::npos) return "";
    // Everything after the key's brace: a further "{" below it keeps distinct files apart.
    return identitiesFolder + "\\{" + entry.substr(brace + 1);
}

std::string ExtraTarget(const std::string& source, const std::string& dataFolder) {
    const std::string saved = SavedPath(source);
    return saved.empty() ? std::string() : dataFolder + "\\" + saved;
}

std::string ArchiveFolderOf(const std::string& tag) {
    static const std::pair<const char*, const char*> kFolders[] = {
        {"[MYDOCS--]", "Documents"},      {"[PICTURES]", "Pictures"},          {"[MYMUSIC-]", "Music"},
        {"[MYVIDEOS]", "Videos"},         {"[DESKTOP-]", "Desktop"},           {"[QULAUNCH]", "QuickLaunch"},
        {"[WALLPAPE]", "WallPaper"},      {"[SHAREDOC]", "SharedDocs"},        {"[FAVORITE]", "Internet Explorer"},
        {"[FIREFOX-]", "Firefox"},        {"[WINMAIL-]", "WindowsMail"},       {"[THUNDER-]", "Thunderbird"},
        {"[OEXPRESS]", "OutlookExpress"}, {"[OUTLOOK-]", "OutlookPST"},        {"[OUTLKNK2]", "OutlookNk2"},
        {"[WAB-----]", "AdressBook"},     {"[WINCAL--]", "WindowsCalendar"},   {"[FONTS---]", "Fonts"},
        {"[RASPHONE]", "Rasphone"},       {"[ADDFILES]", "AdditionalFiles"},   {"[ADDDIR--]", "AdditionalFolders"},
    };
    for (const auto& folder : kFolders)
        if (tag == folder.first) return folder.second;
    return "";
}

namespace {

// The categories whose copies mirror one folder (or one file) of this machine.
struct RootRule {
    const char* tag;
    ui::PathEdit TForm1::*edit;
    const char* folder;     // below the set's root
    const char* fixedName;  // single files: the copy's own name, whatever the source is called
};

const RootRule kRootRules[] = {
    {"[MYDOCS--]", &TForm1::MyDocumentsPath, "\\Archive\\Documents", ""},
    {"[PICTURES]", &TForm1::MyPicturesPath, "\\Archive\\Pictures", ""},
    {"[MYMUSIC-]", &TForm1::MyMusicPath, "\\Archive\\Music", ""},
    {"[MYVIDEOS]", &TForm1::MyVideosPath, "\\Archive\\Videos", ""},
    {"[DESKTOP-]", &TForm1::DesktopPath, "\\Archive\\Desktop", ""},
    {"[QULAUNCH]", &TForm1::QuickLaunchPath, "\\Archive\\QuickLaunch", ""},
    {"[SHAREDOC]", &TForm1::SharedDocumentsPath, "\\Archive\\SharedDocs", ""},
    {"[FAVORITE]", &TForm1::IEFavoritesPath, "\\Archive\\Internet Explorer\\Favorites", ""},
    {"[WINMAIL-]", &TForm1::WindowsMailPath, "\\Archive\\WindowsMail", ""},
    {"[OUTLKNK2]", &TForm1::OutlookNK2Path, "\\Archive\\OutlookNk2", "\\Outlook.nk2"},
    {"[WINCAL--]", &TForm1::WindowsCalendarPath, "\\Archive\\WindowsCalendar", ""},
    {"[FONTS---]", &TForm1::FontsPath, "\\Archive\\Fonts", ""},
    {"[RASPHONE]", &TForm1::RasPhonePath, "\\Archive\\Rasphone", "\\Rasphone.pbk"},
};

std::string RootRuleTarget(const std::string& entry, const std::string& tag, const std::string& sourceRoot,
                           const std::string& folder, const std::string& fixedName) {
    const std::string target = ReplaceSourceRoot(entry, tag, ExcludeTrailingBackslash(sourceRoot), folder);
    return target.empty() ? target : target + fixedName;
}

// The wallpaper's folder, read anew from the registry for every entry.
std::string WallpaperFolder() {
    SharedRegistry.Close();
    if (!SharedRegistry.Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ)) return "";
    return ParentFolder(SharedRegistry.ReadString("Wallpaper"));
}

std::string BrowserProfileTarget(const std::string& entry, const std::string& tag, const std::string& source,
                                 const ui::ListBox& folders, const ui::ListBox& sections,
                                 const win::IniFile* profilesIni, const std::string& profilesFolder) {
    const int k = ProfileHolding(source, folders.Items());
    if (k < 0) return "";
    const std::string name = profilesIni ? profilesIni->ReadString(sections.Item(k), "Name", "") : "";
    return ProfileTarget(entry, tag, source, folders.Item(k), name, profilesFolder);
}

}  // namespace

bool TForm1::MapBackupTarget(const std::string& tag, const std::string& source, const std::string& entry,
                             std::string& destination) {
    const std::string root = BackupSetRoot(StoragePath.Text(), BackupSubFolderSuffix);
    destination.clear();
    for (const RootRule& rule : kRootRules) {
        if (tag == rule.tag)
            destination = RootRuleTarget(entry, tag, (this->*rule.edit).Text(), root + rule.folder, rule.fixedName);
    }
    if (tag == "[WAB-----]") {
        const bool contactsFolder = WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN";
        destination = RootRuleTarget(entry, tag, WabPath.Text(), root + "\\Archive\\AdressBook",
                                     contactsFolder ? "" : "\\AddressBook.wab");
    }
    if (tag == "[WALLPAPE]")
        destination = RootRuleTarget(entry, tag, WallpaperFolder(), root + "\\Archive\\WallPaper\\File", "");
    if (tag == "[OUTLOOK-]") {
        // Every data file lands in one folder under its own name; the copy step numbers clashes.
        destination = RootRuleTarget(entry, tag, ParentFolder(source), root + "\\Archive\\OutlookPST", "");
    }
    if (tag == "[FIREFOX-]")
        destination = BrowserProfileTarget(entry, tag, source, FirefoxProfilesPaths, FirefoxProfiles,
                                           FirefoxProfilesIni.get(), root + "\\Archive\\Firefox\\Profiles\\");
    if (tag == "[THUNDER-]")
        destination = BrowserProfileTarget(entry, tag, source, ThunderbirdProfilesPaths, ThunderbirdProfiles,
                                           ThunderbirdProfilesIni.get(), root + "\\Archive\\Thunderbird\\Profiles\\");
    if (tag == "[OEXPRESS]") destination = IdentityTarget(entry, root + "\\Archive\\OutlookExpress\\Identities");
    if (tag == "[ADDFILES]") destination = ExtraTarget(source, root + "\\Archive\\AdditionalFiles\\Data");
    if (tag == "[ADDDIR--]") destination = ExtraTarget(source, root + "\\Archive\\AdditionalFolders\\Data");
    return !destination.empty();
}
