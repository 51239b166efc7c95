// Launch on the last backup page: the backup job, from the listing of the chosen data on.
#include <algorithm>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "app/Form2.h"
#include "backup/BackupJob.h"
#include "backup/BackupSetFiles.h"
#include "backup/BackupTarget.h"
#include "categories/StorageExclusion.h"
#include "categories/WalkReports.h"
#include "ui/Dialogs.h"
#include "ui/MessagePump.h"

std::vector<bool> ExtraFoldersLeftOut;
std::vector<bool> ExtraFilesLeftOut;

namespace {
bool backupRunning = false;
// What the listing left out of the backup on purpose (the storage folder and its backup sets),
// told on the job panel as information once it shows.
std::vector<std::string> listingNotes;
// The user's own folders that the set, written straight into the storage folder, would write
// into: the job writes nothing then.
std::vector<std::string> usersFoldersTaken;
// The browser profiles that the listing walked (browser, item index): the job records them in
// the set once it passes its checks.
std::vector<std::pair<TForm1::Browser, int>> profileOrigins;

// Whatever way the job ends, nothing of its listing outlives it.
class JobListingState {
public:
    JobListingState() = default;
    ~JobListingState() {
        ExtraFoldersLeftOut.clear();
        ExtraFilesLeftOut.clear();
        listingNotes.clear();
        usersFoldersTaken.clear();
        profileOrigins.clear();
    }
    JobListingState(const JobListingState&) = delete;
    JobListingState& operator=(const JobListingState&) = delete;
};

// Stops the job before it writes anything into the storage folder, with a message box that
// names the user's folders the set would be written into and what the user can do instead.
void StopForUsersFolders(TForm1& form) {
    std::string text = LanguageText("MESSAGES", "SetWouldTakeYourFolder",
                                    "Nothing was backed up: the backup set would be written into your own folder") +
                       ":";
    for (const std::string& folder : usersFoldersTaken) text += "\n\"" + folder + "\"";
    text += "\n" + LanguageText("MESSAGES", "ChooseSubFolderOrOther",
                                "Tick \"Backup in subfolder\" or choose another storage folder.");
    ui::ShowMessage(form.hwnd(), text);
    // No panel will show them.
    PendingJobErrors.clear();
    PendingJobWarnings.clear();
}

void RecordProfileOrigins(TForm1& form) {
    for (const TForm1::Browser browser : {TForm1::Browser::Firefox, TForm1::Browser::Thunderbird})
        form.PrepareProfileOrigins(browser);
    for (const auto& origin : profileOrigins) form.RecordProfileOrigin(origin.first, origin.second);
}

}  // namespace

void TForm1::LaunchClick() {
    // The job pumps messages; a Launch that reaches it meanwhile (Cancel, Yes, Previous and
    // Launch while the job winds down) would run a second job inside this one.
    ui::ReentryGuard guard(backupRunning);
    if (!guard.Entered()) return;
    const JobListingState listingState;
    // Nothing is written into the storage folder before the checks: the listing only reads.
    ListBackupFiles(*this);
    // With nothing listed the job stops at its own check.
    if (CopyList.Count() > 0 && !usersFoldersTaken.empty()) {
        StopForUsersFolders(*this);
        return;
    }
    if (!StartBackupCopy(*this)) return;
    for (const std::string& note : listingNotes) LogInfo(note);
    BeginBackupSetLog(*this);
    RecordProfileOrigins(*this);
    CopyBackupEntries(*this);
    BackupPostSteps();
    FinishBackupJob();
}

namespace {

std::string Quoted(const char* key, const char* def, const std::string& path) {
    return LanguageText("MESSAGES", key, def) + ": \"" + path + "\"";
}

// The please-wait window in place of the main window for as long as the listing runs, and the
// walker's reports (unreadable folders, names of others, loops) collected meanwhile.
class ListingScope {
public:
    explicit ListingScope(TForm1& form) : form_(form), reports_(form.Search) {
        if (Form2) Form2->Show();
        form_.Hide();
    }
    ~ListingScope() {
        if (Form2) Form2->Hide();
        form_.Show();
    }
    ListingScope(const ListingScope&) = delete;
    ListingScope& operator=(const ListingScope&) = delete;

private:
    TForm1& form_;
    WalkReports reports_;
};

class Listing {
public:
    explicit Listing(TForm1& form)
        : f_(form),
          storage_(form.StoragePath.Text()),
          usersFolders_(BackupSubFolderSuffix.empty() ? storage_.UsersSetNamedFolders() : std::vector<std::string>()) {}
    void Run();

private:
    // The please-wait window's second line: "Processing : " and the category.
    void Show(const char* key, const char* def);
    // Whether a chosen folder can be walked: one missing now, or one that lies in a backup set,
    // is an error line naming it instead. start: what the walk would find at its start.
    bool Walkable(const std::string& folder, TScruteDossier::TStartFolder& start);
    // The walk itself, passing over the storage folder and the backup sets in it.
    void WalkFolder(const std::string& folder);
    // Both; false when the folder was not walked. An empty text walks nothing and says nothing.
    bool Walk(const std::string& folder);
    // Whether a chosen file or folder goes into the list: one that lies in a backup set is an
    // error line instead.
    bool Listable(const std::string& path);
    void Add(const std::string& path) { f_.CopyList.AddItem(CurrentTag + path); }
    void Remember(const char* key, const std::string& value);
    void Remember(const char* key, const ui::CheckBox& box) { Remember(key, box.Checked() ? "YES" : "NO"); }
    // A category whose folder is walked when it is ticked and the folder exists; a ticked one
    // whose folder is missing gets an error line.
    void FolderRow(const ui::CheckBox& box, const ui::PathEdit& edit, const char* tag, const char* key,
                   const char* def, const char* setting);
    // A category of one file, listed as its edit names it when it is ticked and the file exists;
    // a ticked one whose file is missing gets an error line.
    void FileRow(const ui::CheckBox& box, const ui::PathEdit& edit, const char* tag, const char* key,
                 const char* def, const char* setting);
    void WallpaperRow();
    void ProfileRows(TForm1::Browser browser, const ui::CheckListBox& names, const ui::ListBox& folders,
                     const char* tag, const char* key, const char* def);
    void IdentityRows();
    void OutlookDataFileRows();
    void AddressBookRow();
    void ExtraRows();
    // The user's own folder of the storage folder's Archive that the set's folder name (the
    // spelling of the set) would go into; empty when none.
    std::string UsersFolderNamed(const std::string& setFolder) const;
    // The user's folders that this backup's set would write into: the folders of the listed
    // categories' copies and those of the set's records.
    std::vector<std::string> UsersFoldersTaken() const;

    TForm1& f_;
    StorageExclusion storage_;
    const std::vector<std::string> usersFolders_;
};

bool AnyChecked(const ui::CheckListBox& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Checked(i)) return true;
    return false;
}

void Listing::Show(const char* key, const char* def) {
    if (!Form2) return;
    Form2->Label2.SetText(LanguageText("MESSAGES", "Processing", "Processing") + " : " +
                         LanguageText("INTERFACE", key, def));
    Form2->Repaint();
}

bool Listing::Walkable(const std::string& folder, TScruteDossier::TStartFolder& start) {
    // An empty text would walk the root of the current drive.
    if (folder.empty()) return false;
    // The walk of a missing folder finds nothing and says nothing: a stick pulled, a folder
    // renamed since it was chosen, a name the folder dialog could only best-fit.
    start = TScruteDossier::StartFolder(folder);
    if (start == TScruteDossier::TStartFolder::Missing) {
        PendingJobErrors.push_back(Quoted("FolderNotFound", "Folder not found", folder));
        return false;
    }
    return Listable(folder);
}

void Listing::WalkFolder(const std::string& folder) {
    f_.Search.Filtre = "*.*";
    f_.Search.Dossier = folder;
    storage_.BeginWalk(folder, true);
    if (!storage_.Active()) {
        f_.Search.Execute();
        return;
    }
    // Only a walk that meets the storage folder pays for the test, once per folder.
    const TScruteEvent perFile = f_.Search.OnFichier;
    f_.Search.OnDossierExclu = [this](TScruteDossier*, const std::string& parent, const std::string& name) {
        const PassOverReason reason = storage_.Reason(parent, name);
        const std::string folder = parent + "\\" + name;
        if (reason == PassOverReason::Storage)
            listingNotes.push_back(Quoted("BackupLocationLeftOut", "Backup location left out of the backup", folder));
        else if (reason == PassOverReason::BackupSet)
            listingNotes.push_back(Quoted("BackupSetLeftOut", "Backup set left out of the backup", folder));
        return reason != PassOverReason::None;
    };
    // The storage folder walked itself may hold the log of a set written straight into it.
    if (storage_.PassesOverFiles())
        f_.Search.OnFichier = [this, &perFile](TScruteDossier* sender, std::string nom) {
            if (!storage_.PassOverFile(nom)) {
                if (perFile) perFile(sender, std::move(nom));
                return;
            }
            listingNotes.push_back(Quoted("BackupSetLeftOut", "Backup set left out of the backup", nom));
        };
    f_.Search.Execute();
    f_.Search.OnFichier = perFile;
    f_.Search.OnDossierExclu = nullptr;
}

bool Listing::Walk(const std::string& folder) {
    TScruteDossier::TStartFolder start;
    if (!Walkable(folder, start)) return false;
    WalkFolder(folder);
    return true;
}

bool Listing::Listable(const std::string& path) {
    if (storage_.PlaceOf(path) != StoragePlace::InBackupSet) return true;
    PendingJobErrors.push_back(Quoted("InBackupSet", "Lies in a backup set, not backed up", path));
    return false;
}

void Listing::Remember(const char* key, const std::string& value) {
    // Settings that cannot be written anywhere are one warning of the job, not one error per
    // key: the backup itself does not suffer, and the user can do nothing about each key.
    if (SettingsIni && !WriteSetting(key, value))
        AddPendingJobWarning(LanguageText("MESSAGES", "SettingsNotSaved", "Could not save the settings") + ": \"" +
                             SettingsIni->FileName() + "\"");
}

void Listing::FolderRow(const ui::CheckBox& box, const ui::PathEdit& edit, const char* tag, const char* key,
                        const char* def, const char* setting) {
    TScruteDossier::TStartFolder start;
    if (box.Checked() && Walkable(edit.Text(), start)) {
        CurrentTag = tag;
        Show(key, def);
        WalkFolder(edit.Text());
    }
    Remember(setting, box);
}

void Listing::FileRow(const ui::CheckBox& box, const ui::PathEdit& edit, const char* tag, const char* key,
                      const char* def, const char* setting) {
    if (box.Checked() && FileExists(edit.Text())) {
        CurrentTag = tag;
        Show(key, def);
        Add(edit.Text());
    } else if (box.Checked() && !edit.Text().empty()) {
        PendingJobErrors.push_back(Quoted("FileNotFound", "File not found", edit.Text()));
    }
    Remember(setting, box);
}

void Listing::WallpaperRow() {
    if (f_.DesktopWallPaper.Checked()) {
        SharedRegistry.Close();
        const std::string wallpaper = SharedRegistry.Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ)
                                          ? SharedRegistry.ReadString("WallPaper")
                                          : std::string();
        if (FileExists(wallpaper)) {
            CurrentTag = "[WALLPAPE]";
            Show("Desktop Wallpaper", "Desktop wallpaper");
            Add(wallpaper);
        } else if (!wallpaper.empty()) {
            PendingJobErrors.push_back(Quoted("FileNotFound", "File not found", wallpaper));
        }
    }
    Remember("BackupWallPaper", f_.DesktopWallPaper);
}

void Listing::ProfileRows(TForm1::Browser browser, const ui::CheckListBox& names, const ui::ListBox& folders,
                          const char* tag, const char* key, const char* def) {
    if (!AnyChecked(names)) return;
    CurrentTag = tag;
    Show(key, def);
    for (int i = 0; i < names.Count(); ++i) {
        if (!names.Checked(i)) continue;
        const std::string folder = folders.Item(i);
        // A folder that cannot be listed gets no record in the set, only the walk's report; nor
        // does a missing one, which gets its error line.
        TScruteDossier::TStartFolder start;
        if (!Walkable(folder, start)) continue;
        if (start == TScruteDossier::TStartFolder::Listable) profileOrigins.emplace_back(browser, i);
        WalkFolder(folder);
    }
}

void Listing::IdentityRows() {
    if (!AnyChecked(f_.OEIdentitiesList)) return;
    CurrentTag = "[OEXPRESS]";
    Show("OutlookExpressIdentities", "Outlook Express Identities");
    // IdentitiesPaths runs parallel to the check list; an identity without a store has an empty item.
    for (int i = 0; i < f_.OEIdentitiesList.Count(); ++i)
        if (f_.OEIdentitiesList.Checked(i)) Walk(f_.IdentitiesPaths.Item(i));
}

void Listing::OutlookDataFileRows() {
    if (!AnyChecked(f_.PSTList)) return;
    CurrentTag = "[OUTLOOK-]";
    Show("OutlookPSTFiles", "Outlook personal data files");
    for (int i = 0; i < f_.PSTList.Count(); ++i)
        if (f_.PSTList.Checked(i) && Listable(f_.PSTList.Item(i))) Add(f_.PSTList.Item(i));
}

void Listing::AddressBookRow() {
    if (f_.Wab.Checked()) {
        CurrentTag = "[WAB-----]";
        Show("WindowsAddressBook", "Windows Address Book");
        // Vista and 7 keep a Contacts folder, older versions one address-book file.
        if (WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN")
            Walk(f_.WabPath.Text());
        else if (FileExists(f_.WabPath.Text()))
            Add(f_.WabPath.Text());
        else if (!f_.WabPath.Text().empty())
            PendingJobErrors.push_back(Quoted("FileNotFound", "File not found", f_.WabPath.Text()));
    }
    Remember("BackupWab", f_.Wab);
}

void Listing::ExtraRows() {
    if (f_.AdditionalFilesList.Count() > 0) {
        CurrentTag = "[ADDFILES]";
        Show("AdditionalFiles", "Additional files");
        const std::vector<std::string> files = f_.AdditionalFilesList.Items();
        ExtraFilesLeftOut.assign(files.size(), false);
        for (size_t i = 0; i < files.size(); ++i) {
            // One gone since it was added is told now and not copied; it keeps its key all the
            // same (the copy loop writes it), as does one the listing leaves out otherwise.
            const bool gone = !FileExists(files[i]);
            if (gone) PendingJobErrors.push_back(Quoted("FileNotFound", "File not found", files[i]));
            if (!gone && Listable(files[i]))
                Add(files[i]);
            else
                ExtraFilesLeftOut[i] = true;
        }
    }
    if (f_.AdditionalDirectoriesList.Count() > 0) {
        CurrentTag = "[ADDDIR--]";
        Show("AdditionalFolders", "Additional folders");
        const std::vector<std::string> folders = f_.AdditionalDirectoriesList.Items();
        ExtraFoldersLeftOut.assign(folders.size(), false);
        for (size_t i = 0; i < folders.size(); ++i) ExtraFoldersLeftOut[i] = !Walk(folders[i]);
    }
}

// The tags of the work list, in order. A category's entries lie together and no tag comes back
// after another, so each block's end is found by halving: a few reads per category, none per file.
std::vector<std::string> ListedTags(const ui::ListBox& list) {
    constexpr size_t kTagLength = 10;
    std::vector<std::string> tags;
    const int count = list.Count();
    for (int first = 0; first < count;) {
        const std::string tag = list.Item(first).substr(0, kTagLength);
        int low = first + 1, high = count;  // the block ends at neither before low nor after high
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (list.Item(middle).compare(0, kTagLength, tag) == 0)
                low = middle + 1;
            else
                high = middle;
        }
        tags.push_back(tag);
        first = low;
    }
    return tags;
}

std::string Listing::UsersFolderNamed(const std::string& setFolder) const {
    for (const std::string& own : usersFolders_)
        if (!setFolder.empty() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, own.c_str(), -1,
                                                 setFolder.c_str(), -1) == CSTR_EQUAL)
            return own;
    return "";
}

std::vector<std::string> Listing::UsersFoldersTaken() const {
    std::vector<std::string> taken;
    if (usersFolders_.empty()) return taken;
    std::vector<std::string> written;
    for (const std::string& tag : ListedTags(f_.CopyList)) written.push_back(ArchiveFolderOf(tag));
    for (const std::string& record : SetRecordArchiveFolders(f_)) written.push_back(record);
    const std::string archive = BackupSetRoot(f_.StoragePath.Text(), BackupSubFolderSuffix) + "\\Archive\\";
    for (const std::string& setFolder : written) {
        const std::string own = UsersFolderNamed(setFolder);
        const std::string path = archive + own;
        if (!own.empty() && std::find(taken.begin(), taken.end(), path) == taken.end()) taken.push_back(path);
    }
    return taken;
}

void Listing::Run() {
    if (Form2) {
        Form2->Label1.SetText(LanguageText("MESSAGES", "CleaningList", "Cleaning files list"));
        Form2->Label2.SetText(LanguageText("INTERFACE", "PleaseWait", "Please wait"));
    }
    ui::PumpMessages();
    f_.CopyList.Clear();
    ui::PumpMessages();
    f_.Search.Filtre = "*.*";
    if (Form2) Form2->Label1.SetText(LanguageText("MESSAGES", "ListingFilesToCopy", "Listing files to copy"));
    Remember("LastBackupFolder", ExcludeTrailingBackslash(f_.StoragePath.Text()));
    Remember("BackupInSubFolder", f_.BackupInSubFolder);

    FolderRow(f_.MyDocuments, f_.MyDocumentsPath, "[MYDOCS--]", "MyDocuments", "My Documents", "BackupMyDocuments");
    FolderRow(f_.Desktop, f_.DesktopPath, "[DESKTOP-]", "Desktop", "Desktop", "BackupDesktop");
    WallpaperRow();
    FolderRow(f_.Quicklaunch, f_.QuickLaunchPath, "[QULAUNCH]", "QuickLaunch", "QuickLaunch toolbar shortcuts",
              "BackupQuickLaunch");
    FolderRow(f_.MyPictures, f_.MyPicturesPath, "[PICTURES]", "MyPictures", "My Pictures", "BackupMyPictures");
    FolderRow(f_.MyMusic, f_.MyMusicPath, "[MYMUSIC-]", "MyMusic", "My Music", "BackupMyMusic");
    FolderRow(f_.MyVideos, f_.MyVideosPath, "[MYVIDEOS]", "MyVideos", "My Videos", "BackupMyVideos");
    FolderRow(f_.SharedDocuments, f_.SharedDocumentsPath, "[SHAREDOC]", "SharedDocuments", "Shared documents",
              "BackupSharedDocuments");
    FolderRow(f_.IEFavorites, f_.IEFavoritesPath, "[FAVORITE]", "IEFavorites", "Internet Explorer Favorites",
              "BackupIEFavorites");
    Remember("BackupIEStartPage", f_.IEStartPage);
    ProfileRows(TForm1::Browser::Firefox, f_.FirefoxProfilesNames, f_.FirefoxProfilesPaths, "[FIREFOX-]",
                "FirefoxProfile", "Mozilla Firefox Profile");
    const bool vistaOrSeven = WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN";
    FolderRow(f_.WindowsMail, f_.WindowsMailPath, "[WINMAIL-]", vistaOrSeven ? "WindowsMail" : "WindowsLiveMail",
              vistaOrSeven ? "Windows Mail" : "Windows Live Mail", "BackupWindowsMail");
    ProfileRows(TForm1::Browser::Thunderbird, f_.ThunderbirdProfilesNames, f_.ThunderbirdProfilesPaths,
                "[THUNDER-]", "ThunderbirdProfile", "Mozilla Thunderbird Profile");
    IdentityRows();
    OutlookDataFileRows();
    FileRow(f_.OutlookNk2, f_.OutlookNK2Path, "[OUTLKNK2]", "OutlookNK2", "Outlook.nk2 (Typed Addresses history)",
            "BackupOutlookNK2");
    AddressBookRow();
    FolderRow(f_.WindowsCalendar, f_.WindowsCalendarPath, "[WINCAL--]", "WindowsCalendar", "Windows Calendar",
              "BackupWindowsCalendar");
    FolderRow(f_.Fonts, f_.FontsPath, "[FONTS---]", "Fonts", "Fonts", "BackupFonts");
    FileRow(f_.Rasphone, f_.RasPhonePath, "[RASPHONE]", "RASPhone", "Rasphone.pbk file (modem settings file)",
            "BackupRasPhone");
    ExtraRows();
    usersFoldersTaken = UsersFoldersTaken();
}

}  // namespace

void ListBackupFiles(TForm1& form) {
    // Errors of an earlier listing that never reached a job panel are not this job's.
    PendingJobErrors.clear();
    listingNotes.clear();
    usersFoldersTaken.clear();
    profileOrigins.clear();
    ExtraFoldersLeftOut.clear();
    ExtraFilesLeftOut.clear();
    ListingScope scope(form);
    Listing(form).Run();
}
