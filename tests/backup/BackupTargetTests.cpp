// Where each work-list entry's copy lies in the backup set, read from the main window's edits,
// lists and the registry as the copy loop calls it.
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/BackupTarget.h"

namespace {

struct Case {
    const char* what;
    const char* entry;     // tag + source path
    const char* expected;  // below the set's root; empty: no destination
};

class BackupTargetTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start();
        seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", "C:\\Users\\me\\Pictures\\Sunset.jpg");
        form1->StoragePath.SetText("E:\\Backups\\");
        form1->MyDocumentsPath.SetText("D:\\");
        form1->MyPicturesPath.SetText("C:\\Users\\me\\Pictures");
        form1->MyMusicPath.SetText("C:\\Users\\me\\Music\\");
        form1->MyVideosPath.SetText("C:\\Users\\me\\Videos");
        form1->DesktopPath.SetText("C:\\Users\\me\\Desktop");
        form1->QuickLaunchPath.SetText("C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch");
        form1->SharedDocumentsPath.SetText("C:\\Users\\Public\\Documents");
        form1->IEFavoritesPath.SetText("C:\\Users\\me\\Favorites");
        form1->WindowsMailPath.SetText("C:\\Users\\me\\AppData\\Local\\Microsoft\\Windows Live Mail");
        form1->OutlookNK2Path.SetText("C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Outlook\\Outlook.NK2");
        form1->WindowsCalendarPath.SetText("C:\\Users\\me\\AppData\\Local\\Microsoft\\Windows Calendar");
        form1->FontsPath.SetText("C:\\Windows\\Fonts");
        form1->RasPhonePath.SetText("C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk");

        // Firefox: x1.default-1 before x1.default, whose folder name begins the same way; a roaming
        // profile on a share; a name that climbs out of the set.
        test::WriteFile(scratch / "firefox.ini",
                        "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=a/b\r\n\r\n"
                        "[Profile1]\r\nName=default\r\n\r\n[Profile2]\r\nName=roaming\r\n\r\n"
                        "[Profile3]\r\nName=../../../Windows\r\n");
        FirefoxProfilesIni = std::make_unique<win::IniFile>(scratch / "firefox.ini");
        const std::string ff = "C:\\Users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
        for (const char* section : {"Profile0", "Profile1", "Profile2", "Profile3"}) form1->FirefoxProfiles.AddItem(section);
        for (const std::string& folder : {ff + "x1.default-1", ff + "x1.default", std::string("\\\\nas\\home\\ff"),
                                          std::string("C:\\evil")})
            form1->FirefoxProfilesPaths.AddItem(folder);

        test::WriteFile(scratch / "thunderbird.ini", "[General]\r\n\r\n[Profile0]\r\nName=mail\r\n");
        ThunderbirdProfilesIni = std::make_unique<win::IniFile>(scratch / "thunderbird.ini");
        form1->ThunderbirdProfiles.AddItem("Profile0");
        form1->ThunderbirdProfilesPaths.AddItem("D:\\Mail\\tb.default\\");
    }

    std::string Target(const std::string& entry) {
        std::string destination = "unchanged";
        const std::string tag = entry.substr(0, 10);
        const bool mapped = form1->MapBackupTarget(tag, entry.substr(10), entry, destination);
        EXPECT_EQ(mapped, !destination.empty()) << entry;
        return destination;
    }
    void Expect(const Case& c, const std::string& root) {
        EXPECT_EQ(Target(c.entry), *c.expected ? root + c.expected : std::string()) << c.what;
    }

    test::ScratchFolder scratch{"BackupTarget"};
    test::Seed seed;
};

const Case kCases[] = {
    {"drive root", "[MYDOCS--]D:\\a.txt", "\\Archive\\Documents\\a.txt"},
    {"drive root, sub-folder", "[MYDOCS--]D:\\Letters\\2009\\b.doc", "\\Archive\\Documents\\Letters\\2009\\b.doc"},
    {"pictures", "[PICTURES]C:\\Users\\me\\Pictures\\Trip\\p.jpg", "\\Archive\\Pictures\\Trip\\p.jpg"},
    {"a sibling folder that begins with the same text", "[PICTURES]C:\\Users\\me\\Pictures Old\\p.jpg", ""},
    {"edit with a trailing backslash", "[MYMUSIC-]C:\\Users\\me\\Music\\song.mp3", "\\Archive\\Music\\song.mp3"},
    {"videos", "[MYVIDEOS]C:\\Users\\me\\Videos\\clip.avi", "\\Archive\\Videos\\clip.avi"},
    {"case ignored", "[DESKTOP-]C:\\USERS\\ME\\DESKTOP\\Notes.txt", "\\Archive\\Desktop\\Notes.txt"},
    {"quick launch", "[QULAUNCH]C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\Web.lnk",
     "\\Archive\\QuickLaunch\\Web.lnk"},
    {"wallpaper", "[WALLPAPE]C:\\Users\\me\\Pictures\\Sunset.jpg", "\\Archive\\WallPaper\\File\\Sunset.jpg"},
    {"shared documents", "[SHAREDOC]C:\\Users\\Public\\Documents\\s.xls", "\\Archive\\SharedDocs\\s.xls"},
    {"favourites", "[FAVORITE]C:\\Users\\me\\Favorites\\Links\\x.url",
     "\\Archive\\Internet Explorer\\Favorites\\Links\\x.url"},
    {"mail store", "[WINMAIL-]C:\\Users\\me\\AppData\\Local\\Microsoft\\Windows Live Mail\\Inbox\\1.eml",
     "\\Archive\\WindowsMail\\Inbox\\1.eml"},
    {"calendar", "[WINCAL--]C:\\Users\\me\\AppData\\Local\\Microsoft\\Windows Calendar\\Calendars\\me.ics",
     "\\Archive\\WindowsCalendar\\Calendars\\me.ics"},
    {"fonts", "[FONTS---]C:\\Windows\\Fonts\\Handwriting.ttf", "\\Archive\\Fonts\\Handwriting.ttf"},
    {"auto-complete file under its fixed name",
     "[OUTLKNK2]C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Outlook\\Outlook.NK2", "\\Archive\\OutlookNk2\\Outlook.nk2"},
    {"phone book under its fixed name", "[RASPHONE]C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk",
     "\\Archive\\Rasphone\\Rasphone.pbk"},
    {"outlook data file, flat", "[OUTLOOK-]C:\\Mail\\Old\\Archive 2008.pst", "\\Archive\\OutlookPST\\Archive 2008.pst"},
    {"profile file at the top", "[FIREFOX-]C:\\Users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\x1.default\\prefs.js",
     "\\Archive\\Firefox\\Profiles\\C\\default\\prefs.js"},
    {"profile name a/b, and a folder name the other profile's begins",
     "[FIREFOX-]C:\\Users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\x1.default-1\\chrome\\u.css",
     "\\Archive\\Firefox\\Profiles\\C\\a\\b\\chrome\\u.css"},
    {"profile on a share", "[FIREFOX-]\\\\nas\\home\\ff\\places.sqlite",
     "\\Archive\\Firefox\\Profiles\\UNC\\nas\\home\\roaming\\places.sqlite"},
    {"profile name that climbs out", "[FIREFOX-]C:\\evil\\prefs.js", ""},
    {"file of no profile", "[FIREFOX-]C:\\Elsewhere\\prefs.js", ""},
    {"thunderbird, folder with a trailing backslash", "[THUNDER-]D:\\Mail\\tb.default\\Mail\\Inbox",
     "\\Archive\\Thunderbird\\Profiles\\D\\mail\\Mail\\Inbox"},
    {"identity", "[OEXPRESS]C:\\Documents and Settings\\me\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx",
     "\\Archive\\OutlookExpress\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx"},
    {"identity path with a second brace",
     "[OEXPRESS]C:\\Documents and Settings\\me\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\{old}\\Inbox.dbx",
     "\\Archive\\OutlookExpress\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\{old}\\Inbox.dbx"},
    {"identity store outside Identities", "[OEXPRESS]D:\\Mail Store\\Inbox.dbx", ""},
    {"extra file on E:", "[ADDFILES]E:\\x\\y.doc", "\\Archive\\AdditionalFiles\\Data\\E\\x\\y.doc"},
    {"extra file on a share", "[ADDFILES]\\\\nas\\home\\z.txt", "\\Archive\\AdditionalFiles\\Data\\UNC\\nas\\home\\z.txt"},
    {"extra file without a drive", "[ADDFILES]x\\y.doc", ""},
    {"file of an extra folder", "[ADDDIR--]D:\\Work\\Old\\a.txt", "\\Archive\\AdditionalFolders\\Data\\D\\Work\\Old\\a.txt"},
    {"unknown tag", "[UNKNOWN-]C:\\a.txt", ""},
};

}  // namespace

TEST_F(BackupTargetTest, EveryTagMapsIntoItsFolderOfTheSet) {
    for (const Case& c : kCases) Expect(c, "E:\\Backups");
}

// The folder under Archive that the set's check of the storage folder names for each tag is the
// one the tag's copies go into.
TEST_F(BackupTargetTest, EachTagsArchiveFolderHoldsItsCopies) {
    const std::string archive = "\\Archive\\";
    for (const Case& c : kCases) {
        if (!*c.expected) continue;
        const std::string below = std::string(c.expected).substr(archive.size());
        EXPECT_EQ(ArchiveFolderOf(std::string(c.entry).substr(0, 10)), below.substr(0, below.find('\\'))) << c.what;
    }
    EXPECT_EQ(ArchiveFolderOf("[UNKNOWN-]"), "");
}

TEST_F(BackupTargetTest, TheRootFollowsTheStorageEditAndTheSubFolderOption) {
    form1->StoragePath.SetText("E:\\Backups");
    EXPECT_EQ(Target("[DESKTOP-]C:\\Users\\me\\Desktop\\a.txt"), "E:\\Backups\\Archive\\Desktop\\a.txt");
    BackupSubFolderSuffix = "\\2009-05-01 - Halvorkeep - me";
    for (const Case& c : kCases) Expect(c, "E:\\Backups\\2009-05-01 - Halvorkeep - me");
    // A storage folder on a drive root.
    form1->StoragePath.SetText("F:\\");
    BackupSubFolderSuffix.clear();
    EXPECT_EQ(Target("[ADDFILES]E:\\x\\y.doc"), "F:\\Archive\\AdditionalFiles\\Data\\E\\x\\y.doc");
    // Typed as Windows reads it: the dots and blanks that end a name go, "." and ".." steps too.
    form1->StoragePath.SetText("E:\\Backups. \\");
    EXPECT_EQ(Target("[DESKTOP-]C:\\Users\\me\\Desktop\\a.txt"), "E:\\Backups\\Archive\\Desktop\\a.txt");
    form1->StoragePath.SetText("E:\\Old.\\..\\Backups\\.");
    BackupSubFolderSuffix = "\\2009-05-01 - Halvorkeep - Jr.";
    EXPECT_EQ(Target("[DESKTOP-]C:\\Users\\me\\Desktop\\a.txt"),
              "E:\\Backups\\2009-05-01 - Halvorkeep - Jr\\Archive\\Desktop\\a.txt");
    BackupSubFolderSuffix.clear();
}

TEST_F(BackupTargetTest, TheWallpaperFolderIsReadAgainForEveryEntry) {
    seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", "D:\\Walls\\Blue.bmp");
    EXPECT_EQ(Target("[WALLPAPE]D:\\Walls\\Blue.bmp"), "E:\\Backups\\Archive\\WallPaper\\File\\Blue.bmp");
    EXPECT_EQ(Target("[WALLPAPE]C:\\Users\\me\\Pictures\\Sunset.jpg"), "") << "no longer the wallpaper's folder";
    seed.RegRemoveValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
    EXPECT_EQ(Target("[WALLPAPE]D:\\Walls\\Blue.bmp"), "");
}

TEST_F(BackupTargetTest, TheAddressBookIsAFolderOnVistaAndSevenAndOneFileBefore) {
    const std::string root = "E:\\Backups\\Archive\\AdressBook";
    for (const char* code : {"VISTA", "SEVEN"}) {
        WindowsVersionCode = code;
        form1->WabPath.SetText("C:\\Users\\me\\Contacts");
        EXPECT_EQ(Target("[WAB-----]C:\\Users\\me\\Contacts\\Friends\\Ann.contact"), root + "\\Friends\\Ann.contact") << code;
    }
    WindowsVersionCode = "2K-XP";
    form1->WabPath.SetText("C:\\Documents and Settings\\me\\Application Data\\Microsoft\\Address Book\\me.wab");
    EXPECT_EQ(Target("[WAB-----]C:\\Documents and Settings\\me\\Application Data\\Microsoft\\Address Book\\me.wab"),
              root + "\\AddressBook.wab");
}
