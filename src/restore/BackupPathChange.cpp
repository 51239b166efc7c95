// The backup-set folder of the welcome page in restore mode: recognising the set and offering
// what it holds on the six restore pages.
#include <shlobj.h>
#include "app/AppState.h"
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreRules.h"
#include "ui/MessagePump.h"

namespace {

// A restore choice follows the set: offered and ticked when the set holds it, else neither.
void Offer(ui::CheckBox& box, bool inSet) {
    box.SetEnabled(inSet);
    box.SetChecked(inSet);
}

struct BrowserPage {
    const char* archiveFolder;  // below the set
    const char* profilesRoot;   // below the application data folder
    std::unique_ptr<win::IniFile>& archiveIni;
    ui::ListBox& names;
    ui::CheckListBox& profiles;
    ui::ComboBox& mode;
    ui::Label& label;
};

// The set's profiles of one browser, each ticked, with the folder it came from.
void OfferProfiles(const std::string& root, const BrowserPage& page) {
    const bool inSet = FolderExists(root + page.archiveFolder);
    if (inSet) {
        page.archiveIni = std::make_unique<win::IniFile>(root + page.archiveFolder + "\\Profiles\\Profiles.ini");
        const std::string defaultRoot = GetSpecialFolderPath(CSIDL_APPDATA) + page.profilesRoot;
        for (const std::string& name : page.archiveIni->ReadSections()) {
            page.names.AddItem(name);
            page.profiles.AddItem(ProfileItemText(name, page.archiveIni->ReadString(name, "From", ""), defaultRoot),
                                  true);
        }
    }
    // Both follow every new set, so a set without profiles never keeps an earlier set's look.
    page.mode.SetVisible(inSet);
    page.label.SetEnabled(inSet);
}

struct ExtraPage {
    const char* dataFolder;  // below the set: its presence offers the list
    const char* iniFile;     // below the set
    std::unique_ptr<win::IniFile>& ini;
    ui::CheckListBox& list;
    ui::RadioButton& origin;
    ui::RadioButton& other;
    ui::PathEdit& folder;
};

// The set's extra files or folders, each ticked, and their destination controls.
void OfferExtras(const std::string& root, const ExtraPage& page) {
    page.list.Clear();
    const bool inSet = FolderExists(root + page.dataFolder);
    if (inSet) {
        page.ini = std::make_unique<win::IniFile>(root + page.iniFile);
        for (const std::string& item : ExtraListItems(*page.ini)) page.list.AddItem(item, true);
    }
    page.origin.SetEnabled(inSet);
    page.other.SetEnabled(inSet);
    // The folder edit stays tied to its radio.
    page.folder.SetEnabled(inSet && page.other.Checked());
}

// A backup-set folder is being recognised; the window is the program's only main window.
bool recognisingBackupSet = false;

bool OnVistaOrSeven() { return WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN"; }

}  // namespace

void TForm1::BackupPathChange() {
    // Listing the set's Outlook data files pumps messages, so the user types on meanwhile. Such a
    // change is not handled inside this one, which would then finish with the earlier text and
    // leave its set on the pages: it is taken up here once the set in hand is done.
    ui::ReentryGuard guard(recognisingBackupSet);
    if (!guard.Entered()) return;
    WelcomeNext.Repaint();
    WelcomeQuit.Repaint();
    std::string handled;
    do {
        handled = BackupPath.Text();
        const std::string root = ExcludeTrailingBackslash(handled);
        if (!FolderExists(root)) {
            ShowBackupSetTest(false);
            // The simple restore choices and the browser labels; the lists keep what they hold.
            ui::Control* const choices[] = {&RestoreMyDocuments, &RestoreMyPictures,  &RestoreMyMusic,
                                            &RestoreMyVideos,    &RestoreQuickLaunch, &RestoreDesktop,
                                            &RestoreWallPaper,   &RestoreSharedDocs,  &RestoreIEFavorites,
                                            &RestoreIEStartPage, &RestoreWindowsMail, &RestoreNK2,
                                            &RestoreWab,         &RestoreWindowsCalendar, &RestoreFonts,
                                            &RestoreRasPhone,    &RestoreFirefox,     &RestoreThunderbird};
            for (ui::Control* c : choices) c->SetEnabled(false);
        } else {
            RestoreFFProfilesNames.Clear();
            RestoreFirefoxProfilesNames.Clear();
            RestoreTBProfilesNames.Clear();
            RestoreThunderbirdProfilesNames.Clear();
            const bool recognised = IsBackupSet(root);
            ShowBackupSetTest(recognised);
            if (recognised) OfferBackupSet(root);
        }
    } while (BackupPath.Text() != handled);
    // The window has no clipped children: its own background would cover the page's controls
    // unless they are painted again after it.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TForm1::OfferBackupSet(const std::string& root) {
    const struct {
        ui::CheckBox& box;
        const char* path;
        bool isFile;
    } simple[] = {
        {RestoreMyDocuments, "\\Archive\\Documents", false},
        {RestoreMyPictures, "\\Archive\\Pictures", false},
        {RestoreMyMusic, "\\Archive\\Music", false},
        {RestoreMyVideos, "\\Archive\\Videos", false},
        {RestoreQuickLaunch, "\\Archive\\QuickLaunch", false},
        {RestoreDesktop, "\\Archive\\Desktop", false},
        {RestoreWallPaper, "\\Archive\\WallPaper\\File", false},
        {RestoreSharedDocs, "\\Archive\\SharedDocs", false},
        {RestoreIEFavorites, "\\Archive\\Internet Explorer\\Favorites", false},
        {RestoreIEStartPage, "\\Archive\\Internet Explorer\\IEStartPage.ini", true},
    };
    for (const auto& s : simple) Offer(s.box, s.isFile ? FileExists(root + s.path) : FolderExists(root + s.path));

    OfferProfiles(root, {"\\Archive\\Firefox", "\\Mozilla\\Firefox\\Profiles", FirefoxArchiveIni,
                         RestoreFFProfilesNames, RestoreFirefoxProfilesNames, FirefoxRestoreMode, RestoreFirefox});
    OfferProfiles(root, {"\\Archive\\Thunderbird", "\\Thunderbird\\Profiles", ThunderbirdArchiveIni,
                         RestoreTBProfilesNames, RestoreThunderbirdProfilesNames, ThunderbirdRestoreMode,
                         RestoreThunderbird});

    // Windows Live Mail: only where its program is installed, into its own store folder.
    const std::string programFiles = GetSpecialFolderPath(CSIDL_PROGRAM_FILES);
    const bool liveMail = FolderExists(root + "\\Archive\\WindowsMail") && !programFiles.empty() &&
                          FileExists(programFiles + "\\Windows Live\\Mail\\wlmail.exe");
    Offer(RestoreWindowsMail, liveMail);
    if (liveMail) {
        const std::string store = GetSpecialFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows Live Mail";
        ForceDirectories(store);
        WindowsMailPath.SetText(store);
    }

    restoreOEIdentitiesList.Clear();
    if (FolderExists(root + "\\Archive\\OutlookExpress\\Identities")) {
        IdentitiesIni = std::make_unique<win::IniFile>(root + "\\Archive\\OutlookExpress\\Identities.ini");
        for (const std::string& identity : IdentitiesIni->ReadSections()) restoreOEIdentitiesList.AddItem(identity, true);
    }
    // Identities are not restored on Vista and 7: the list shows what the set holds, greyed, with
    // the red note beside it.
    RestoreOEVista.SetVisible(OnVistaOrSeven());
    restoreOEIdentitiesList.SetEnabled(!OnVistaOrSeven());

    RestoreOutlookPSTList.Clear();
    if (FolderExists(root + "\\Archive\\OutlookPST")) {
        RestoreSearch.Dossier = root + "\\Archive\\OutlookPST";
        RestoreSearch.Filtre = "*.pst";
        RestoreSearch.Execute();
    }

    Offer(RestoreNK2, FolderExists(root + "\\Archive\\OutlookNk2"));
    Offer(RestoreWab, FolderExists(root + "\\Archive\\AdressBook"));
    // Windows 7 has no Windows Calendar to restore into.
    Offer(RestoreWindowsCalendar, FolderExists(root + "\\Archive\\WindowsCalendar") && WindowsVersionCode != "SEVEN");
    Offer(RestoreFonts, FolderExists(root + "\\Archive\\Fonts"));
    Offer(RestoreRasPhone, FileExists(root + "\\Archive\\Rasphone\\Rasphone.pbk"));

    OfferExtras(root, {"\\Archive\\AdditionalFolders\\Data", "\\Archive\\AdditionalFolders\\Folders.ini",
                       AdditionalFoldersIni, RestoreAdditionalDirectoriesList, RestoreFoldersOrigin, RestoreFoldersOther,
                       RestoreFoldersDirectory});
    OfferExtras(root, {"\\Archive\\AdditionalFiles", "\\Archive\\AdditionalFiles\\Files.ini", AdditionalFilesIni,
                       restoreAdditionalFilesList, RestoreFilesOrigin, RestoreFilesOther, RestoreFilesDirectory});
}
