// Next on the welcome page: where each category's data lives on this machine.
#include "categories/Detection.h"
#include <memory>
#include <utility>
#include <vector>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "categories/ProfilesIniText.h"
#include "win/Registry.h"

std::string ProfileFolder(const std::string& browserFolder, const std::string& isRelative, const std::string& path) {
    std::string folder = isRelative == "1" ? browserFolder + path : path;
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

std::string FoundProfileText(const std::string& name, const std::string& folder) {
    return "\"" + name + "\" (" + folder + ")";
}

std::string ExpandUserProfile(const std::string& storeRoot, const std::string& userProfile) {
    const std::string expanded = ReplaceTextIgnoreCase(storeRoot, "%USERPROFILE%", userProfile);
    // Without the profile folder the rest would name a place at the root of the current drive.
    if (userProfile.empty() && expanded != storeRoot) return "";
    return expanded;
}

std::string IdentityStoreFolder(const std::string& storeRoot, const std::string& userProfile) {
    return ReplaceTextIgnoreCase(ExpandUserProfile(storeRoot, userProfile), "\\Microsoft\\Outlook Express\\", "");
}

namespace {

const int kCsidlDesktop = 0, kCsidlPersonal = 5, kCsidlFavorites = 6, kCsidlMusic = 13, kCsidlVideos = 14,
          kCsidlFonts = 20, kCsidlAppData = 26, kCsidlLocalAppData = 28, kCsidlCommonAppData = 35,
          kCsidlPictures = 39, kCsidlProfile = 40, kCsidlCommonDocuments = 46;

// A path inside a special folder; empty when the shell does not know the folder, so that the
// rest alone never names a path on the current drive.
std::string InSpecialFolder(int csidl, const std::string& rest) {
    const std::string folder = GetSpecialFolderPath(csidl);
    return folder.empty() ? std::string() : folder + rest;
}

// Every registry read of detection opens its key read-only and closes it again.
std::string UserRegistryString(const std::string& key, const std::string& name) {
    win::RegistryKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) ? k.ReadString(name) : std::string();
}

void WriteIfFolder(ui::Edit& edit, const std::string& path) {
    if (FolderExists(path)) edit.SetText(path);
}

void WriteIfFile(ui::Edit& edit, const std::string& path) {
    if (FileExists(path)) edit.SetText(path);
}

// One browser's profiles.ini and the four index-parallel lists it fills.
struct ProfileGroup {
    const char* browserFolder;  // below the roaming application data folder, ending in "\"
    ui::ListBox& sections;
    ui::CheckListBox& names;
    ui::ListBox& bareNames;
    ui::ListBox& paths;
    std::unique_ptr<win::IniFile>& ini;
    ui::Picture& wrong;
};

void DetectProfiles(const ProfileGroup& group) {
    const std::string browserFolder = InSpecialFolder(kCsidlAppData, group.browserFolder);
    if (browserFolder.empty()) return;
    const std::string file = browserFolder + "profiles.ini";
    // Without the file the lists keep what an earlier Next found.
    if (!FileExists(file)) return;
    ResaveAsAnsi(file);
    group.sections.Clear();
    group.names.Clear();
    group.bareNames.Clear();
    group.paths.Clear();
    group.ini = std::make_unique<win::IniFile>(file);

    // Profiles in file order; [General] and the browsers' [Install...] sections are passed over
    // wherever they stand.
    for (const std::string& section : group.ini->ReadSections()) {
        const std::string path = group.ini->ReadString(section, "Path", "");
        if (!IsProfileSection(section, path)) continue;
        group.sections.AddItem(section);
        const std::string name = group.ini->ReadString(section, "Name", "");
        const std::string folder = ProfileFolder(browserFolder, group.ini->ReadString(section, "IsRelative", ""), path);
        const bool found = FolderExists(folder);
        group.names.AddItem(found ? FoundProfileText(name, folder) : name, found);
        group.bareNames.AddItem(name);
        group.paths.AddItem(folder);
    }
    if (group.names.Count() > 0) group.wrong.Hide();
}

}  // namespace

void TForm1::WelcomeNextClick() {
    PSTList.Clear();
    OEIdentitiesList.Clear();
    IdentitiesList.Clear();
    IdentitiesPaths.Clear();
    // The jobs' steps open on it whatever key they need.
    SharedRegistry.Close();

    // Folders the shell names; each write runs the edit's check when the text changes.
    const std::pair<int, ui::Edit*> shellFolders[] = {
        {kCsidlCommonDocuments, &SharedDocumentsPath}, {kCsidlPersonal, &MyDocumentsPath},
        {kCsidlPictures, &MyPicturesPath},             {kCsidlMusic, &MyMusicPath},
        {kCsidlVideos, &MyVideosPath},                 {kCsidlDesktop, &DesktopPath}};
    for (const auto& folder : shellFolders) WriteIfFolder(*folder.second, GetSpecialFolderPath(folder.first));

    if (FileExists(UserRegistryString("Control Panel\\Desktop", "Wallpaper"))) {
        DesktopWallPaper.SetEnabled(true);
        DesktopWallPaper.SetChecked(true);
    }

    // Windows 7 has no Quick Launch bar.
    if (WindowsVersionCode == "SEVEN")
        QuickLaunchPath.SetEnabled(false);
    else
        WriteIfFolder(QuickLaunchPath,
                      InSpecialFolder(kCsidlAppData, "\\Microsoft\\Internet Explorer\\Quick Launch"));

    WriteIfFolder(IEFavoritesPath, GetSpecialFolderPath(kCsidlFavorites));
    IEStartPage.SetChecked(win::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main"));

    const std::string userProfile = GetSpecialFolderPath(kCsidlProfile);
    if (WindowsVersionCode == "VISTA")
        WriteIfFolder(WindowsMailPath, InSpecialFolder(kCsidlLocalAppData, "\\Microsoft\\Windows Mail"));
    else
        WriteIfFolder(WindowsMailPath,
                      ExpandUserProfile(UserRegistryString("Software\\Microsoft\\Windows Live Mail", "Store Root"),
                                        userProfile));

    DetectProfiles({"\\Mozilla\\Firefox\\", FirefoxProfiles, FirefoxProfilesNames, FFProfilesNames,
                    FirefoxProfilesPaths, FirefoxProfilesIni, FirefoxProfileWrong});
    DetectProfiles({"\\Thunderbird\\", ThunderbirdProfiles, ThunderbirdProfilesNames, TBProfilesNames,
                    ThunderbirdProfilesPaths, ThunderbirdProfilesIni, ThunderbirdProfileWrong});

    if (WindowsVersionCode != "VISTA" && WindowsVersionCode != "SEVEN") DetectIdentities(userProfile);

    const std::string pst = InSpecialFolder(kCsidlLocalAppData, "\\Microsoft\\Outlook\\Outlook.pst");
    if (FileExists(pst)) {
        PSTList.AddItem(pst, true);
        PSTWrong.Hide();
    }

    SelectPSTDrive.Clear();
    SelectPSTDrive.AddItem(LanguageText("INTERFACE", "LocalHardDrives", "Local HDDS"));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) SelectPSTDrive.AddItem(root);
    }
    SelectPSTDrive.SetItemIndex(0);

    const std::string nk2 = InSpecialFolder(kCsidlAppData, "\\Microsoft\\Outlook\\Outlook.nk2");
    if (FileExists(nk2)) {
        OutlookNK2Path.SetText(nk2);
        OutlookNk2Wrong.Hide();
    }

    if (WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN")
        WriteIfFolder(WabPath, InSpecialFolder(kCsidlProfile, "\\Contacts"));
    else
        WriteIfFile(WabPath, UserRegistryString("Software\\Microsoft\\WAB\\WAB4\\Wab File Name", ""));

    WriteIfFolder(WindowsCalendarPath, InSpecialFolder(kCsidlLocalAppData, "\\Microsoft\\Windows Calendar"));
    WriteIfFolder(FontsPath, GetSpecialFolderPath(kCsidlFonts));
    WriteIfFile(RasPhonePath,
                InSpecialFolder(kCsidlCommonAppData, "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"));

    if (BackupData.Checked()) ApplyRememberedRefusals();
    ShowFirstWizardPage();
}

// Outlook Express identities. The three lists stay index-parallel: an identity without a store
// folder gets an empty path and stays unticked, and the backup passes it over.
void TForm1::DetectIdentities(const std::string& userProfile) {
    std::vector<std::string> names;
    win::RegistryKey identities;
    if (identities.Open(HKEY_CURRENT_USER, "Identities", KEY_READ)) names = identities.SubKeyNames();
    identities.Close();
    for (const std::string& name : names) IdentitiesList.AddItem(name);
    bool anyStore = false;
    for (const std::string& name : names) {
        const std::string key = "Identities\\" + name;
        const std::string userName = UserRegistryString(key, "Username");
        std::string store;
        win::RegistryKey express;
        if (express.Open(HKEY_CURRENT_USER, key + "\\Software\\Microsoft\\Outlook Express\\5.0", KEY_READ) &&
            express.ValueExists("Store Root"))
            store = IdentityStoreFolder(express.ReadString("Store Root"), userProfile);
        express.Close();
        IdentitiesPaths.AddItem(store);
        OEIdentitiesList.AddItem(userName, !store.empty());
        anyStore = anyStore || !store.empty();
    }
    if (anyStore) {
        IdentitiesWrong.Hide();
    } else {
        OEIdentitiesList.Clear();
        IdentitiesList.Clear();
        IdentitiesPaths.Clear();
    }
}

// Categories the user refused at the last backup stay unticked; only an exact "NO" counts.
void TForm1::ApplyRememberedRefusals() {
    const std::pair<const char*, ui::CheckBox*> choices[] = {
        {"BackupDesktop", &Desktop},
        {"BackupWallPaper", &DesktopWallPaper},
        {"BackupQuickLaunch", &Quicklaunch},
        {"BackupMyDocuments", &MyDocuments},
        {"BackupMyPictures", &MyPictures},
        {"BackupMyMusic", &MyMusic},
        {"BackupMyVideos", &MyVideos},
        {"BackupIEFavorites", &IEFavorites},
        {"BackupIEStartPage", &IEStartPage},
        {"BackupOutlookNK2", &OutlookNk2},
        {"BackupWindowsMail", &WindowsMail},
        {"BackupWab", &Wab},
        {"BackupSharedDocuments", &SharedDocuments},
        {"BackupFonts", &Fonts},
        {"BackupWindowsCalendar", &WindowsCalendar},
        {"BackupRasPhone", &Rasphone}};
    if (!SettingsIni) return;
    for (const auto& choice : choices)
        if (SettingsIni->ReadString("CONFIG", choice.first, "") == "NO") choice.second->SetChecked(false);
}
