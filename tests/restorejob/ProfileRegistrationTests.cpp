// Restored profiles entered in the user's own profiles.ini files of the prefix.
#include <shlobj.h>
#include <initializer_list>
#include "RestoreJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"

namespace {

class ProfileRegistrationTest : public RestoreJobTest {
protected:
    void SetUp() override {
        RestoreJobTest::SetUp();
        appData = test::SpecialFolder(CSIDL_APPDATA);
        FreshUserFolder(appData + "\\Mozilla");
        FreshUserFolder(appData + "\\Thunderbird");
    }
    std::string FirefoxIni() const { return appData + "\\Mozilla\\Firefox\\profiles.ini"; }
    std::string ThunderbirdIni() const { return appData + "\\Thunderbird\\profiles.ini"; }
    static std::string Value(const std::string& file, const std::string& section, const std::string& key) {
        return win::IniFile(file).ReadString(section, key, "<none>");
    }
    static std::vector<std::string> Sections(const std::string& file) { return win::IniFile(file).ReadSections(); }
    void UseOrigin(bool firefox) {
        (firefox ? form1->RestoreFirefoxOrigin : form1->RestoreThunderbirdOrigin).SetChecked(true);
    }
    // Profile folders in the browser's default folder, as the copy loop leaves them: only a
    // profile whose folder is there is entered.
    void Restored(bool firefox, std::initializer_list<const char*> folders) {
        for (const char* folder : folders)
            test::MakeFolder(appData + (firefox ? "\\Mozilla\\Firefox\\Profiles\\" : "\\Thunderbird\\Profiles\\") +
                             folder);
    }
    // A drive letter this machine does not have, as "Q:".
    static std::string MissingDrive() {
        const DWORD drives = GetLogicalDrives();
        for (char letter = 'Z'; letter > 'C'; --letter)
            if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":";
        return "";
    }
    std::string appData;
};

const char kOldFile[] =
    "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/old.default\r\n";

}  // namespace

TEST_F(ProfileRegistrationTest, WithoutAFileTheFirstProfileIsProfile0AndAnUncheckedBrowserIsLeftAlone) {
    AddProfile(true, "default", "%Default%\\abcd.default", false);
    AddProfile(false, "default", "%Default%\\abcd.default");
    Restored(false, {"abcd.default"});
    form1->RegisterRestoredProfiles();

    EXPECT_FALSE(FolderExists(appData + "\\Mozilla\\Firefox")) << "no Firefox profile was checked";
    EXPECT_FALSE(FirefoxProfilesIni);
    EXPECT_TRUE(FolderExists(appData + "\\Thunderbird\\Profiles"));
    EXPECT_EQ(Sections(ThunderbirdIni()), (std::vector<std::string>{"General", "Profile0"}));
    EXPECT_EQ(Value(ThunderbirdIni(), "General", "StartWithLastProfile"), "0");
    EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "Name"), "default");
    EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "Path"), "Profiles/abcd.default");
    EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "IsRelative"), "1");
    ASSERT_TRUE(ThunderbirdProfilesIni);
    EXPECT_EQ(UpperAscii(ThunderbirdProfilesIni->FileName()), UpperAscii(ThunderbirdIni()));
    EXPECT_TRUE(ProfilesRegistered);
    EXPECT_EQ(form1->TextLog.Count(), 0) << "registration writes no line";
}

TEST_F(ProfileRegistrationTest, AnExistingSectionIsRenamedOrRepathedAndNewProfilesAreAppendedInListOrder) {
    struct Profile {
        std::string name, from;
    };
    struct Case {
        const char* what;
        std::vector<Profile> profiles;
        // Name and Path of Profile0, Profile1, Profile2 afterwards ("<none>" for a missing section).
        std::vector<std::pair<std::string, std::string>> sections;
    } cases[] = {
        {"same name, new folder",
         {{"default", "%Default%\\new.default"}},
         {{"default", "Profiles/new.default"}, {"<none>", "<none>"}}},
        {"same folder, new name", {{"work", "%Default%\\old.default"}}, {{"work", "Profiles/old.default"}, {"<none>", "<none>"}}},
        {"neither", {{"work", "%Default%\\abc.work"}}, {{"default", "Profiles/old.default"}, {"work", "Profiles/abc.work"}}},
        {"two that match nothing",
         {{"zeta", "%Default%\\z.zeta"}, {"alpha", "%Default%\\a.alpha"}},
         {{"default", "Profiles/old.default"}, {"zeta", "Profiles/z.zeta"}, {"alpha", "Profiles/a.alpha"}}},
    };
    Restored(true, {"new.default", "old.default", "abc.work", "z.zeta", "a.alpha"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFile(FirefoxIni(), kOldFile);
        form1->RestoreFFProfilesNames.Clear();
        form1->RestoreFirefoxProfilesNames.Clear();
        for (const Profile& p : c.profiles) AddProfile(true, p.name, p.from);
        form1->RegisterRestoredProfiles();
        for (size_t n = 0; n < c.sections.size(); ++n) {
            const std::string section = "Profile" + std::to_string(n);
            EXPECT_EQ(Value(FirefoxIni(), section, "Name"), c.sections[n].first) << section;
            EXPECT_EQ(Value(FirefoxIni(), section, "Path"), c.sections[n].second) << section;
        }
        EXPECT_EQ(Value(FirefoxIni(), "Profile0", "IsRelative"), "1");
        EXPECT_EQ(Value(FirefoxIni(), "General", "StartWithLastProfile"), "0");
    }
}

TEST_F(ProfileRegistrationTest, OriginAndDefaultModes) {
    // A profile kept elsewhere than the default folder, restored there.
    const std::string elsewhere = scratch / "Mail\\x.work";
    test::MakeFolder(elsewhere);
    Restored(false, {"x.work", "y.default"});
    struct Case {
        bool origin;
        std::string from, path, relative;
    } cases[] = {
        {true, elsewhere, elsewhere, "0"},
        {false, "D:\\Mail\\x.work", "Profiles/x.work", "1"},
        {true, "%DEFAULT%\\y.default", "Profiles/y.default", "1"},
        {false, "%DEFAULT%\\y.default", "Profiles/y.default", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from + (c.origin ? " origin" : " default"));
        DeleteFileA(ThunderbirdIni().c_str());
        form1->RestoreTBProfilesNames.Clear();
        form1->RestoreThunderbirdProfilesNames.Clear();
        (c.origin ? form1->RestoreThunderbirdOrigin : form1->RestoreThunderbirdDefault).SetChecked(true);
        AddProfile(false, "work", c.from);
        form1->RegisterRestoredProfiles();
        EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "Path"), c.path);
        EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "IsRelative"), c.relative);
    }
}

TEST_F(ProfileRegistrationTest, AFileWithGapsAndOtherSectionsKeepsEverySectionAndAWholeProfileChangesNothing) {
    const std::string gaps =
        "[General]\r\nStartWithLastProfile=0\r\nVersion=2\r\n\r\n[Profile1]\r\nName=default\r\nIsRelative=1\r\n"
        "Path=Profiles/a.default\r\n\r\n[Install4F96D1932A9F858E]\r\nDefault=Profiles/a.default\r\nLocked=1\r\n";
    test::WriteFile(FirefoxIni(), gaps);
    Restored(true, {"a.default", "b.work", "c.home"});
    AddProfile(true, "default", "%Default%\\a.default");
    form1->RegisterRestoredProfiles();
    EXPECT_EQ(test::ReadFile(FirefoxIni()), gaps) << "the profile stands whole in Profile1";

    AddProfile(true, "work", "%Default%\\b.work");
    AddProfile(true, "home", "%Default%\\c.home");
    form1->RegisterRestoredProfiles();
    EXPECT_EQ(Value(FirefoxIni(), "Profile0", "Name"), "work");
    EXPECT_EQ(Value(FirefoxIni(), "Profile1", "Name"), "default");
    EXPECT_EQ(Value(FirefoxIni(), "Profile1", "Path"), "Profiles/a.default");
    EXPECT_EQ(Value(FirefoxIni(), "Profile2", "Name"), "home");
    EXPECT_EQ(Value(FirefoxIni(), "Install4F96D1932A9F858E", "Default"), "Profiles/a.default");
    EXPECT_EQ(Value(FirefoxIni(), "Install4F96D1932A9F858E", "Locked"), "1");
    EXPECT_EQ(Sections(FirefoxIni()).size(), 5u);
}

// As the browsers have written the file since 2019: [Install...] first, [General] last.
TEST_F(ProfileRegistrationTest, TodaysLayoutKeepsItsInstallSectionsAndItsGeneralSectionInPlace) {
    const std::string install = "[Install308046B0AF4A39CB]\r\nDefault=Profiles/lxhv1gjb.default-release\r\nLocked=1\r\n";
    test::WriteFile(FirefoxIni(), install +
                                      "\r\n[Profile1]\r\nName=default-release\r\nIsRelative=1\r\n"
                                      "Path=Profiles/lxhv1gjb.default-release\r\n\r\n"
                                      "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a1b2.default\r\nDefault=1\r\n\r\n"
                                      "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    Restored(true, {"t8k2.default", "w0rk.work"});
    AddProfile(true, "default", "%Default%\\t8k2.default");
    AddProfile(true, "work", "%Default%\\w0rk.work");
    form1->RegisterRestoredProfiles();
    EXPECT_TRUE(ProfilesRegistered);
    EXPECT_EQ(test::ReadFile(FirefoxIni()).substr(0, install.size()), install);
    EXPECT_EQ(Sections(FirefoxIni()),
              (std::vector<std::string>{"Install308046B0AF4A39CB", "Profile1", "Profile0", "General", "Profile2"}));
    EXPECT_EQ(Value(FirefoxIni(), "General", "StartWithLastProfile"), "0");
    EXPECT_EQ(Value(FirefoxIni(), "General", "Version"), "2");
    EXPECT_EQ(Value(FirefoxIni(), "Profile1", "Path"), "Profiles/lxhv1gjb.default-release");
    EXPECT_EQ(Value(FirefoxIni(), "Profile0", "Path"), "Profiles/t8k2.default");
    EXPECT_EQ(Value(FirefoxIni(), "Profile2", "Name"), "work");
    EXPECT_EQ(Value(FirefoxIni(), "Profile2", "Path"), "Profiles/w0rk.work");
}

TEST_F(ProfileRegistrationTest, AProfileLeadingOutOfItsFolderIsNotRegistered) {
    UseOrigin(true);
    AddProfile(true, "evil", "%Default%\\..\\..\\..\\Windows");
    AddProfile(true, "good", "%Default%\\g.good");
    Restored(true, {"g.good"});
    form1->RegisterRestoredProfiles();
    EXPECT_EQ(Sections(FirefoxIni()), (std::vector<std::string>{"General", "Profile0"}));
    EXPECT_EQ(Value(FirefoxIni(), "Profile0", "Name"), "good");
}

TEST_F(ProfileRegistrationTest, AProfilesIniThatCannotBeWrittenIsAnErrorAndTheOtherBrowserGoesOn) {
    test::WriteFile(FirefoxIni(), kOldFile);
    AddProfile(true, "default", "%Default%\\new.default");
    AddProfile(false, "default", "%Default%\\t.default");
    Restored(true, {"new.default"});
    Restored(false, {"t.default"});
    HANDLE held = CreateFileA(FirefoxIni().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form1->RegisterRestoredProfiles();
    CloseHandle(held);
    EXPECT_EQ(test::ReadFile(FirefoxIni()), kOldFile);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"E Could not write to file: \"" + FirefoxIni() + "\""}));
    EXPECT_EQ(ErrorCount, 1);
    EXPECT_EQ(Value(ThunderbirdIni(), "Profile0", "Path"), "Profiles/t.default");
}

// A profile whose folder the copy could not make (kept on a drive this machine lacks, restored
// where it came from) is not entered: the user's own profile of that name keeps its folder.
TEST_F(ProfileRegistrationTest, AProfileWhoseFolderIsNotThereIsNotEnteredAndTheLogSaysSo) {
    const std::string drive = MissingDrive();
    ASSERT_NE(drive, "") << "every drive letter is in use";
    test::WriteFile(FirefoxIni(), kOldFile);
    UseOrigin(true);
    AddProfile(true, "default", drive + "\\Mail\\k3j2.default");
    form1->RegisterRestoredProfiles();
    EXPECT_EQ(test::ReadFile(FirefoxIni()), kOldFile) << "nothing restored, nothing entered";
    EXPECT_FALSE(FolderExists(appData + "\\Mozilla\\Firefox\\Profiles"));
    const std::string warning = "W This profile's folder was not restored: the browser's profile list is left without "
                                "it: \"" + drive + "\\Mail\\k3j2.default\"";
    EXPECT_EQ(Messages(), std::vector<std::string>{warning});
    EXPECT_EQ(WarningCount, 1);

    // Beside one that came back, only that one is entered.
    AddProfile(true, "work", "%Default%\\w0rk.work");
    Restored(true, {"w0rk.work"});
    form1->RegisterRestoredProfiles();
    EXPECT_EQ(Sections(FirefoxIni()), (std::vector<std::string>{"General", "Profile0", "Profile1"}));
    EXPECT_EQ(Value(FirefoxIni(), "Profile0", "Path"), "Profiles/old.default");
    EXPECT_EQ(Value(FirefoxIni(), "Profile1", "Name"), "work");
    EXPECT_EQ(Value(FirefoxIni(), "Profile1", "Path"), "Profiles/w0rk.work");
    EXPECT_EQ(Messages(), (std::vector<std::string>{warning, warning}));
}
