// The restoring half of a round trip, in a fresh prefix: a backup set carried over from the
// seeded user's machine is restored with every restore box ticked, and the machine is read back:
// each file where the restore rules put it on this version of Windows, the browsers'
// profiles.ini, the fonts, the start page, the wallpaper, the identities and the restore log.
//
// The round trip's script says what to restore through the environment:
//   HK_E2E_SOURCE     the Windows version the set was made on ("xp" or "win7")
//   HK_E2E_SET        the set's folder
//   HK_E2E_PROFILES   "default" (browser profiles into the default profile folder, extras into
//                     other folders) or "origin" (both back where they came from)
//   HK_E2E_SUBFOLDER  "1" when the program folder carries the backing-up machine's settings, which
//                     tick the sub-folder option: the restore log is then named after the sub-folder
//   HK_E2E_BROWSERS   "installed" when today's Firefox and Thunderbird are installed on the new
//                     machine, each with a profile of its own in its profiles.ini
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <cstdlib>
#include "Checks.h"
#include "TestSupport.h"
#include "UserData.h"
#include "Wizard.h"
#include "app/Environment.h"
#include "resource.h"

namespace e2e {

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::string>;

std::string Setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Folder(int csidl) { return test::SpecialFolder(csidl); }

// The categories in the order in which a restore lists them.
int RestoreRank(Kind kind) {
    static const Kind order[] = {Kind::Documents,   Kind::Desktop,     Kind::QuickLaunch, Kind::Pictures,
                                 Kind::Music,       Kind::Videos,      Kind::SharedDocs,  Kind::Favorites,
                                 Kind::Firefox,     Kind::LiveMail,    Kind::Thunderbird, Kind::OutlookNk2,
                                 Kind::AddressBook, Kind::Calendar,    Kind::Fonts,       Kind::PhoneBook,
                                 Kind::ExtraFiles,  Kind::ExtraFolder, Kind::Identity,    Kind::OutlookData,
                                 Kind::Wallpaper};
    for (size_t i = 0; i < sizeof(order) / sizeof(order[0]); ++i)
        if (order[i] == kind) return static_cast<int>(i);
    return -1;
}

// What becomes of one file of the set on this machine.
struct Outcome {
    enum Kind { NotListed, Copied, NoPlace, CopyFails } kind = NotListed;
    std::string destination;
};

class Restore : public testing::Test {
protected:
    Restore()
        : user(TheUser(Setting("HK_E2E_SOURCE"))),
          set(Setting("HK_E2E_SET")),
          origin(Setting("HK_E2E_PROFILES") == "origin"),
          subFolder(Setting("HK_E2E_SUBFOLDER") == "1"),
          installed(Setting("HK_E2E_BROWSERS") == "installed"),
          xp(test::Group() == "xp") {}

    // The files of the set as the restore lists them: walks spell the set's folders as the
    // restore's own paths do, the auto-complete file with the listing's "OutlookNK2".
    std::string InSet(const UserFile& file) const {
        if (file.kind == Kind::OutlookNk2) return set + "\\Archive\\OutlookNK2\\Outlook.nk2";
        return set + "\\" + file.inSet;
    }
    Outcome Expected(const UserFile& file) const;

    void PrepareTheMachine();
    void ChooseTheSet();
    void SetTheOptions();
    void LaunchAndExit();

    void CheckFiles(const std::vector<std::string>& before) const;
    void CheckProfilesIni() const;
    void CheckRegistry() const;
    void CheckLog() const;
    std::string LogFile() const;

    const User user;
    const std::string set;
    const bool origin, subFolder, installed, xp;
    const std::string restored = "C:\\Restored";
    Wizard wizard;
};

Outcome Restore::Expected(const UserFile& file) const {
    if (file.inSet.empty()) return {};
    auto at = [](const std::string& destination) { return Outcome{Outcome::Copied, destination}; };
    const std::string& below = file.below;
    switch (file.kind) {
        case Kind::Documents: return at(Folder(CSIDL_PERSONAL) + "\\" + below);
        case Kind::Desktop: return at(Folder(CSIDL_DESKTOP) + "\\" + below);
        case Kind::Wallpaper: return at(Folder(CSIDL_MYPICTURES) + "\\WallPaper\\" + below);
        case Kind::QuickLaunch:
            // Windows 7 gets the shortcuts in a folder on the desktop, without its .scf commands.
            if (xp) return at(Folder(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch\\" + below);
            if (UpperAscii(below).find(".SCF") != std::string::npos) return {};
            return at(Folder(CSIDL_DESKTOP) + "\\Quick launch toolbar shortcuts\\" + below);
        case Kind::Pictures: return at(Folder(CSIDL_MYPICTURES) + "\\" + below);
        case Kind::Music: return at(Folder(CSIDL_MYMUSIC) + "\\" + below);
        case Kind::Videos: return at(Folder(CSIDL_MYVIDEO) + "\\" + below);
        case Kind::SharedDocs: return at(Folder(CSIDL_COMMON_DOCUMENTS) + "\\" + below);
        case Kind::Favorites: return at(Folder(CSIDL_FAVORITES) + "\\" + below);
        // Either way the Firefox profile came from the default folder, so it goes back there.
        case Kind::Firefox: return at(Folder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles\\t8k2m4qz.default\\" + below);
        case Kind::LiveMail: return at(Folder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows Live Mail\\" + below);
        case Kind::Thunderbird:
            return at((origin ? user.thunderbirdFolder : Folder(CSIDL_APPDATA) + "\\Thunderbird\\Profiles\\w3n7c5ha.default") +
                      "\\" + below);
        case Kind::Identity:
            if (!xp) return {};
            return at(Folder(CSIDL_LOCAL_APPDATA) + "\\Identities\\" + user.identityKey + "\\" + below);
        case Kind::OutlookData: return at(Folder(CSIDL_PERSONAL) + "\\Outlook PST Files\\" + below);
        case Kind::OutlookNk2: return at(Folder(CSIDL_APPDATA) + "\\Microsoft\\Outlook\\Outlook.nk2");
        case Kind::AddressBook:
            if (!user.xp) return at(Folder(CSIDL_PROFILE) + "\\Contacts\\" + below);
            if (xp) return at(Folder(CSIDL_APPDATA) + "\\Microsoft\\Address Book\\" + user.name + ".wab");
            // Windows 7 names its Contacts folder as the address book's place: the file cannot be
            // written over a folder.
            return {Outcome::CopyFails, Folder(CSIDL_PROFILE) + "\\Contacts"};
        case Kind::Calendar:
            // A fresh XP has no Windows Calendar folder to restore into; Windows 7 is not offered it.
            return xp ? Outcome{Outcome::NoPlace, ""} : Outcome{};
        case Kind::Fonts: return at(Folder(CSIDL_FONTS) + "\\" + below);
        case Kind::PhoneBook:
            return at(Folder(CSIDL_COMMON_APPDATA) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk");
        case Kind::ExtraFiles:
        case Kind::ExtraFolder:
            if (origin) return at(file.source);
            return at(restored + (file.kind == Kind::ExtraFiles ? "\\Files\\" : "\\Folders\\") + "C" +
                      file.source.substr(2));
    }
    return {};
}

void Restore::PrepareTheMachine() {
    // The new machine has Windows Live Mail installed, as the restore of its store requires.
    test::WriteFile(Folder(CSIDL_PROGRAM_FILES) + "\\Windows Live\\Mail\\wlmail.exe", "MZ");
    // Windows XP makes the Quick Launch folder for every user; Wine does not.
    if (xp) test::MakeFolder(Folder(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch");
    if (!installed) return;
    // Today's browsers write their installation's section first and the general section last.
    for (const auto& browser : {std::make_pair("\\Mozilla\\Firefox", "308046B0AF4A39CB"),
                                std::make_pair("\\Thunderbird", "FDC34C9F024745EB")}) {
        const std::string folder = Folder(CSIDL_APPDATA) + browser.first;
        test::WriteFile(folder + "\\Profiles\\r3l4e5s6.default-release\\prefs.js", "// prefs\n");
        test::WriteFile(folder + "\\profiles.ini",
                        std::string("[Install") + browser.second +
                            "]\r\nDefault=Profiles/r3l4e5s6.default-release\r\nLocked=1\r\n\r\n"
                            "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/r3l4e5s6.default-release\r\n\r\n"
                            "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    }
}

void Restore::ChooseTheSet() {
    ASSERT_TRUE(wizard.Start());
    ASSERT_EQ(wizard.Ticked(IDC_BackupInSubFolder), subFolder);
    ASSERT_TRUE(wizard.Press(IDC_RestoreData));
    ASSERT_TRUE(wizard.Type(IDC_BackupPath, set));
    ASSERT_TRUE(wizard.WaitUntilEnabled(IDC_WelcomeNext)) << "the set was not recognised";
    ASSERT_TRUE(wizard.GoThrough({{IDC_WelcomeNext, IDC_RestoreTabSheet1}}));

    for (int box : {IDC_RestoreMyDocuments, IDC_RestoreDesktop, IDC_RestoreWallPaper, IDC_RestoreMyPictures,
                    IDC_RestoreMyMusic, IDC_RestoreMyVideos, IDC_RestoreSharedDocs, IDC_RestoreIEFavorites,
                    IDC_RestoreIEStartPage, IDC_RestoreWindowsMail, IDC_RestoreNK2, IDC_RestoreWab, IDC_RestoreFonts,
                    IDC_RestoreRasPhone})
        EXPECT_TRUE(wizard.Ticked(box) && wizard.Enabled(box)) << "restore box " << box;
    EXPECT_EQ(wizard.Ticked(IDC_RestoreQuickLaunch), user.xp);
    EXPECT_EQ(wizard.Ticked(IDC_RestoreWindowsCalendar), xp);
    EXPECT_EQ(wizard.Items(IDC_RestoreFirefoxProfilesNames),
              Texts{"default (" + Folder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles\\t8k2m4qz.default)"});
    EXPECT_EQ(wizard.Items(IDC_RestoreThunderbirdProfilesNames), Texts{user.thunderbirdName + " (" + user.thunderbirdFolder + ")"});
    EXPECT_EQ(wizard.Items(IDC_restoreOEIdentitiesList), user.xp ? Texts{user.identityName} : Texts{});
    // Identities are shown on Windows 7 but cannot be chosen there.
    EXPECT_EQ(wizard.Enabled(IDC_restoreOEIdentitiesList), xp);
    EXPECT_EQ(wizard.Items(IDC_RestoreOutlookPSTList), Texts{"Outlook.pst"});
    EXPECT_EQ(wizard.Items(IDC_restoreAdditionalFilesList), user.extraFiles);
    EXPECT_EQ(wizard.Items(IDC_RestoreAdditionalDirectoriesList), Texts{user.extraFolder});
    for (int list : {IDC_RestoreFirefoxProfilesNames, IDC_RestoreThunderbirdProfilesNames, IDC_restoreOEIdentitiesList,
                     IDC_RestoreOutlookPSTList, IDC_restoreAdditionalFilesList, IDC_RestoreAdditionalDirectoriesList})
        for (bool ticked : wizard.Checks(list)) EXPECT_TRUE(ticked) << "an item of list " << list << " is unticked";
}

void Restore::SetTheOptions() {
    ASSERT_TRUE(wizard.GoThrough({{IDC_Restore1Next, IDC_RestoreTabSheet2}}));
    ASSERT_TRUE(wizard.Press(origin ? IDC_RestoreFirefoxOrigin : IDC_RestoreFirefoxDefault));
    ASSERT_TRUE(wizard.GoThrough({{IDC_Restore2Next, IDC_RestoreTabSheet3}, {IDC_Restore3Next, IDC_RestoreTabSheet4}}));
    ASSERT_TRUE(wizard.Press(origin ? IDC_RestoreThunderbirdOrigin : IDC_RestoreThunderbirdDefault));
    ASSERT_TRUE(wizard.GoThrough({{IDC_Restore4Next, IDC_RestoreTabSheet5}, {IDC_Restore5Next, IDC_RestoreTabSheet6}}));
    if (origin) {
        ASSERT_TRUE(wizard.Press(IDC_RestoreFilesOrigin));
        ASSERT_TRUE(wizard.Press(IDC_RestoreFoldersOrigin));
    } else {
        ASSERT_TRUE(wizard.Press(IDC_RestoreFilesOther));
        ASSERT_TRUE(wizard.Type(IDC_RestoreFilesDirectory, restored + "\\Files"));
        ASSERT_TRUE(wizard.Press(IDC_RestoreFoldersOther));
        ASSERT_TRUE(wizard.Type(IDC_RestoreFoldersDirectory, restored + "\\Folders"));
    }
    EXPECT_EQ(wizard.Ticked(IDC_RestoreFirefoxOrigin), origin);
    EXPECT_EQ(wizard.Ticked(IDC_RestoreThunderbirdDefault), !origin);
    EXPECT_EQ(wizard.Ticked(IDC_RestoreFilesOrigin), origin);
    EXPECT_EQ(wizard.Ticked(IDC_RestoreFoldersOther), !origin);
}

void Restore::LaunchAndExit() {
    wizard.PressAndGoOn(IDC_LaunchRestore);
    ASSERT_TRUE(wizard.WaitForText(IDC_CopyProgress, "Restoration job is finished!", 300000));
    int errors = 0, warnings = 0;
    for (const UserFile& file : user.files) {
        const Outcome outcome = Expected(file);
        errors += outcome.kind == Outcome::NoPlace ? 1 : outcome.kind == Outcome::CopyFails ? 2 : 0;
        warnings += outcome.kind == Outcome::CopyFails ? 1 : 0;
    }
    EXPECT_EQ(wizard.Text(IDC_Errorlabel), "Errors : " + std::to_string(errors));
    EXPECT_EQ(wizard.Text(IDC_WarningLabel), "Warnings : " + std::to_string(warnings));
    ASSERT_TRUE(wizard.Exit());
}

void Restore::CheckFiles(const std::vector<std::string>& before) const {
    Texts expected;
    for (const UserFile& file : user.files) {
        const Outcome outcome = Expected(file);
        if (outcome.kind != Outcome::Copied) continue;
        EXPECT_TRUE(test::ReadFile(outcome.destination) == file.bytes)
            << outcome.destination << " is not the user's " << file.source;
        expected.push_back(outcome.destination);
    }
    expected.push_back(LogFile());
    if (!installed) {
        expected.push_back(Folder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\profiles.ini");
        expected.push_back(Folder(CSIDL_APPDATA) + "\\Thunderbird\\profiles.ini");
    }
    if (!subFolder) expected.push_back(AppFolder() + "\\Halvorkeep.ini");
    // Below C:\, without its "C:\".
    for (std::string& path : expected) path = path.substr(3);
    // Those files, and nothing else anywhere on the drive: nothing went where the options did not send it.
    EXPECT_TRUE(SameFiles(Added(FilesBelow("C:"), before), expected));
}

std::string Restore::LogFile() const {
    // Beside the desktop folder and named after it, or on the desktop and named after the sub-folder.
    const std::string desktop = Folder(CSIDL_DESKTOP);
    return subFolder ? desktop + "\\" + wizard.Day() + " - Halvorkeep - " + user.name + " - Log.txt"
                     : desktop + " - Log.txt";
}

void Restore::CheckProfilesIni() const {
    const std::string appData = Folder(CSIDL_APPDATA);
    const Pairs firefox{{"Name", "default"}, {"Path", "Profiles/t8k2m4qz.default"}, {"IsRelative", "1"}};
    const Pairs thunderbird = origin ? Pairs{{"Name", user.thunderbirdName}, {"Path", user.thunderbirdFolder}, {"IsRelative", "0"}}
                                     : Pairs{{"Name", user.thunderbirdName},
                                             {"Path", "Profiles/w3n7c5ha.default"},
                                             {"IsRelative", "1"}};
    if (!installed) {
        EXPECT_EQ(IniContents(appData + "\\Mozilla\\Firefox\\profiles.ini"),
                  (std::vector<IniSection>{{"General", Pairs{{"StartWithLastProfile", "0"}}}, {"Profile0", firefox}}));
        EXPECT_EQ(IniContents(appData + "\\Thunderbird\\profiles.ini"),
                  (std::vector<IniSection>{{"General", Pairs{{"StartWithLastProfile", "0"}}}, {"Profile0", thunderbird}}));
        return;
    }
    // The browsers' own sections stay as they were; the restored profile comes after them.
    const Pairs own{{"Name", "default-release"}, {"IsRelative", "1"}, {"Path", "Profiles/r3l4e5s6.default-release"}};
    const Pairs install{{"Default", "Profiles/r3l4e5s6.default-release"}, {"Locked", "1"}};
    const Pairs general{{"StartWithLastProfile", "0"}, {"Version", "2"}};
    EXPECT_EQ(IniContents(appData + "\\Mozilla\\Firefox\\profiles.ini"),
              (std::vector<IniSection>{{"Install308046B0AF4A39CB", install},
                                       {"Profile0", own},
                                       {"General", general},
                                       {"Profile1", firefox}}));
    EXPECT_EQ(IniContents(appData + "\\Thunderbird\\profiles.ini"),
              (std::vector<IniSection>{{"InstallFDC34C9F024745EB", install},
                                       {"Profile0", own},
                                       {"General", general},
                                       {"Profile1", thunderbird}}));
}

void Restore::CheckRegistry() const {
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", user.fontName),
              user.fontFile);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page"),
              user.startPage);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper"), user.wallpaperTile);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle"), user.wallpaperStyle);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"),
              Folder(CSIDL_MYPICTURES) + "\\WallPaper\\Wallpaper1.bmp");
    // The identity and its mail account come back through regedit on XP only.
    const bool imported = xp && user.xp;
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Identities\\" + user.identityKey, "Username"),
              imported ? user.identityName : "");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER,
                        "Software\\Microsoft\\Internet Account Manager\\Accounts\\" + user.accountKey, "Account Name"),
              imported ? user.accountName : "");
    if (!imported) {
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Identities\\" + user.identityKey));
    }
}

void Restore::CheckLog() const {
    ExpectedLog log;
    log.first = "D\xE9marrage de la restauration";
    for (const UserFile& file : user.files) {
        const Outcome outcome = Expected(file);
        const std::string source = InSet(file);
        const int rank = RestoreRank(file.kind);
        switch (outcome.kind) {
            case Outcome::NotListed: break;
            case Outcome::Copied: log.groups.push_back({rank, CopiedLines(source, outcome.destination)}); break;
            case Outcome::NoPlace:
                log.groups.push_back(
                    {rank, {"[ERROR] No place to copy this file to. Skipping to next file: \"" + source + "\""}});
                break;
            case Outcome::CopyFails:
                log.groups.push_back({rank,
                                      {CopiedLines(source, outcome.destination)[0],
                                       "[ERROR] Copy error on file: \"" + source + "\"", "[WARNING] Trying again ...",
                                       "[ERROR] Copy failed. Skipping to next file"}});
                break;
        }
    }
    if (xp && user.xp)
        log.tail = {"Importing registry settings from Outlook Express identity : \"" + user.identityName + "\"", "Done"};
    for (const char* line : {"Restoring Internet Explorer main start page", "Done", "Restoration job is finished!"})
        log.tail.push_back(line);
    EXPECT_TRUE(LogMatches(FileLines(LogFile()), log, wizard.Day())) << LogFile();
}

}  // namespace

TEST_F(Restore, EveryRestoreBoxTicked) {
    PrepareTheMachine();
    const std::vector<std::string> before = FilesBelow("C:");
    ASSERT_NO_FATAL_FAILURE(ChooseTheSet());
    ASSERT_NO_FATAL_FAILURE(SetTheOptions());
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    CheckFiles(before);
    CheckProfilesIni();
    CheckRegistry();
    CheckLog();
}

}  // namespace e2e
