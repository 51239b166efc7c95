// Next on the welcome page, in prefixes seeded like a user's Windows XP, Vista and 7: what it
// finds, what it leaves alone, and what a second Next and the remembered choices change.
#include <shlobj.h>
#include <map>
#include <shlwapi.h>
#include "DetectionCategories.h"
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"

namespace {

// A key of HKCU moved away for the test (values and sub-keys) and put back afterwards.
class UserKeyAside {
public:
    explicit UserKeyAside(const std::string& key) : key_(key), aside_(AsideKey(key)) {
        HKEY from = nullptr, to = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &from) != ERROR_SUCCESS) return;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, aside_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to,
                            nullptr) == ERROR_SUCCESS) {
            moved_ = SHCopyKeyA(from, nullptr, to, 0) == ERROR_SUCCESS;
            RegCloseKey(to);
        }
        RegCloseKey(from);
        if (moved_) SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    }
    ~UserKeyAside() {
        if (!moved_) return;
        HKEY from = nullptr, to = nullptr;
        SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
        if (RegOpenKeyExA(HKEY_CURRENT_USER, aside_.c_str(), 0, KEY_READ, &from) == ERROR_SUCCESS) {
            if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to,
                                nullptr) == ERROR_SUCCESS) {
                SHCopyKeyA(from, nullptr, to, 0);
                RegCloseKey(to);
            }
            RegCloseKey(from);
        }
        SHDeleteKeyA(HKEY_CURRENT_USER, aside_.c_str());
        SHDeleteEmptyKeyA(HKEY_CURRENT_USER, AsideKey("").c_str());
        SHDeleteEmptyKeyA(HKEY_CURRENT_USER, "Software\\HkTestAside");
    }
    UserKeyAside(const UserKeyAside&) = delete;
    UserKeyAside& operator=(const UserKeyAside&) = delete;

private:
    static std::string AsideKey(std::string key) {
        for (char& c : key)
            if (c == '\\') c = '_';
        return "Software\\HkTestAside\\" + std::to_string(GetCurrentProcessId()) + (key.empty() ? "" : "\\" + key);
    }
    std::string key_, aside_;
    bool moved_ = false;
};

std::vector<bool> Checks(const ui::CheckListBox& list) {
    std::vector<bool> checks;
    for (int i = 0; i < list.Count(); ++i) checks.push_back(list.Checked(i));
    return checks;
}

std::vector<std::string> ComboItems(const ui::ComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.Count(); ++i) items.push_back(combo.Item(i));
    return items;
}

// profiles.ini as Firefox and Thunderbird write it: the general section first, "/" in paths.
std::string ProfilesIni(const std::vector<std::vector<std::string>>& profiles) {
    std::string text = "[General]\r\nStartWithLastProfile=1\r\n";
    for (size_t i = 0; i < profiles.size(); ++i) {
        text += "\r\n[Profile" + std::to_string(i) + "]\r\nName=" + profiles[i][0] + "\r\nIsRelative=" +
                profiles[i][1] + "\r\nPath=" + profiles[i][2] + "\r\n";
        if (i == 0) text += "Default=1\r\n";
    }
    return text;
}

std::string Slashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// The text in UTF-16 with its byte-order mark; the text holds Latin-1 letters only.
std::string Utf16(const std::string& latin1, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : latin1) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

const char* const kIdentity1 = "{1A2B3C4D-0000-4000-8000-000000000001}";
const char* const kIdentity2 = "{1A2B3C4D-0000-4000-8000-000000000002}";

class DetectionTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        profile = test::SpecialFolder(CSIDL_PROFILE);
        appData = test::SpecialFolder(CSIDL_APPDATA);
        localAppData = test::SpecialFolder(CSIDL_LOCAL_APPDATA);
        ASSERT_NE(profile, "");
        ASSERT_NE(appData, "");
        ASSERT_NE(localAppData, "");
        // Profiles that earlier tests or the prefix left behind would mix with this test's.
        for (const char* folder : {"\\Mozilla", "\\Thunderbird"}) seed.Hide(appData + folder);
    }

    bool Xp() const { return test::Group() == "xp"; }
    bool Vista() const { return test::Group() == "vista"; }
    bool Seven() const { return test::Group() == "win7"; }

    // Starts the program and presses Next with an existing storage folder (backup mode).
    void StartAndPressNext() {
        Start();
        const char* code = Xp() ? "2K-XP" : Vista() ? "VISTA" : "SEVEN";
        ASSERT_EQ(WindowsVersionCode, code) << "the prefix of group " << test::Group();
        Type(form1->StoragePath, storage.path());
        ASSERT_TRUE(form1->WelcomeNext.Enabled());
        Click(form1->WelcomeNext);
    }
    void PressNextAgain() {
        Click(form1->Backup1Previous);
        ASSERT_TRUE(form1->WelcomePanel.Visible());
        Click(form1->WelcomeNext);
    }

    // Two identities, the first with its store folder, the second without.
    void SeedIdentities() {
        const std::string root = "Identities\\";
        seed.RegString(HKEY_CURRENT_USER, root + kIdentity1, "Username", "Main Identity");
        seed.RegString(HKEY_CURRENT_USER, root + kIdentity1 + "\\Software\\Microsoft\\Outlook Express\\5.0",
                       "Store Root",
                       std::string("%UserProfile%\\Local Settings\\Application Data\\Identities\\") + kIdentity1 +
                           "\\Microsoft\\Outlook Express\\",
                       REG_EXPAND_SZ);
        seed.RegString(HKEY_CURRENT_USER, root + kIdentity2, "Username", "Kids");
        seed.RegKey(HKEY_CURRENT_USER, root + kIdentity2 + "\\Software\\Microsoft\\Outlook Express\\5.0");
    }

    test::Seed seed;
    test::ScratchFolder storage{"Storage"};
    std::string profile, appData, localAppData;
};

}  // namespace

TEST_F(DetectionTest, OnAMachineWithoutAnyDataOnlyTheDesktopIsFoundAndEveryMarkStays) {
    const std::string commonAppData = test::SpecialFolder(CSIDL_COMMON_APPDATA);
    for (int csidl : {CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO, CSIDL_FAVORITES,
                      CSIDL_COMMON_DOCUMENTS, CSIDL_FONTS}) {
        const std::string folder = test::SpecialFolder(csidl);
        ASSERT_NE(folder, "") << csidl;
        seed.Hide(folder);
    }
    for (const std::string& path :
         {profile + "\\Contacts", appData + "\\Microsoft\\Internet Explorer\\Quick Launch",
          appData + "\\Microsoft\\Outlook", localAppData + "\\Microsoft\\Outlook",
          localAppData + "\\Microsoft\\Windows Mail", localAppData + "\\Microsoft\\Windows Calendar",
          commonAppData + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"})
        seed.Hide(path);
    seed.RegRemoveValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
    UserKeyAside ieMain("Software\\Microsoft\\Internet Explorer\\Main"), identities("Identities"),
        liveMail("Software\\Microsoft\\Windows Live Mail"), wab("Software\\Microsoft\\WAB");

    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    EXPECT_TRUE(f.BackupTabs.Visible());
    EXPECT_EQ(f.BackupTabs.ActivePage(), &f.BackupTabSheet1);
    EXPECT_FALSE(f.WelcomePanel.Visible());
    for (const PathCategory& c : PathCategories(f)) {
        if (std::string(c.name) == "Desktop") continue;
        EXPECT_EQ(c.edit.Text(), "") << c.name;
        EXPECT_FALSE(c.box.Enabled()) << c.name;
        EXPECT_FALSE(c.box.Checked()) << c.name;
        EXPECT_TRUE(c.wrong.Visible()) << c.name;
    }
    // The desktop is always there; the start page's key is not.
    EXPECT_EQ(f.DesktopPath.Text(), test::SpecialFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_TRUE(f.Desktop.Checked());
    EXPECT_TRUE(f.IEStartPage.Enabled());
    EXPECT_FALSE(f.IEStartPage.Checked());
    EXPECT_FALSE(f.DesktopWallPaper.Enabled());
    EXPECT_FALSE(f.DesktopWallPaper.Checked());
    for (ui::Picture* mark : {&f.FirefoxProfileWrong, &f.ThunderbirdProfileWrong, &f.IdentitiesWrong, &f.PSTWrong})
        EXPECT_TRUE(mark->Visible());
    for (ui::ListBox* list : {static_cast<ui::ListBox*>(&f.FirefoxProfilesNames), &f.FirefoxProfiles,
                              &f.FFProfilesNames, &f.FirefoxProfilesPaths,
                              static_cast<ui::ListBox*>(&f.ThunderbirdProfilesNames), &f.ThunderbirdProfiles,
                              &f.TBProfilesNames, &f.ThunderbirdProfilesPaths,
                              static_cast<ui::ListBox*>(&f.OEIdentitiesList), &f.IdentitiesList, &f.IdentitiesPaths,
                              static_cast<ui::ListBox*>(&f.PSTList)})
        EXPECT_EQ(list->Count(), 0) << list->id();
    EXPECT_FALSE(FirefoxProfilesIni);
    EXPECT_FALSE(ThunderbirdProfilesIni);
    // The test prefixes have one fixed drive.
    EXPECT_EQ(ComboItems(f.SelectPSTDrive), (std::vector<std::string>{"Local HDDS", "C:\\"}));
    EXPECT_EQ(f.SelectPSTDrive.ItemIndex(), 0);
}

TEST_F(DetectionTest, EveryCategoryIsFoundInTheDefaultPlaceOfItsWindowsVersion) {
    const std::string commonAppData = test::SpecialFolder(CSIDL_COMMON_APPDATA);
    const std::string quickLaunch = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
    seed.File(quickLaunch + "\\Show Desktop.scf", "[Shell]\r\nCommand=2\r\n");
    const std::string wallpaper = seed.File(test::SpecialFolder(CSIDL_MYPICTURES) + "\\Sunset.bmp", "BM");
    seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", wallpaper);
    // Both mail stores are there: the version decides which one is taken.
    seed.Folder(localAppData + "\\Microsoft\\Windows Mail\\Local Folders");
    const std::string liveMail = localAppData + "\\Microsoft\\Windows Live Mail";
    seed.File(liveMail + "\\Inbox\\message.eml", "Subject: hello\r\n\r\nHi\r\n");
    seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows Live Mail", "Store Root",
                   "%USERPROFILE%" + liveMail.substr(profile.size()), REG_EXPAND_SZ);
    const std::string pst = seed.File(localAppData + "\\Microsoft\\Outlook\\Outlook.pst", "!BDN");
    const std::string nk2 = seed.File(appData + "\\Microsoft\\Outlook\\Outlook.nk2", "nk2");
    // Both address books are there too.
    seed.File(profile + "\\Contacts\\Ann Smith.contact", "<contact/>");
    const std::string wabFile = seed.File(appData + "\\Microsoft\\Address Book\\" + GetCurrentUserName() + ".wab", "wab");
    seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", wabFile);
    const std::string calendar = localAppData + "\\Microsoft\\Windows Calendar";
    seed.File(calendar + "\\Calendars\\Personal.ics", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    const std::string rasphone =
        seed.File(commonAppData + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk", "[Home]\r\nDevice=modem\r\n");
    seed.File(appData + "\\Thunderbird\\Profiles\\m3k1.default\\prefs.js", "// prefs");
    seed.File(appData + "\\Thunderbird\\profiles.ini", ProfilesIni({{"default", "1", "Profiles/m3k1.default"}}));
    SeedIdentities();

    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    const std::map<std::string, std::string> expected = {
        {"MyDocuments", test::SpecialFolder(CSIDL_PERSONAL)},
        {"Desktop", test::SpecialFolder(CSIDL_DESKTOPDIRECTORY)},
        {"Quicklaunch", Seven() ? "" : quickLaunch},
        {"MyPictures", test::SpecialFolder(CSIDL_MYPICTURES)},
        {"MyMusic", test::SpecialFolder(CSIDL_MYMUSIC)},
        {"MyVideos", test::SpecialFolder(CSIDL_MYVIDEO)},
        {"IEFavorites", test::SpecialFolder(CSIDL_FAVORITES)},
        {"OutlookNk2", nk2},
        {"WindowsMail", Vista() ? localAppData + "\\Microsoft\\Windows Mail" : liveMail},
        {"Wab", Xp() ? wabFile : profile + "\\Contacts"},
        {"SharedDocuments", test::SpecialFolder(CSIDL_COMMON_DOCUMENTS)},
        {"WindowsCalendar", calendar},
        {"Fonts", test::SpecialFolder(CSIDL_FONTS)},
        {"Rasphone", rasphone}};
    for (const PathCategory& c : PathCategories(f)) {
        const std::string& path = expected.at(c.name);
        EXPECT_EQ(c.edit.Text(), path) << c.name;
        EXPECT_EQ(c.box.Enabled(), !path.empty()) << c.name;
        EXPECT_EQ(c.box.Checked(), !path.empty()) << c.name;
        EXPECT_EQ(c.wrong.Visible(), path.empty()) << c.name;
    }
    // Windows 7 has no Quick Launch bar: its edit is shut, even though the folder is there.
    EXPECT_EQ(f.QuickLaunchPath.Enabled(), !Seven());
    EXPECT_TRUE(f.DesktopWallPaper.Enabled());
    EXPECT_TRUE(f.DesktopWallPaper.Checked());
    EXPECT_TRUE(f.IEStartPage.Checked()) << "Wine's HKCU holds Internet Explorer\\Main";

    EXPECT_EQ(f.PSTList.Items(), std::vector<std::string>{pst});
    EXPECT_EQ(Checks(f.PSTList), std::vector<bool>{true});
    EXPECT_FALSE(f.PSTWrong.Visible());
    EXPECT_EQ(f.ThunderbirdProfilesPaths.Items(),
              std::vector<std::string>{appData + "\\Thunderbird\\Profiles\\m3k1.default"});
    EXPECT_FALSE(f.ThunderbirdProfileWrong.Visible());
    EXPECT_TRUE(f.FirefoxProfileWrong.Visible()) << "no Firefox here";

    // Outlook Express identities exist before Vista only; one without a store folder stays
    // unticked with an empty path, so the three lists keep one index per identity.
    if (Xp()) {
        EXPECT_EQ(f.IdentitiesList.Items(), (std::vector<std::string>{kIdentity1, kIdentity2}));
        EXPECT_EQ(f.OEIdentitiesList.Items(), (std::vector<std::string>{"Main Identity", "Kids"}));
        EXPECT_EQ(Checks(f.OEIdentitiesList), (std::vector<bool>{true, false}));
        EXPECT_EQ(f.IdentitiesPaths.Items(),
                  (std::vector<std::string>{profile + "\\Local Settings\\Application Data\\Identities\\" + kIdentity1,
                                            ""}));
        EXPECT_FALSE(f.IdentitiesWrong.Visible());
    } else {
        EXPECT_EQ(f.IdentitiesList.Count() + f.OEIdentitiesList.Count() + f.IdentitiesPaths.Count(), 0);
        EXPECT_TRUE(f.IdentitiesWrong.Visible());
    }
}

TEST_F(DetectionTest, IdentitiesWithoutAnyStoreFolderLeaveTheListsEmpty) {
    seed.RegString(HKEY_CURRENT_USER, std::string("Identities\\") + kIdentity2, "Username", "Kids");
    seed.RegString(HKEY_CURRENT_USER, std::string("Identities\\") + kIdentity1, "Username", "Main Identity");
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    EXPECT_EQ(form1->OEIdentitiesList.Count(), 0);
    EXPECT_EQ(form1->IdentitiesList.Count(), 0);
    EXPECT_EQ(form1->IdentitiesPaths.Count(), 0);
    EXPECT_TRUE(form1->IdentitiesWrong.Visible());
}

TEST_F(DetectionTest, FoundProfilesAreDecoratedAndTickedAndMissingOnesStayBare) {
    const std::string firefox = appData + "\\Mozilla\\Firefox";
    seed.File(firefox + "\\Profiles\\k2x9.default\\prefs.js", "user_pref(\"browser.startup.page\", 1);\n");
    seed.File(firefox + "\\Profiles\\k2x9.default\\bookmarks.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
    const std::string elsewhere = seed.Folder(profile + "\\Web Profiles\\Work");
    seed.File(firefox + "\\profiles.ini", ProfilesIni({{"default", "1", "Profiles/k2x9.default"},
                                                       {"Work", "0", Slashes(elsewhere)},
                                                       {"Old", "1", "Profiles/gone.old"}}));
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    const std::string found = firefox + "\\Profiles\\k2x9.default";
    EXPECT_EQ(f.FirefoxProfiles.Items(), (std::vector<std::string>{"Profile0", "Profile1", "Profile2"}));
    EXPECT_EQ(f.FirefoxProfilesNames.Items(),
              (std::vector<std::string>{"\"default\" (" + found + ")", "\"Work\" (" + elsewhere + ")", "Old"}));
    EXPECT_EQ(Checks(f.FirefoxProfilesNames), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(f.FFProfilesNames.Items(), (std::vector<std::string>{"default", "Work", "Old"}));
    EXPECT_EQ(f.FirefoxProfilesPaths.Items(),
              (std::vector<std::string>{found, elsewhere, firefox + "\\Profiles\\gone.old"}));
    EXPECT_FALSE(f.FirefoxProfileWrong.Visible());
    ASSERT_TRUE(FirefoxProfilesIni);
    EXPECT_EQ(FirefoxProfilesIni->FileName(), firefox + "\\profiles.ini");

    // Only a missing profile: listed bare, and the mark goes all the same.
    seed.File(appData + "\\Thunderbird\\profiles.ini", ProfilesIni({{"default", "1", "Profiles/none.default"}}));
    PressNextAgain();
    EXPECT_EQ(f.ThunderbirdProfilesNames.Items(), std::vector<std::string>{"default"});
    EXPECT_EQ(Checks(f.ThunderbirdProfilesNames), std::vector<bool>{false});
    EXPECT_FALSE(f.ThunderbirdProfileWrong.Visible());
}

// profiles.ini as the browsers have written it since 2019: an [Install...] section per
// installation first, the profiles newest first, [General] last.
TEST_F(DetectionTest, TodaysLayoutListsTheProfilesAloneWhereverGeneralAndInstallSectionsStand) {
    const std::string firefox = appData + "\\Mozilla\\Firefox", thunderbird = appData + "\\Thunderbird";
    seed.Folder(firefox + "\\Profiles\\lxhv1gjb.default-release");
    seed.Folder(thunderbird + "\\Profiles\\p0q9r8s7.default-release");
    seed.File(firefox + "\\profiles.ini",
              "[Install308046B0AF4A39CB]\r\nDefault=Profiles/lxhv1gjb.default-release\r\nLocked=1\r\n\r\n"
              "[Profile1]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/lxhv1gjb.default-release\r\n\r\n"
              "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a1b2c3d4.default\r\nDefault=1\r\n\r\n"
              "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    // Two installations; a [General] between them, as a hand-edited file may have it.
    seed.File(thunderbird + "\\profiles.ini",
              "[InstallFDC34C9F024745EB]\r\nDefault=Profiles/p0q9r8s7.default-release\r\nLocked=1\r\n\r\n"
              "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n\r\n"
              "[install2656FF1E876E9973]\r\nDefault=Profiles/p0q9r8s7.default-release\r\n\r\n"
              "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/p0q9r8s7.default-release\r\n");
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    const std::string release = firefox + "\\Profiles\\lxhv1gjb.default-release";
    EXPECT_EQ(f.FirefoxProfiles.Items(), (std::vector<std::string>{"Profile1", "Profile0"}));
    EXPECT_EQ(f.FirefoxProfilesNames.Items(),
              (std::vector<std::string>{"\"default-release\" (" + release + ")", "default"}));
    EXPECT_EQ(Checks(f.FirefoxProfilesNames), (std::vector<bool>{true, false}));
    EXPECT_EQ(f.FFProfilesNames.Items(), (std::vector<std::string>{"default-release", "default"}));
    EXPECT_EQ(f.FirefoxProfilesPaths.Items(),
              (std::vector<std::string>{release, firefox + "\\Profiles\\a1b2c3d4.default"}));
    EXPECT_EQ(f.ThunderbirdProfiles.Items(), std::vector<std::string>{"Profile0"});
    EXPECT_EQ(f.TBProfilesNames.Items(), std::vector<std::string>{"default-release"});
    EXPECT_EQ(Checks(f.ThunderbirdProfilesNames), std::vector<bool>{true});
    EXPECT_FALSE(f.ThunderbirdProfileWrong.Visible());
}

TEST_F(DetectionTest, UnicodeProfileFilesAreSavedAgainAsAnsiUnlessACharacterWouldBeLost) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::string firefoxIni = appData + "\\Mozilla\\Firefox\\profiles.ini";
    const std::string thunderbirdIni = appData + "\\Thunderbird\\profiles.ini";
    seed.Folder(appData + "\\Mozilla\\Firefox\\Profiles\\a1.default");
    seed.Folder(appData + "\\Thunderbird\\Profiles\\b2.default");
    const std::string firefoxText = ProfilesIni({{"Zo\xE9", "1", "Profiles/a1.default"}});
    const std::string thunderbirdText = ProfilesIni({{"Ren\xE9" "e", "1", "Profiles/b2.default"}});
    seed.File(firefoxIni, Utf16(firefoxText, false));
    seed.File(thunderbirdIni, Utf16(thunderbirdText, true));
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    EXPECT_EQ(test::ReadFile(firefoxIni), firefoxText) << "UTF-16LE";
    EXPECT_EQ(test::ReadFile(thunderbirdIni), thunderbirdText) << "UTF-16BE";
    EXPECT_EQ(f.FFProfilesNames.Items(), std::vector<std::string>{"Zo\xE9"});
    EXPECT_EQ(f.TBProfilesNames.Items(), std::vector<std::string>{"Ren\xE9" "e"});
    EXPECT_EQ(Checks(f.FirefoxProfilesNames), std::vector<bool>{true});

    // UTF-8 with its mark is saved again too; a Greek name (outside code page 1252) keeps its
    // file as it was, and the profile is still read from it.
    std::string utf8 = firefoxText;
    utf8.replace(utf8.find("Zo\xE9"), 3, "Zo\xC3\xA9");
    seed.File(firefoxIni, "\xEF\xBB\xBF" + utf8);
    std::string greek = Utf16(thunderbirdText, false);
    const size_t name = greek.find(std::string("R\0e\0n\0", 6));
    ASSERT_NE(name, std::string::npos);
    greek.replace(name, 2, std::string("\xA9\x03", 2));  // an omega in place of the R
    seed.File(thunderbirdIni, greek);
    PressNextAgain();
    EXPECT_EQ(test::ReadFile(firefoxIni), firefoxText) << "UTF-8";
    EXPECT_EQ(test::ReadFile(thunderbirdIni), greek);
    EXPECT_EQ(f.ThunderbirdProfilesPaths.Items(),
              std::vector<std::string>{appData + "\\Thunderbird\\Profiles\\b2.default"});
    EXPECT_EQ(Checks(f.ThunderbirdProfilesNames), std::vector<bool>{true});
    ASSERT_EQ(f.TBProfilesNames.Count(), 1);
    EXPECT_EQ(f.TBProfilesNames.Item(0).substr(1), "en\xE9" "e");
}

TEST_F(DetectionTest, ASecondNextStartsTheDataListsAfreshAndKeepsTheUsersUnchangedChoices) {
    const std::string pst = seed.File(localAppData + "\\Microsoft\\Outlook\\Outlook.pst", "!BDN");
    const std::string firefox = appData + "\\Mozilla\\Firefox";
    seed.Folder(firefox + "\\Profiles\\k2x9.default");
    seed.File(firefox + "\\profiles.ini", ProfilesIni({{"default", "1", "Profiles/k2x9.default"}}));
    SeedIdentities();
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    const std::string pictures = f.MyPicturesPath.Text();
    ASSERT_TRUE(f.MyMusic.Checked());
    ASSERT_TRUE(f.MyPictures.Checked());

    // A data file the user added by hand, a category the user unticked, a path the user changed.
    f.PSTList.AddItem("C:\\Mail\\archive.pst", true);
    Click(f.MyMusic);
    ASSERT_FALSE(f.MyMusic.Checked());
    Type(f.MyPicturesPath, pictures + "\\missing");
    ASSERT_FALSE(f.MyPictures.Checked());
    // The Firefox file goes away between the two runs.
    seed.Hide(firefox + "\\profiles.ini");

    PressNextAgain();
    EXPECT_TRUE(f.BackupTabs.Visible());
    EXPECT_EQ(f.PSTList.Items(), std::vector<std::string>{pst});
    EXPECT_FALSE(f.MyMusic.Checked()) << "the same path written again runs no check";
    EXPECT_EQ(f.MyPicturesPath.Text(), pictures);
    EXPECT_TRUE(f.MyPictures.Checked()) << "the found path written over the user's runs the check";
    EXPECT_EQ(f.FirefoxProfilesPaths.Items(), std::vector<std::string>{firefox + "\\Profiles\\k2x9.default"})
        << "without its file the lists keep what they held";
    EXPECT_EQ(f.SelectPSTDrive.Count(), 2);
    EXPECT_EQ(f.IdentitiesList.Count(), Xp() ? 2 : 0);
    EXPECT_EQ(f.OEIdentitiesList.Count(), Xp() ? 2 : 0);
    EXPECT_EQ(f.IdentitiesPaths.Count(), Xp() ? 2 : 0);
}

TEST_F(DetectionTest, OnlyAnExactNoRemembersARefusalAndOnlyInBackupMode) {
    WriteSettings(
        "[CONFIG]\r\nBackupMyMusic=NO\r\nBackupMyPictures=no\r\nBackupDesktop=NO\r\nBackupIEStartPage=NO\r\n"
        "BackupFonts=YES\r\nBackupMyVideos= NO\r\n");
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    TForm1& f = *form1;
    EXPECT_FALSE(f.MyMusic.Checked());
    EXPECT_TRUE(f.MyMusic.Enabled()) << "a refusal leaves the category on offer";
    EXPECT_FALSE(f.Desktop.Checked());
    EXPECT_TRUE(f.Desktop.Enabled());
    EXPECT_FALSE(f.IEStartPage.Checked());
    EXPECT_TRUE(f.MyPictures.Checked()) << "\"no\"";
    EXPECT_TRUE(f.Fonts.Checked());
    EXPECT_FALSE(f.MyVideos.Checked()) << "INI values lose their blanks";

    // Restore mode: the same settings untick nothing, and the restore pages show.
    Start();
    Click(form1->RestoreData);
    form1->WelcomeNextClick();
    EXPECT_TRUE(form1->RestoreTabs.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
    EXPECT_TRUE(form1->MyMusic.Checked());
    EXPECT_TRUE(form1->Desktop.Checked());
    EXPECT_TRUE(form1->IEStartPage.Checked());
}

TEST_F(DetectionTest, WithoutApplicationDataFoldersNothingIsLookedForAtTheRootOfTheDrive) {
    // A special folder that is missing is one the shell does not know: an empty path. The places
    // inside it must then not be looked for at the root of the current drive.
    for (const char* path : {"C:\\Microsoft\\Outlook\\Outlook.pst", "C:\\Microsoft\\Outlook\\Outlook.nk2",
                             "C:\\Mozilla\\Firefox\\profiles.ini", "C:\\Thunderbird\\profiles.ini"})
        seed.File(path, "[General]\r\n\r\n[Profile0]\r\nName=root\r\nIsRelative=0\r\nPath=C:/\r\n");
    for (const char* folder : {"C:\\Microsoft\\Windows Calendar", "C:\\Microsoft\\Windows Mail",
                               "C:\\Microsoft\\Internet Explorer\\Quick Launch"})
        seed.Folder(folder);
    seed.Hide(appData);
    seed.Hide(localAppData);
    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    ASSERT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), "");
    ASSERT_EQ(GetSpecialFolderPath(CSIDL_LOCAL_APPDATA), "");
    TForm1& f = *form1;
    for (ui::PathEdit* edit : {&f.QuickLaunchPath, &f.OutlookNK2Path, &f.WindowsMailPath, &f.WindowsCalendarPath})
        EXPECT_EQ(edit->Text(), "") << edit->id();
    EXPECT_EQ(f.PSTList.Count(), 0);
    EXPECT_EQ(f.FirefoxProfilesNames.Count(), 0);
    EXPECT_EQ(f.ThunderbirdProfilesNames.Count(), 0);
    EXPECT_FALSE(FirefoxProfilesIni);
    EXPECT_FALSE(ThunderbirdProfilesIni);
    // What does not live there is still found.
    EXPECT_EQ(f.MyDocumentsPath.Text(), test::SpecialFolder(CSIDL_PERSONAL));
    EXPECT_TRUE(f.BackupTabs.Visible());
}
