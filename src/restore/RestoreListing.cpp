// LaunchRestore on the last restore page: the restore job, from the selection check on.
#include <initializer_list>
#include "app/AppState.h"
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "app/Form2.h"
#include "backup/CopyStep.h"
#include "categories/WalkReports.h"
#include "restore/RestoreJob.h"
#include "restore/RestoreRules.h"
#include "ui/Dialogs.h"
#include "ui/MessagePump.h"

namespace {

// The first line of every restore log, in every language.
const char kRestoreStartLine[] = "D\xe9marrage de la restauration";

bool AnyChecked(const ui::CheckListBox& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Checked(i)) return true;
    return false;
}

bool OnVistaOrSeven() { return WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN"; }

// A message of the job log about a path or a value: the text, then ": " and the value in quotes.
std::string AboutValue(const char* key, const char* english, const std::string& value) {
    return LanguageText("MESSAGES", key, english) + ": \"" + value + "\"";
}

// Any restore choice ticked, enabled or not.
bool SomethingChosen(const TForm1& f) {
    for (const ui::CheckBox* box :
         {&f.RestoreMyDocuments, &f.RestoreDesktop, &f.RestoreSharedDocs, &f.RestoreIEFavorites, &f.RestoreQuickLaunch,
          &f.RestoreWindowsMail, &f.RestoreWab, &f.RestoreWindowsCalendar, &f.RestoreFonts, &f.RestoreRasPhone,
          &f.RestoreWallPaper, &f.RestoreNK2, &f.RestoreIEStartPage, &f.RestoreMyPictures, &f.RestoreMyMusic,
          &f.RestoreMyVideos})
        if (box->Checked()) return true;
    for (const ui::CheckListBox* list :
         {&f.restoreAdditionalFilesList, &f.RestoreAdditionalDirectoriesList, &f.RestoreOutlookPSTList,
          &f.restoreOEIdentitiesList, &f.RestoreFirefoxProfilesNames, &f.RestoreThunderbirdProfilesNames})
        if (AnyChecked(*list)) return true;
    return false;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// Ticked extra files or folders that are to go to another folder, and no folder named for them.
bool OtherFolderMissing(const TForm1& f) {
    return (!f.RestoreFilesOrigin.Checked() && AnyChecked(f.restoreAdditionalFilesList) &&
            IsBlank(f.RestoreFilesDirectory.Text())) ||
           (!f.RestoreFoldersOrigin.Checked() && AnyChecked(f.RestoreAdditionalDirectoriesList) &&
            IsBlank(f.RestoreFoldersDirectory.Text()));
}

// The please-wait window names the category being listed.
void BeginStep(const char* tag, const char* captionKey, const char* captionDefault) {
    CurrentTag = tag;
    if (!Form2) return;
    Form2->Label2.SetText(LanguageText("MESSAGES", "Processing", "Processing") + " : " +
                          LanguageText("INTERFACE", captionKey, captionDefault));
    Form2->Repaint();
}

// Walks a folder of the set; false, walking nothing, when the folder is not there. The walker
// passes over a missing folder in silence, and the set may have gone since it was chosen (a disk
// taken away) or record a folder that it does not hold: the caller says so in the job log.
bool Walk(TForm1& f, const std::string& folder) {
    if (TScruteDossier::StartFolder(folder) == TScruteDossier::TStartFolder::Missing) return false;
    f.RestoreSearch.Dossier = folder;
    f.RestoreSearch.Execute();
    return true;
}

void Add(TForm1& f, const std::string& path) { f.RestoreCopyList.AddItem(CurrentTag + path); }

// A step that one check box decides: it walks a folder of the set, or adds its one file.
struct BoxStep {
    const ui::CheckBox& box;
    const char* tag;
    const char* captionKey;
    const char* captionDefault;
    const char* literal;  // below the set
    bool walk;
};

void ListBoxSteps(TForm1& f, const std::string& root, std::initializer_list<BoxStep> steps) {
    for (const BoxStep& step : steps) {
        if (!step.box.Checked()) continue;
        BeginStep(step.tag, step.captionKey, step.captionDefault);
        if (!step.walk)
            Add(f, root + step.literal);
        else if (!Walk(f, root + step.literal))
            PendingJobErrors.push_back(AboutValue("MissingSetFolder",
                                                  "This folder of the backup set is missing. Nothing restored from it",
                                                  root + step.literal));
    }
}

// An item whose record in the set cannot be used is not restored: it is unticked, so the later
// phases of the job leave it alone too, and the job log tells why.
void Refuse(ui::CheckListBox& list, int index, RecordCheck check, const std::string& value) {
    PendingJobErrors.push_back(
        check == RecordCheck::Missing
            ? AboutValue("MissingRecord", "This entry is missing from the backup set. Skipping it", list.Item(index))
            : AboutValue("UnsafeRecord", "This entry of the backup set leads outside its folder. Skipping it", value));
    list.SetChecked(index, false);
}

struct BrowserListing {
    const char* tag;
    const char* captionKey;
    const char* captionDefault;
    ui::CheckListBox& profiles;
    ui::ListBox& names;
    const std::unique_ptr<win::IniFile>& archiveIni;
    const char* profilesFolder;  // as the set's To values begin
    const ui::ComboBox& mode;
    bool foldersFirst;  // the compatible mode's order
    const std::vector<std::string>& files;
    const std::vector<std::string>& folders;
};

// The step of a browser, when one of its profiles is ticked: each ticked profile's folder in the
// set, whole in full mode, its known files and folders in compatible mode.
void ListProfiles(TForm1& f, const std::string& root, const BrowserListing& b) {
    if (!AnyChecked(b.profiles)) return;
    BeginStep(b.tag, b.captionKey, b.captionDefault);
    for (int i = 0; i < b.profiles.Count(); ++i) {
        if (!b.profiles.Checked(i)) continue;
        const std::string name = i < b.names.Count() ? b.names.Item(i) : std::string();
        const std::string to = SetRecord(b.archiveIni, name, "To");
        const RecordCheck check = CheckProfileRecord(to, b.profilesFolder, name);
        if (check != RecordCheck::Usable) {
            Refuse(b.profiles, i, check, to);
            continue;
        }
        // The folder as To spells it, so the copy loop, which matches the entries with To, finds
        // them whatever the letter case of the record.
        const std::string folder = root + "\\" + to;
        if (TScruteDossier::StartFolder(folder) == TScruteDossier::TStartFolder::Missing) {
            Refuse(b.profiles, i, RecordCheck::Missing, to);
            continue;
        }
        if (b.mode.Text() == b.mode.Item(0)) {
            Walk(f, folder);
            continue;
        }
        auto listFiles = [&] {
            for (const std::string& file : b.files)
                if (FileExists(folder + "\\" + file)) Add(f, folder + "\\" + file);
        };
        auto listFolders = [&] {
            for (const std::string& sub : b.folders)
                if (FolderExists(folder + "\\" + sub)) Walk(f, folder + "\\" + sub);
        };
        if (b.foldersFirst) {
            listFolders();
            listFiles();
        } else {
            listFiles();
            listFolders();
        }
    }
}

// Each ticked extra file (added) or extra folder (walked), by its stored place below Data: item i
// stands for key i + 1 of SAVED.
void ListExtras(TForm1& f, const std::string& dataFolder, ui::CheckListBox& list,
                const std::unique_ptr<win::IniFile>& ini, bool walk) {
    for (int i = 0; i < list.Count(); ++i) {
        if (!list.Checked(i)) continue;
        const std::string saved = SetRecord(ini, "SAVED", std::to_string(i + 1));
        const RecordCheck check = CheckRelativeRecord(saved);
        if (check != RecordCheck::Usable) {
            Refuse(list, i, check, saved);
            continue;
        }
        if (!walk)
            Add(f, dataFolder + saved);
        else if (!Walk(f, dataFolder + saved))
            Refuse(list, i, RecordCheck::Missing, saved);
    }
}

void ListIdentities(TForm1& f, const std::string& root) {
    for (int i = 0; i < f.restoreOEIdentitiesList.Count(); ++i) {
        if (!f.restoreOEIdentitiesList.Checked(i)) continue;
        const std::string id = SetRecord(IdentitiesIni, f.restoreOEIdentitiesList.Item(i), "IdentityID");
        const RecordCheck check = CheckRelativeRecord(id);
        if (check != RecordCheck::Usable) {
            Refuse(f.restoreOEIdentitiesList, i, check, id);
            continue;
        }
        if (!Walk(f, root + "\\Archive\\OutlookExpress\\Identities\\" + id))
            Refuse(f.restoreOEIdentitiesList, i, RecordCheck::Missing, id);
    }
}

}  // namespace

namespace {
bool restoreRunning = false;
}  // namespace

void TForm1::LaunchRestoreClick() {
    // As for the backup: no second restore inside a running one.
    ui::ReentryGuard guard(restoreRunning);
    if (!guard.Entered()) return;
    if (!SomethingChosen(*this)) {
        ui::ShowMessage(hwnd(), LanguageText("MESSAGES", "ChooseItemToRestore", "Please choose something to restore !"));
        return;
    }
    if (OtherFolderMissing(*this)) {
        ui::ShowMessage(hwnd(),
                        LanguageText("MESSAGES", "ChooseRestoreFolder", "Please choose the folder to restore to !"));
        return;
    }
    // A set on a disk taken away since it was chosen: nothing of it can be restored, and the
    // steps that put back values would put back empty ones.
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    if (!IsBackupSet(set)) {
        ui::ShowMessage(hwnd(), AboutValue("BackupSetGone",
                                           "This backup set cannot be found any more. Nothing was restored", set));
        return;
    }
    // From the listing to the finish, the set's records are those it held when the job started.
    const SetRecordsHeld records;
    ListRestoreFiles();

    StartJobPanel();
    // A refused record or a walk's warning counts as something to report, so the job panel shows
    // why nothing came.
    if (RestoreCopyList.Count() == 0 && !RestoreWallPaper.Checked() && !RestoreIEStartPage.Checked() &&
        PendingJobErrors.empty() && PendingJobWarnings.empty()) {
        ui::ShowMessage(hwnd(), LanguageText("MESSAGES", "ChooseItemToRestore", "Please choose something to restore!"));
        return;
    }
    ShowPage(JobPanel);
    PaceJobPanel(true);
    LogInfo(kRestoreStartLine);
    for (const std::string& error : PendingJobErrors) LogError(error);
    PendingJobErrors.clear();
    for (const std::string& warning : PendingJobWarnings) LogWarning(warning);
    PendingJobWarnings.clear();
    CopyCount = RestoreCopyList.Count();
    CopyIndex = 0;

    // A close confirmed while the files were listed stops the job here, after its first lines,
    // whether or not there is any file to copy: nothing after this point is then written.
    ui::PumpMessages();
    RestoreCopyLoop();
    // A profile is entered in the browser's list once its files are back, never after a stop:
    // the user's own profile of the same name keeps its folder until then.
    if (!JobOver) RegisterRestoredProfiles();
    RestorePostSteps();
    FinishRestoreJob();
}

void TForm1::ListRestoreFiles() {
    const std::string root = ExcludeTrailingBackslash(BackupPath.Text());
    // The set's records are read once for the listing, however many items they hold.
    const SetRecordsHeld records;
    TakeSetRecords(*this, root);
    if (Form2) Form2->Show();
    SetVisible(false);
    if (Form2) {
        Form2->Label1.SetText(LanguageText("MESSAGES", "CleaningList", "Cleaning files list"));
        Form2->Label2.SetText(LanguageText("INTERFACE", "PleaseWait", "Please wait"));
    }
    ui::PumpMessages();
    RestoreCopyList.Clear();
    ui::PumpMessages();
    PendingJobErrors.clear();
    PendingJobWarnings.clear();
    RestoreSearch.Filtre = "*.*";
    // A folder of the set that cannot be opened, an entry listed under another's name and a loop
    // are left out; the job log says so.
    const WalkReports reports(RestoreSearch);
    if (Form2) Form2->Label1.SetText(LanguageText("MESSAGES", "ListingFilesToCopy", "Listing files to copy"));

    ListBoxSteps(*this, root,
                 {
                     {RestoreMyDocuments, "[MYDOCS--]", "MyDocuments", "My Documents", "\\Archive\\Documents", true},
                     {RestoreDesktop, "[DESKTOP-]", "Desktop", "Desktop", "\\Archive\\Desktop", true},
                     {RestoreQuickLaunch, "[QULAUNCH]", "QuickLaunch", "Quicklaunch toolbar shortcuts",
                      "\\Archive\\QuickLaunch", true},
                     {RestoreMyPictures, "[PICTURES]", "MyPictures", "My Pictures", "\\Archive\\Pictures", true},
                     {RestoreMyMusic, "[MYMUSIC-]", "MyMusic", "My Music", "\\Archive\\Music", true},
                     {RestoreMyVideos, "[MYVIDEOS]", "MyVideos", "My Videos", "\\Archive\\Videos", true},
                     {RestoreSharedDocs, "[SHAREDOC]", "SharedDocuments", "Shared documents", "\\Archive\\SharedDocs",
                      true},
                     {RestoreIEFavorites, "[FAVORITE]", "IEFavorites", "Internet Explorer Favorites",
                      "\\Archive\\Internet Explorer\\Favorites", true},
                 });
    ListProfiles(*this, root,
                 {"[FIREFOX-]", "FirefoxProfile", "Mozilla Firefox Profile", RestoreFirefoxProfilesNames,
                  RestoreFFProfilesNames, FirefoxArchiveIni, "Archive\\Firefox\\Profiles\\", FirefoxRestoreMode, false,
                  FirefoxCompatibleFiles, FirefoxCompatibleFolders});
    // Vista and 7 have Windows Mail; the others get Windows Live Mail.
    const bool windowsMail = OnVistaOrSeven();
    ListBoxSteps(*this, root,
                 {{RestoreWindowsMail, "[WINMAIL-]", windowsMail ? "WindowsMail" : "WindowsLiveMail",
                   windowsMail ? "Windows Mail" : "Windows Live Mail", "\\Archive\\WindowsMail", true}});
    ListProfiles(*this, root,
                 {"[THUNDER-]", "ThunderbirdProfile", "Mozilla Thunderbird Profile", RestoreThunderbirdProfilesNames,
                  RestoreTBProfilesNames, ThunderbirdArchiveIni, "Archive\\Thunderbird\\Profiles\\",
                  ThunderbirdRestoreMode, true, ThunderbirdCompatibleFiles, ThunderbirdCompatibleFolders});
    ListBoxSteps(*this, root,
                 {
                     {RestoreNK2, "[OUTLKNK2]", "OutlookNK2", "Outlook.nk2 (Typed Addresses history)",
                      "\\Archive\\OutlookNK2\\Outlook.nk2", false},
                     {RestoreWab, "[WAB-----]", "WindowsAddressBook", "Windows Address Book", "\\Archive\\AdressBook",
                      true},
                     {RestoreWindowsCalendar, "[WINCAL--]", "WindowsCalendar", "Windows Calendar",
                      "\\Archive\\WindowsCalendar", true},
                     {RestoreFonts, "[FONTS---]", "Fonts", "Fonts", "\\Archive\\Fonts", true},
                     {RestoreRasPhone, "[RASPHONE]", "RASPhone", "Rasphone.pbk file (modem settings file)",
                      "\\Archive\\Rasphone\\Rasphone.pbk", false},
                 });
    if (restoreAdditionalFilesList.Count() > 0) {
        BeginStep("[ADDFILES]", "AdditionalFiles", "Additional files");
        ListExtras(*this, root + "\\Archive\\AdditionalFiles\\Data\\", restoreAdditionalFilesList, AdditionalFilesIni,
                   false);
    }
    if (RestoreAdditionalDirectoriesList.Count() > 0) {
        BeginStep("[ADDDIR--]", "AdditionalFolders", "Additional folders");
        ListExtras(*this, root + "\\Archive\\AdditionalFolders\\Data\\", RestoreAdditionalDirectoriesList,
                   AdditionalFoldersIni, true);
    }
    // Outlook Express identities are not restored on Vista and 7.
    if (AnyChecked(restoreOEIdentitiesList) && !OnVistaOrSeven()) {
        BeginStep("[OEXPRESS]", "OutlookExpressIdentities", "Outlook Express Identities");
        ListIdentities(*this, root);
    }
    if (AnyChecked(RestoreOutlookPSTList)) {
        BeginStep("[OUTLOOK-]", "OutlookPSTFiles", "Outlook personal data files");
        for (int i = 0; i < RestoreOutlookPSTList.Count(); ++i)
            if (RestoreOutlookPSTList.Checked(i))
                Add(*this, root + "\\Archive\\OutlookPST\\" + RestoreOutlookPSTList.Item(i));
    }
    // The wallpaper comes last: the job takes the wallpaper from the last entry it copied.
    ListBoxSteps(*this, root,
                 {{RestoreWallPaper, "[WALLPAPE]", "Desktop Wallpaper", "Desktop wallpaper", "\\Archive\\WallPaper\\File",
                   true}});

    if (Form2) Form2->Hide();
    SetVisible(true);
}
