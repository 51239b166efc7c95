// The backing-up half of a round trip, in the prefix of the machine being left: the seeded user
// backs up everything with the real program, once straight into a storage folder and once into
// the dated sub-folder of another one; each set is then read back file by file.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <algorithm>
#include "Checks.h"
#include "TestSupport.h"
#include "UserData.h"
#include "Wizard.h"
#include "resource.h"

namespace e2e {

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::string>;

const char kPlainStorage[] = "C:\\Backups\\Plain";
const char kDatedStorage[] = "C:\\Backups\\Dated";

// Seeded once for both runs.
const User& SeededUser() {
    static const User user = [] {
        User u = TheUser(test::Group());
        SeedUser(u);
        return u;
    }();
    return user;
}

class Backup : public testing::Test {
protected:
    Backup() : user(SeededUser()) {}

    // Next on the welcome page and what it found: every category the version has, ticked.
    void ChooseStorageAndFindTheData(const std::string& storage, bool subFolder);
    void AddTheExtras();
    void LaunchAndExit();

    // What the job added to the drive, given the drive's files before it.
    void CheckNewFiles(const std::string& root, const std::vector<std::string>& before) const;
    void CheckCopies(const std::string& root) const;
    void CheckRecords(const std::string& root) const;
    void CheckLog(const std::string& root) const;
    void CheckSettings(const std::string& storage, bool subFolder) const;

    // The whole road and every check, for one storage folder.
    void BackUpInto(const std::string& storage, bool subFolder);

    const User& user;
    Wizard wizard;
};

void Backup::ChooseStorageAndFindTheData(const std::string& storage, bool subFolder) {
    test::MakeFolder(storage);
    ASSERT_TRUE(wizard.Start());
    ASSERT_TRUE(wizard.Type(IDC_StoragePath, storage));
    ASSERT_TRUE(wizard.WaitUntilEnabled(IDC_WelcomeNext));
    if (wizard.Ticked(IDC_BackupInSubFolder) != subFolder) {
        ASSERT_TRUE(wizard.Press(IDC_BackupInSubFolder));
    }
    ASSERT_EQ(wizard.Ticked(IDC_BackupInSubFolder), subFolder);
    ASSERT_TRUE(wizard.GoThrough({{IDC_WelcomeNext, IDC_BackupTabSheet1}}));

    for (int box : {IDC_MyDocuments, IDC_Desktop, IDC_DesktopWallPaper, IDC_MyPictures, IDC_MyMusic, IDC_MyVideos,
                    IDC_IEFavorites, IDC_IEStartPage, IDC_WindowsMail, IDC_OutlookNk2, IDC_Wab, IDC_SharedDocuments,
                    IDC_WindowsCalendar, IDC_Fonts, IDC_Rasphone})
        EXPECT_TRUE(wizard.Ticked(box) && wizard.Enabled(box)) << "category box " << box;
    // Windows 7 has no Quick Launch toolbar of its own.
    EXPECT_EQ(wizard.Ticked(IDC_Quicklaunch), user.xp);
    EXPECT_EQ(wizard.Items(IDC_FirefoxProfilesNames), Texts{"\"default\" (" + user.firefoxFolder + ")"});
    EXPECT_EQ(wizard.Checks(IDC_FirefoxProfilesNames), std::vector<bool>{true});
    EXPECT_EQ(wizard.Items(IDC_ThunderbirdProfilesNames), Texts{"\"" + user.thunderbirdName + "\" (" + user.thunderbirdFolder + ")"});
    EXPECT_EQ(wizard.Checks(IDC_ThunderbirdProfilesNames), std::vector<bool>{true});
    EXPECT_EQ(wizard.Items(IDC_OEIdentitiesList), user.xp ? Texts{user.identityName} : Texts{});
    EXPECT_EQ(wizard.Checks(IDC_OEIdentitiesList), user.xp ? std::vector<bool>{true} : std::vector<bool>{});
    EXPECT_EQ(wizard.Items(IDC_PSTList), Texts{FilesOf(user, Kind::OutlookData)[0].source});
    EXPECT_EQ(wizard.Checks(IDC_PSTList), std::vector<bool>{true});
}

void Backup::AddTheExtras() {
    ASSERT_TRUE(wizard.GoThrough({{IDC_Backup1Next, IDC_BackupTabSheet2},
                                  {IDC_Backup2Next, IDC_BackupTabSheet3},
                                  {IDC_Backup3Next, IDC_BackupTabSheet4},
                                  {IDC_Backup4Next, IDC_BackupTabSheet5},
                                  {IDC_Backup5Next, IDC_BackupTabSheet6}}));
    for (const std::string& file : user.extraFiles) ASSERT_TRUE(wizard.PickFile(IDC_AddFiles, file));
    ASSERT_TRUE(wizard.PickFolder(IDC_AddDirectory, user.extraFolder));
    EXPECT_EQ(wizard.Items(IDC_AdditionalFilesList), user.extraFiles);
    EXPECT_EQ(wizard.Items(IDC_AdditionalDirectoriesList), Texts{user.extraFolder});
}

void Backup::LaunchAndExit() {
    wizard.PressAndGoOn(IDC_Launch);
    ASSERT_TRUE(wizard.WaitForText(IDC_CopyProgress, "Backup job is finished!", 300000));
    EXPECT_EQ(wizard.Text(IDC_Errorlabel), "Errors : 0");
    EXPECT_EQ(wizard.Text(IDC_WarningLabel), "Warnings : 0");
    ASSERT_TRUE(wizard.Exit());
}

void Backup::CheckNewFiles(const std::string& root, const std::vector<std::string>& before) const {
    // Below C:\, without its "C:\".
    auto onDrive = [](const std::string& path) { return path.substr(3); };
    Texts expected;
    for (const UserFile& file : user.files) {
        if (!file.inSet.empty()) expected.push_back(onDrive(root) + "\\" + file.inSet);
    }
    for (const char* record :
         {"Log.txt", "Archive\\Firefox\\Profiles\\Profiles.ini", "Archive\\Thunderbird\\Profiles\\Profiles.ini",
          "Archive\\AdditionalFiles\\Files.ini", "Archive\\AdditionalFolders\\Folders.ini",
          "Archive\\Fonts\\REG\\Fonts.ini", "Archive\\Internet Explorer\\IEStartPage.ini",
          "Archive\\Wallpaper\\WallPaper.ini"})
        expected.push_back(onDrive(root) + "\\" + record);
    if (user.xp) {
        for (const std::string& record : {std::string("Archive\\OutlookExpress\\Identities.ini"),
                                          "Archive\\OutlookExpress\\Reg\\" + user.identityKey + ".reg",
                                          std::string("Archive\\OutlookExpress\\Reg\\Accounts.Reg")})
            expected.push_back(onDrive(root) + "\\" + record);
    }
    const std::string settings = onDrive(AppFolder() + "\\Halvorkeep.ini");
    if (!std::binary_search(before.begin(), before.end(), UpperSorted({settings})[0])) expected.push_back(settings);
    // The set and the settings file, and nothing else anywhere on the drive.
    EXPECT_TRUE(SameFiles(Added(FilesBelow("C:"), before), expected));
}

void Backup::CheckCopies(const std::string& root) const {
    for (const UserFile& file : user.files) {
        if (file.inSet.empty()) continue;
        EXPECT_TRUE(test::ReadFile(root + "\\" + file.inSet) == file.bytes) << file.inSet << " differs from " << file.source;
    }
}

void Backup::CheckRecords(const std::string& root) const {
    const std::string archive = root + "\\Archive";
    const std::vector<UserFile> extras = FilesOf(user, Kind::ExtraFiles);
    EXPECT_EQ(IniContents(archive + "\\Firefox\\Profiles\\Profiles.ini"),
              (std::vector<IniSection>{{"default", Pairs{{"From", "%Default%\\t8k2m4qz.default"},
                                                         {"To", "Archive\\Firefox\\Profiles\\C\\default"}}}}));
    EXPECT_EQ(IniContents(archive + "\\Thunderbird\\Profiles\\Profiles.ini"),
              (std::vector<IniSection>{{user.thunderbirdName, Pairs{{"From", user.thunderbirdFolder},
                                                          {"To", "Archive\\Thunderbird\\Profiles\\C\\" + user.thunderbirdName}}}}));
    EXPECT_EQ(IniContents(archive + "\\AdditionalFiles\\Files.ini"),
              (std::vector<IniSection>{{"FROM", Pairs{{"1", extras[0].source}, {"2", extras[1].source}}},
                                       {"SAVED", Pairs{{"1", "C\\Work\\Budget 2010.xls"},
                                                       {"2", "C\\Work\\Reports\\Annual report.doc"}}}}));
    EXPECT_EQ(IniContents(archive + "\\AdditionalFolders\\Folders.ini"),
              (std::vector<IniSection>{{"FROM", Pairs{{"1", user.extraFolder}}},
                                       {"SAVED", Pairs{{"1", "C\\Work\\Projects"}}}}));
    EXPECT_EQ(IniContents(archive + "\\Fonts\\REG\\Fonts.ini"),
              (std::vector<IniSection>{{"FONTS", Pairs{{user.fontFile, user.fontName}}}}));
    EXPECT_EQ(IniContents(archive + "\\Internet Explorer\\IEStartPage.ini"),
              (std::vector<IniSection>{{"STARTPAGE", Pairs{{"HomePage", user.startPage}}}}));
    EXPECT_EQ(IniContents(archive + "\\Wallpaper\\WallPaper.ini"),
              (std::vector<IniSection>{{"WALLPAPER", Pairs{{"Style", user.wallpaperStyle}, {"Tile", user.wallpaperTile}}}}));
    if (!user.xp) return;

    EXPECT_EQ(IniContents(archive + "\\OutlookExpress\\Identities.ini"),
              (std::vector<IniSection>{{user.identityName, Pairs{{"IdentityID", user.identityKey}}}}));
    const std::string identity = RegeditExportText(archive + "\\OutlookExpress\\Reg\\" + user.identityKey + ".reg");
    EXPECT_NE(identity.find("[HKEY_CURRENT_USER\\Identities\\" + user.identityKey + "]"), std::string::npos) << identity;
    EXPECT_NE(identity.find("\"Username\"=\"" + user.identityName + "\""), std::string::npos) << identity;
    const std::string accounts = RegeditExportText(archive + "\\OutlookExpress\\Reg\\Accounts.Reg");
    EXPECT_NE(accounts.find("[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts\\" +
                            user.accountKey + "]"),
              std::string::npos)
        << accounts;
    EXPECT_NE(accounts.find("\"Account Name\"=\"" + user.accountName + "\""), std::string::npos) << accounts;
}

void Backup::CheckLog(const std::string& root) const {
    ExpectedLog log;
    log.first = "D\xE9marrage de la sauvegarde";
    for (const UserFile& file : user.files) {
        if (!file.inSet.empty())
            log.groups.push_back({static_cast<int>(file.kind), CopiedLines(file.source, root + "\\" + file.inSet)});
    }
    if (user.xp)
        log.tail = {"Exporting registry from Outlook Express identity : \"" + user.identityName + "\"", "Done"};
    for (const char* line : {"Exporting fonts registry stuff", "Done", "Storing Internet Explorer's home page address",
                             "Done", "Backup job is finished!"})
        log.tail.push_back(line);
    EXPECT_TRUE(LogMatches(FileLines(root + "\\Log.txt"), log, wizard.Day()));
}

void Backup::CheckSettings(const std::string& storage, bool subFolder) const {
    Pairs config = {{"LastLanguage", "English"},
                    {"LastBackupFolder", storage},
                    {"BackupInSubFolder", subFolder ? "YES" : "NO"}};
    for (const char* key : {"BackupMyDocuments", "BackupDesktop", "BackupWallPaper", "BackupQuickLaunch",
                            "BackupMyPictures", "BackupMyMusic", "BackupMyVideos", "BackupSharedDocuments",
                            "BackupIEFavorites", "BackupIEStartPage", "BackupWindowsMail", "BackupOutlookNK2",
                            "BackupWab", "BackupWindowsCalendar", "BackupFonts", "BackupRasPhone"})
        config.emplace_back(key, std::string(key) == "BackupQuickLaunch" && !user.xp ? "NO" : "YES");
    EXPECT_EQ(IniContents(AppFolder() + "\\Halvorkeep.ini"),
              (std::vector<IniSection>{{"CONFIG", config}}));
}

void Backup::BackUpInto(const std::string& storage, bool subFolder) {
    const Texts before = FilesBelow("C:");
    ASSERT_NO_FATAL_FAILURE(ChooseStorageAndFindTheData(storage, subFolder));
    ASSERT_NO_FATAL_FAILURE(AddTheExtras());
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    const std::string root =
        subFolder ? storage + "\\" + wizard.Day() + " - Halvorkeep - " + user.name : std::string(storage);
    CheckNewFiles(root, before);
    CheckCopies(root);
    CheckRecords(root);
    CheckLog(root);
    CheckSettings(storage, subFolder);
}

}  // namespace

TEST_F(Backup, EverythingStraightIntoTheStorageFolder) { BackUpInto(kPlainStorage, false); }

// The second run starts with the first run's choices remembered.
TEST_F(Backup, EverythingIntoADatedSubFolder) { BackUpInto(kDatedStorage, true); }

}  // namespace e2e
