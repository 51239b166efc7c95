// Whole runs of Launch: every category chosen, with and without the dated sub-folder, the two
// checks that stop a job before it copies, and chosen folders that cannot be listed.
#include "BackupJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"

using backuptest::BackupJobTest;
using backuptest::CopiedFiles;
using backuptest::PanelWatch;

namespace {

struct Copy {
    std::string source;  // full path
    std::string target;  // below the set's root
};

const char kStartLine[] = "I D\xE9marrage de la sauvegarde";

// A folder made by its wide name with a file in it, named outside the code page (Папка), and
// removed by that name (the ANSI calls that clear scratch folders cannot reach it).
class CyrillicFolder {
public:
    explicit CyrillicFolder(const std::string& parent)
        : parent_(parent), path_(std::wstring(parent.begin(), parent.end()) + L"\\\x041F\x0430\x043F\x043A\x0430") {
        test::MakeFolder(parent);
        HANDLE h = CreateDirectoryW(path_.c_str(), nullptr)
                       ? CreateFileW((path_ + L"\\x.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
        made_ = h != INVALID_HANDLE_VALUE;
        if (made_) CloseHandle(h);
    }
    ~CyrillicFolder() {
        DeleteFileW((path_ + L"\\x.txt").c_str());
        RemoveDirectoryW(path_.c_str());
    }
    CyrillicFolder(const CyrillicFolder&) = delete;
    CyrillicFolder& operator=(const CyrillicFolder&) = delete;
    // The folder as the ANSI calls name it (the folder dialog's path, a registry value read by
    // them): "?" for every letter.
    std::string Ansi() const { return parent_ + "\\?????"; }
    bool Made() const { return made_; }

private:
    std::string parent_;
    bool made_ = false;
    std::wstring path_;
};

class WholeBackupTest : public BackupJobTest {
protected:
    // Real-looking data for every category, chosen on the pages as Next and the user would; the
    // copies the job must make, in listing order. Fonts and the phone book are left unticked
    // when asked.
    std::vector<Copy> ChooseEverything(bool fontsAndPhoneBook) {
        std::vector<Copy> copies;
        auto file = [&](const std::string& relative, const std::string& target) {
            // Each file's bytes differ, and some are not text.
            copies.push_back({Source(relative, relative + std::string("\0\x01\xff\r\n", 5) + relative), target});
        };
        const bool vistaOrSeven = WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN";

        file("Documents\\letter.txt", "Archive\\Documents\\letter.txt");
        file("Documents\\Sub\\deep.bin", "Archive\\Documents\\Sub\\deep.bin");
        Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
        // A folder category with one file in it.
        auto folderWithFile = [&](ui::CheckBox& box, ui::PathEdit& edit, const std::string& folder,
                                  const std::string& below, const std::string& archive) {
            file(folder + "\\" + below, archive + "\\" + below);
            Choose(box, edit, Src(folder));
        };
        folderWithFile(form1->Desktop, form1->DesktopPath, "Desktop", "note.txt", "Archive\\Desktop");
        file("Walls\\Sunset.bmp", "Archive\\WallPaper\\File\\Sunset.bmp");
        seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", Src("Walls\\Sunset.bmp"));
        form1->DesktopWallPaper.SetChecked(true);
        Source("QuickLaunch\\desktop.ini", "[.ShellClassInfo]");
        folderWithFile(form1->Quicklaunch, form1->QuickLaunchPath, "QuickLaunch", "Browser.lnk", "Archive\\QuickLaunch");
        // My Pictures inside My Documents: listed once, as pictures.
        folderWithFile(form1->MyPictures, form1->MyPicturesPath, "Documents\\My Pictures", "p.jpg", "Archive\\Pictures");
        folderWithFile(form1->MyMusic, form1->MyMusicPath, "Music", "song.mp3", "Archive\\Music");
        folderWithFile(form1->MyVideos, form1->MyVideosPath, "Videos", "clip.avi", "Archive\\Videos");
        folderWithFile(form1->SharedDocuments, form1->SharedDocumentsPath, "Public", "shared.doc", "Archive\\SharedDocs");
        folderWithFile(form1->IEFavorites, form1->IEFavoritesPath, "Favorites", "Links\\site.url",
                       "Archive\\Internet Explorer\\Favorites");
        form1->IEStartPage.SetChecked(true);

        // Two Firefox profiles, one ticked.
        test::WriteFile(Src("firefox-profiles.ini"),
                        "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=0\r\n"
                        "Path=x\r\n\r\n[Profile1]\r\nName=work\r\n");
        FirefoxProfilesIni = std::make_unique<win::IniFile>(Src("firefox-profiles.ini"));
        file("Firefox\\x1.default\\prefs.js", "Archive\\Firefox\\Profiles\\C\\default\\prefs.js");
        file("Firefox\\x1.default\\chrome\\userChrome.css", "Archive\\Firefox\\Profiles\\C\\default\\chrome\\userChrome.css");
        Source("Firefox\\y2.work\\prefs.js", "not chosen");
        AddProfile(form1->FirefoxProfilesNames, form1->FirefoxProfiles, form1->FFProfilesNames, form1->FirefoxProfilesPaths,
                   "Profile0", "default", Src("Firefox\\x1.default"), true);
        AddProfile(form1->FirefoxProfilesNames, form1->FirefoxProfiles, form1->FFProfilesNames, form1->FirefoxProfilesPaths,
                   "Profile1", "work", Src("Firefox\\y2.work"), false);

        folderWithFile(form1->WindowsMail, form1->WindowsMailPath, "Mail", "Local Folders\\msg.eml", "Archive\\WindowsMail");

        test::WriteFile(Src("thunderbird-profiles.ini"), "[General]\r\n\r\n[Profile0]\r\nName=mail\r\n");
        ThunderbirdProfilesIni = std::make_unique<win::IniFile>(Src("thunderbird-profiles.ini"));
        file("Thunderbird\\t1.mail\\prefs.js", "Archive\\Thunderbird\\Profiles\\C\\mail\\prefs.js");
        AddProfile(form1->ThunderbirdProfilesNames, form1->ThunderbirdProfiles, form1->TBProfilesNames,
                   form1->ThunderbirdProfilesPaths, "Profile0", "mail", Src("Thunderbird\\t1.mail"), true);

        // An identity with its store, and one without (an empty store path: nothing to walk).
        file("Identities\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx",
             "Archive\\OutlookExpress\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx");
        seed.RegString(HKEY_CURRENT_USER, "Identities\\{1A2B}", "Username", "Main Identity");
        seed.RegString(HKEY_CURRENT_USER, "Identities\\{3C4D}", "Username", "No store");
        form1->OEIdentitiesList.AddItem("Main Identity", true);
        form1->IdentitiesList.AddItem("{1A2B}");
        form1->IdentitiesPaths.AddItem(Src("Identities\\{1A2B}"));
        form1->OEIdentitiesList.AddItem("No store", true);
        form1->IdentitiesList.AddItem("{3C4D}");
        form1->IdentitiesPaths.AddItem("");

        file("Outlook\\Outlook.pst", "Archive\\OutlookPST\\Outlook.pst");
        form1->PSTList.AddItem(Src("Outlook\\Outlook.pst"), true);
        form1->PSTList.AddItem(Source("Outlook\\Archive.pst", "not chosen"), false);
        file("Outlook\\Outlook.NK2", "Archive\\OutlookNk2\\Outlook.nk2");
        Choose(form1->OutlookNk2, form1->OutlookNK2Path, Src("Outlook\\Outlook.NK2"));

        if (vistaOrSeven) {
            file("Contacts\\Ann.contact", "Archive\\AdressBook\\Ann.contact");
            Source("Contacts\\desktop.ini", "[.ShellClassInfo]");
            Choose(form1->Wab, form1->WabPath, Src("Contacts"));
        } else {
            file("wab\\me.wab", "Archive\\AdressBook\\AddressBook.wab");
            Choose(form1->Wab, form1->WabPath, Src("wab\\me.wab"));
        }
        folderWithFile(form1->WindowsCalendar, form1->WindowsCalendarPath, "Calendar", "me.ics", "Archive\\WindowsCalendar");
        if (fontsAndPhoneBook) file("Fonts\\Handwriting.ttf", "Archive\\Fonts\\Handwriting.ttf");
        else Source("Fonts\\Handwriting.ttf", "not chosen");
        Source("Fonts\\arial.ttf", "a stock font");
        Choose(form1->Fonts, form1->FontsPath, Src("Fonts"), fontsAndPhoneBook);
        if (fontsAndPhoneBook) file("rasphone.pbk", "Archive\\Rasphone\\Rasphone.pbk");
        else Source("rasphone.pbk", "not chosen");
        Choose(form1->Rasphone, form1->RasPhonePath, Src("rasphone.pbk"), fontsAndPhoneBook);

        const std::string below = Src("").substr(3);  // the source folder less "C:\"
        file("Extra\\one.txt", "Archive\\AdditionalFiles\\Data\\C\\" + below + "Extra\\one.txt");
        form1->AdditionalFilesList.AddItem(Src("Extra\\one.txt"));
        file("ExtraDir\\a.txt", "Archive\\AdditionalFolders\\Data\\C\\" + below + "ExtraDir\\a.txt");
        file("ExtraDir\\sub\\b.txt", "Archive\\AdditionalFolders\\Data\\C\\" + below + "ExtraDir\\sub\\b.txt");
        form1->AdditionalDirectoriesList.AddItem(Src("ExtraDir"));
        return copies;
    }

    static void AddProfile(ui::CheckListBox& names, ui::ListBox& sections, ui::ListBox& bareNames, ui::ListBox& folders,
                           const std::string& section, const std::string& name, const std::string& folder, bool ticked) {
        names.AddItem("\"" + name + "\" (" + folder + ")", ticked);
        sections.AddItem(section);
        bareNames.AddItem(name);
        folders.AddItem(folder);
    }

    // What the whole run must have done, for a set at root.
    void ExpectCopies(const std::vector<Copy>& copies, const std::string& root, const PanelWatch& watch) {
        const std::string count = std::to_string(copies.size());
        const std::vector<std::string> log = Messages();
        ASSERT_GE(log.size(), 1 + 2 * copies.size());
        EXPECT_EQ(log[0], kStartLine);
        ASSERT_GE(watch.captions.size(), copies.size());
        std::set<std::string> targets;
        for (size_t i = 0; i < copies.size(); ++i) {
            const std::string destination = root + "\\" + copies[i].target;
            EXPECT_EQ(log[1 + 2 * i], Copying(copies[i].source, destination));
            EXPECT_EQ(log[2 + 2 * i], "I File successfully copied") << copies[i].source;
            EXPECT_EQ(test::ReadFile(destination), test::ReadFile(copies[i].source)) << destination;
            const std::string& caption = watch.captions[i];
            EXPECT_EQ(caption.rfind("Copying file : \"" + ExtractFileName(destination) + "\" (", 0), 0u) << caption;
            const std::string number = ") " + std::to_string(i + 1) + "/" + count;
            EXPECT_EQ(caption.substr(caption.size() - number.size()), number) << caption;
            targets.insert(copies[i].target);
        }
        // The exact lines above hold no warning or error of the copies.
        EXPECT_EQ(CopiedFiles(root), targets);
    }

    test::Seed seed;
};

const char* const kSettingsKeys[] = {
    "LastBackupFolder",  "BackupInSubFolder",     "BackupMyDocuments", "BackupDesktop",     "BackupWallPaper",
    "BackupQuickLaunch", "BackupMyPictures",      "BackupMyMusic",     "BackupMyVideos",    "BackupSharedDocuments",
    "BackupIEFavorites", "BackupIEStartPage",     "BackupWindowsMail", "BackupOutlookNK2",  "BackupWab",
    "BackupWindowsCalendar", "BackupFonts",       "BackupRasPhone",
};

}  // namespace

TEST_F(WholeBackupTest, EveryCategoryLandsInItsFolderOfTheSet) {
    const std::vector<Copy> copies = ChooseEverything(true);
    // Typed with a trailing backslash; the set lies in the folder itself.
    Type(form1->StoragePath, Store() + "\\");
    PanelWatch watch(*form1, &form2->Label2);
    Launch();

    ExpectCopies(copies, Store(), watch);
    EXPECT_FALSE(form2->Visible());
    EXPECT_TRUE(form1->Visible());
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());

    // Behind the please-wait window, category after category.
    const bool vistaOrSeven = WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN";
    const std::vector<std::string> waitLines = {
        "Please wait", "Processing : My Documents", "Processing : Desktop", "Processing : Desktop wallpaper",
        "Processing : QuickLaunch toolbar shortcuts", "Processing : My Pictures", "Processing : My Music",
        "Processing : My Videos", "Processing : Shared documents", "Processing : Internet Explorer Favorites",
        "Processing : Mozilla Firefox Profile",
        std::string("Processing : ") + (vistaOrSeven ? "Windows Mail" : "Windows Live Mail"),
        "Processing : Mozilla Thunderbird Profile", "Processing : Outlook Express Identities",
        "Processing : Outlook personal data files", "Processing : Outlook.nk2 (Typed Addresses history)",
        "Processing : Windows Address Book", "Processing : Windows Calendar", "Processing : Fonts",
        "Processing : Rasphone.pbk file (modem settings file)", "Processing : Additional files",
        "Processing : Additional folders"};
    EXPECT_EQ(watch.waitLines, waitLines);
    EXPECT_EQ(watch.mainVisibleWhileListing, std::vector<bool>(waitLines.size(), false));

    std::vector<std::string> keys;
    for (const std::string& key : SettingsKeys())
        if (key != "LastLanguage") keys.push_back(key);
    EXPECT_EQ(keys, std::vector<std::string>(std::begin(kSettingsKeys), std::end(kSettingsKeys)));
    EXPECT_EQ(Setting("LastBackupFolder"), Store());
    EXPECT_EQ(Setting("BackupInSubFolder"), "NO");
    for (size_t i = 2; i < std::size(kSettingsKeys); ++i) EXPECT_EQ(Setting(kSettingsKeys[i]), "YES") << kSettingsKeys[i];
}

TEST_F(WholeBackupTest, WithTheSubFolderOptionTheSetIsTheDatedFolder) {
    const std::vector<Copy> copies = ChooseEverything(false);
    Click(form1->BackupInSubFolder);
    ASSERT_FALSE(BackupSubFolderSuffix.empty());
    PanelWatch watch(*form1, &form2->Label2);
    Launch();

    const std::string root = Store() + BackupSubFolderSuffix;
    ExpectCopies(copies, root, watch);
    // Nothing beside the dated folder.
    for (const std::string& file : CopiedFiles(Store()))
        EXPECT_EQ(file.rfind(BackupSubFolderSuffix.substr(1) + "\\", 0), 0u) << file;
    EXPECT_EQ(Setting("BackupInSubFolder"), "YES");
    EXPECT_EQ(Setting("BackupFonts"), "NO");
    EXPECT_EQ(Setting("BackupRasPhone"), "NO");
    EXPECT_EQ(Setting("BackupDesktop"), "YES");
}

TEST_F(BackupJobTest, NothingToBackUpStopsWithAMessageAndKeepsTheChoices) {
    // Only the start page: no file to copy.
    form1->IEStartPage.SetChecked(true);
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("missing"));
    Launch();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose something to backup !"});
    EXPECT_FALSE(form1->JobPanel.Visible());
    EXPECT_TRUE(form1->BackupTabs.Visible());
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(Setting("BackupIEStartPage"), "YES");
    EXPECT_EQ(Setting("BackupMyDocuments"), "YES");
    EXPECT_EQ(Setting("BackupDesktop"), "NO");
    EXPECT_TRUE(CopiedFiles(Store()).empty());
}

TEST_F(BackupJobTest, AStorageFolderMarkedWrongStopsWithAMessage) {
    Choose(form1->Desktop, form1->DesktopPath, Src("Desktop"));
    Source("Desktop\\note.txt", "note");
    Type(form1->StoragePath, scratch / "no such folder");
    ASSERT_TRUE(form1->StoragePathWrong.Visible());
    Launch();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose a valid backup location !"});
    EXPECT_FALSE(form1->JobPanel.Visible());
    EXPECT_TRUE(form1->BackupTabs.Visible());
    EXPECT_FALSE(FolderExists(scratch / "no such folder"));
    EXPECT_EQ(Setting("LastBackupFolder"), scratch / "no such folder");
    EXPECT_EQ(Setting("BackupDesktop"), "YES");
}

// A folder the job cannot list is reported on the panel and counted, wherever the walk starts,
// and the set keeps no record of it: an extra folder (named outside the code page, or held by
// another program), a browser profile, an identity's store.
TEST_F(BackupJobTest, StartFoldersThatCannotBeListedAreReportedAndNotRecorded) {
    test::WriteFile(Src("profiles.ini"), "[Profile0]\r\nName=default\r\n\r\n[Profile1]\r\nName=work\r\n");
    FirefoxProfilesIni = std::make_unique<win::IniFile>(Src("profiles.ini"));
    const CyrillicFolder work(Src("Firefox")), store(Src("Identities")), extra(Src("Extra"));
    ASSERT_TRUE(work.Made() && store.Made() && extra.Made());
    Source("Firefox\\x1.default\\prefs.js", "prefs");
    const std::pair<const char*, std::string> profiles[] = {{"default", Src("Firefox\\x1.default")},
                                                            {"work", work.Ansi()}};
    for (int i = 0; i < 2; ++i) {
        form1->FirefoxProfilesNames.AddItem(profiles[i].first, true);
        form1->FirefoxProfiles.AddItem("Profile" + std::to_string(i));
        form1->FFProfilesNames.AddItem(profiles[i].first);
        form1->FirefoxProfilesPaths.AddItem(profiles[i].second);
    }
    test::Seed seed;
    seed.RegString(HKEY_CURRENT_USER, "Identities\\{1A2B}", "Username", "Main Identity");
    form1->OEIdentitiesList.AddItem("Main Identity", true);
    form1->IdentitiesList.AddItem("{1A2B}");
    form1->IdentitiesPaths.AddItem(store.Ansi());
    Source("Held\\kept.txt", "held");
    Source("ExtraDir\\a.txt", "extra");
    for (const std::string& folder : {extra.Ansi(), Src("Held"), Src("ExtraDir")})
        form1->AdditionalDirectoriesList.AddItem(folder);
    // Another program holds the folder without sharing while the job runs.
    HANDLE held = CreateFileA(Src("Held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Launch();
    CloseHandle(held);

    const std::vector<std::string> log = Messages();
    const std::vector<std::string> expected = {kStartLine, "E Could not read folder: \"" + work.Ansi() + "\"",
                                               "E Could not read folder: \"" + store.Ansi() + "\"",
                                               "E Could not read folder: \"" + extra.Ansi() + "\"",
                                               "E Could not read folder: \"" + Src("Held") + "\""};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + expected.size()), expected);
    EXPECT_EQ(ErrorCount, 4);
    const std::string below = Src("").substr(3);
    EXPECT_EQ(CopiedFiles(Store()), (std::set<std::string>{"Archive\\Firefox\\Profiles\\C\\default\\prefs.js",
                                                           "Archive\\AdditionalFolders\\Data\\C\\" + below +
                                                               "ExtraDir\\a.txt"}));
    // Only what was listed is recorded, numbered from 1 as ever.
    win::IniFile folders(Store() + "\\Archive\\AdditionalFolders\\Folders.ini");
    EXPECT_EQ(folders.ReadString("FROM", "1", ""), Src("ExtraDir"));
    EXPECT_EQ(folders.ReadString("SAVED", "1", ""), "C\\" + below + "ExtraDir");
    EXPECT_EQ(folders.ReadString("FROM", "2", "none"), "none");
    EXPECT_EQ(test::ReadFile(folders.FileName()).find('?'), std::string::npos);
    win::IniFile profilesRecord(Store() + "\\Archive\\Firefox\\Profiles\\Profiles.ini");
    EXPECT_EQ(profilesRecord.ReadString("default", "To", ""), "Archive\\Firefox\\Profiles\\C\\default");
    EXPECT_EQ(profilesRecord.ReadString("work", "From", "none"), "none");
}

// My Documents chosen as the storage folder itself, with two earlier backups in it (one into a
// dated sub-folder): the documents are listed, the sets are not, and each one left out is told.
// A chosen folder or file that lies in a set is an error line and goes nowhere.
TEST_F(BackupJobTest, MyDocumentsAsTheStorageFolderLeavesOutOnlyItsBackupSets) {
    const std::string documents = Src("Documents"), dated = "2021-03-04 - Halvorkeep - Ann";
    for (const char* mine : {"letter.txt", "Work\\plan.txt", "2021-03-04 notes\\n.txt"})
        Source(std::string("Documents\\") + mine, mine);
    for (const std::string& set :
         {std::string("Archive\\Documents\\letter.txt"), std::string("Archive\\OutlookPST\\Outlook.pst"),
          dated + "\\Archive\\Documents\\letter.txt", dated + "\\Log.txt"})
        Source("Documents\\" + set, "an earlier backup");
    // The earlier backup straight into the folder left its log there.
    Source("Documents\\Log.txt", "2021-03-05 - 09:00:00 : D\xE9marrage de la sauvegarde\r\n");
    Choose(form1->MyDocuments, form1->MyDocumentsPath, documents);
    // Typed in capitals with a trailing backslash; the set lies in My Documents.
    Type(form1->StoragePath, UpperAscii(documents) + "\\");
    form1->PSTList.AddItem(documents + "\\Archive\\OutlookPST\\Outlook.pst", true);
    form1->AdditionalFilesList.AddItem(documents + "\\" + dated + "\\Log.txt");
    form1->AdditionalFilesList.AddItem(documents + "\\Work\\plan.txt");
    form1->AdditionalDirectoriesList.AddItem(Src("documents\\ARCHIVE\\Documents"));
    Launch();

    std::set<std::string> listed;
    for (const std::string& entry : form1->CopyList.Items()) listed.insert(entry);
    EXPECT_EQ(listed, (std::set<std::string>{"[MYDOCS--]" + documents + "\\letter.txt",
                                             "[MYDOCS--]" + documents + "\\Work\\plan.txt",
                                             "[MYDOCS--]" + documents + "\\2021-03-04 notes\\n.txt",
                                             "[ADDFILES]" + documents + "\\Work\\plan.txt"}));
    const std::vector<std::string> log = Messages();
    ASSERT_GE(log.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{
                  kStartLine,
                  "E Lies in a backup set, not backed up: \"" + documents + "\\Archive\\OutlookPST\\Outlook.pst\"",
                  "E Lies in a backup set, not backed up: \"" + documents + "\\" + dated + "\\Log.txt\"",
                  "E Lies in a backup set, not backed up: \"" + Src("documents\\ARCHIVE\\Documents") + "\""}));
    // The walk meets the set's log among the files, then the sets' folders in the file system's order.
    EXPECT_EQ(log[4], "I Backup set left out of the backup: \"" + documents + "\\Log.txt\"");
    EXPECT_EQ((std::set<std::string>{log[5], log[6], log[7]}),
              (std::set<std::string>{
                  "I Backup set left out of the backup: \"" + documents + "\\Archive\\Documents\"",
                  "I Backup set left out of the backup: \"" + documents + "\\Archive\\OutlookPST\"",
                  "I Backup set left out of the backup: \"" + documents + "\\" + dated + "\""}));
    EXPECT_EQ(ErrorCount, 3);
    EXPECT_EQ(test::ReadFile(documents + "\\Archive\\Documents\\Work\\plan.txt"), "Work\\plan.txt");
    win::IniFile folders(documents + "\\Archive\\AdditionalFolders\\Folders.ini");
    EXPECT_EQ(folders.ReadString("FROM", "1", "none"), "none");
}

// Ticked items whose folder or file went between Next and Launch: each is a counted error line
// naming it, in listing order, and the set records none of them.
TEST_F(BackupJobTest, TickedItemsGoneByLaunchAreCountedErrorLinesAndNotRecorded) {
    test::Seed seed;
    Source("Documents\\letter.txt", "letter");
    Choose(form1->MyDocuments, form1->MyDocumentsPath, Src("Documents"));
    Choose(form1->OutlookNk2, form1->OutlookNK2Path, Source("Outlook\\Outlook.NK2", "nk2"));
    Source("Desktop\\note.txt", "note");
    Choose(form1->Desktop, form1->DesktopPath, Src("Desktop"));
    seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", Source("Walls\\Sunset.bmp", "bmp"));
    form1->DesktopWallPaper.SetChecked(true);
    test::WriteFile(Src("profiles.ini"), "[Profile0]\r\nName=default\r\n");
    FirefoxProfilesIni = std::make_unique<win::IniFile>(Src("profiles.ini"));
    form1->FirefoxProfilesNames.AddItem("default", true);
    form1->FirefoxProfiles.AddItem("Profile0");
    form1->FFProfilesNames.AddItem("default");
    form1->FirefoxProfilesPaths.AddItem(Src("Firefox\\x1.default"));
    seed.RegString(HKEY_CURRENT_USER, "Identities\\{1A2B}", "Username", "Main Identity");
    form1->OEIdentitiesList.AddItem("Main Identity", true);
    form1->IdentitiesList.AddItem("{1A2B}");
    form1->IdentitiesPaths.AddItem(Src("Identities\\{1A2B}"));
    Source("Kept\\kept.txt", "kept");
    for (const char* folder : {"Stick", "Kept"}) form1->AdditionalDirectoriesList.AddItem(Src(folder));
    // Gone since Next: the documents folder, the wallpaper and the typed-addresses file.
    test::DeleteTree(Src("Documents"));
    DeleteFileA(Src("Walls\\Sunset.bmp").c_str());
    DeleteFileA(Src("Outlook\\Outlook.NK2").c_str());
    Launch();

    const std::vector<std::string> log = Messages();
    const std::vector<std::string> expected = {kStartLine,
                                               "E Folder not found: \"" + Src("Documents") + "\"",
                                               "E File not found: \"" + Src("Walls\\Sunset.bmp") + "\"",
                                               "E Folder not found: \"" + Src("Firefox\\x1.default") + "\"",
                                               "E Folder not found: \"" + Src("Identities\\{1A2B}") + "\"",
                                               "E File not found: \"" + Src("Outlook\\Outlook.NK2") + "\"",
                                               "E Folder not found: \"" + Src("Stick") + "\""};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + expected.size()), expected);
    EXPECT_EQ(ErrorCount, 6);
    const std::string below = Src("").substr(3);
    EXPECT_EQ(CopiedFiles(Store()),
              (std::set<std::string>{"Archive\\Desktop\\note.txt",
                                     "Archive\\AdditionalFolders\\Data\\C\\" + below + "Kept\\kept.txt"}));
    win::IniFile folders(Store() + "\\Archive\\AdditionalFolders\\Folders.ini");
    EXPECT_EQ(folders.ReadString("FROM", "1", ""), Src("Kept"));
    EXPECT_EQ(folders.ReadString("SAVED", "1", ""), "C\\" + below + "Kept");
    EXPECT_EQ(folders.ReadString("FROM", "2", "none"), "none");
    win::IniFile profiles(Store() + "\\Archive\\Firefox\\Profiles\\Profiles.ini");
    EXPECT_EQ(profiles.ReadString("default", "From", "none"), "none");
    EXPECT_EQ(Setting("BackupMyDocuments"), "YES");
}
