// The restore's rules that need no window: the per-file filter, the checks on a set's records,
// the profile line of the restore page and the extra lists read from Files.ini / Folders.ini.
#include <gtest/gtest.h>
#include "RestoreFixture.h"
#include "TestSupport.h"
#include "restore/RestoreRules.h"

TEST(RestoreFilter, EachTagKeepsWhatItsCategoryRestores) {
    struct Case {
        const char* tag;
        const char* file;
        const char* version;
        bool kept;
    } cases[] = {
        // Fonts: the settings files of the fonts folder stay out, compared with their case.
        {"[FONTS---]", "Fancy.ttf", "SEVEN", true},
        {"[FONTS---]", "desktop.ini", "2K-XP", false},
        {"[FONTS---]", "Fonts.ini", "SEVEN", false},
        {"[FONTS---]", "OLD.INI", "2K-XP", true},
        {"[FONTS---]", "a.ini.ttf", "2K-XP", true},
        {"[FONTS---]", "noextension", "2K-XP", true},
        // Quick Launch: the Show Desktop command file only where Windows makes its own.
        {"[QULAUNCH]", "Show Desktop.scf", "VISTA", false},
        {"[QULAUNCH]", "Window Switcher.SCF", "SEVEN", false},
        {"[QULAUNCH]", "Mixed.ScF", "SEVEN", false},
        {"[QULAUNCH]", "Show Desktop.scf", "2K-XP", true},
        {"[QULAUNCH]", "Show Desktop.scf", "", true},
        {"[QULAUNCH]", "Browser.lnk", "SEVEN", true},
        {"[QULAUNCH]", "scf", "SEVEN", true},
        // Walked categories take every file, whatever its name.
        {"[DESKTOP-]", "desktop.ini", "SEVEN", true},
        {"[WALLPAPE]", "Beach.bmp", "2K-XP", true},
        {"[MYDOCS--]", "x.scf", "SEVEN", true},
        {"[PICTURES]", "a.jpg", "2K-XP", true},
        {"[MYMUSIC-]", "a.mp3", "2K-XP", true},
        {"[MYVIDEOS]", "a.avi", "2K-XP", true},
        {"[SHAREDOC]", "a.txt", "2K-XP", true},
        {"[FAVORITE]", "a.url", "2K-XP", true},
        {"[WINMAIL-]", "a.eml", "VISTA", true},
        {"[WAB-----]", "a.contact", "VISTA", true},
        {"[THUNDER-]", "prefs.js", "2K-XP", true},
        {"[OEXPRESS]", "Inbox.dbx", "2K-XP", true},
        {"[WINCAL--]", "a.ics", "VISTA", true},
        {"[ADDDIR--]", "a.ini", "2K-XP", true},
        {"[FIREFOX-]", "prefs.js", "2K-XP", true},
        // The categories the listing adds itself, and no tag at all, take nothing from a walk.
        {"[OUTLOOK-]", "Outlook.pst", "2K-XP", false},
        {"[OUTLKNK2]", "Outlook.nk2", "2K-XP", false},
        {"[RASPHONE]", "Rasphone.pbk", "2K-XP", false},
        {"[ADDFILES]", "notes.txt", "2K-XP", false},
        {"", "notes.txt", "2K-XP", false},
        {"[mydocs--]", "notes.txt", "2K-XP", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepInRestore(c.tag, c.file, c.version), c.kept) << c.tag << " " << c.file << " on " << c.version;
}

TEST(RestoreRecords, RelativeRecordsStayInsideTheirFolder) {
    EXPECT_EQ(CheckRelativeRecord("C\\Data\\notes.txt"), RecordCheck::Usable);
    EXPECT_EQ(CheckRelativeRecord("D\\"), RecordCheck::Usable) << "a drive root kept as a folder";
    EXPECT_EQ(CheckRelativeRecord("UNC\\server\\share\\f.txt"), RecordCheck::Usable);
    EXPECT_EQ(CheckRelativeRecord(restoretest::kIdentityId), RecordCheck::Usable);
    EXPECT_EQ(CheckRelativeRecord(""), RecordCheck::Missing);
    for (const char* unsafe : {"..\\..\\Windows\\win.ini", "C\\..\\..\\..\\x", "C:\\Windows", "\\Windows", "..",
                               "C/../../x", "C\\. .\\x"})
        EXPECT_EQ(CheckRelativeRecord(unsafe), RecordCheck::Unsafe) << unsafe;
}

TEST(RestoreRecords, AProfileFolderMustBeWhereTheSetPutsIt) {
    const std::string ff = "Archive\\Firefox\\Profiles\\";
    std::string drive;
    EXPECT_EQ(CheckProfileRecord("Archive\\Firefox\\Profiles\\C\\default", ff, "default", drive), RecordCheck::Usable);
    EXPECT_EQ(drive, "C");
    EXPECT_EQ(CheckProfileRecord("archive\\FIREFOX\\profiles\\e\\Default", ff, "default", drive), RecordCheck::Usable)
        << "folder names compare without case";
    EXPECT_EQ(drive, "e");
    EXPECT_EQ(CheckProfileRecord("Archive\\Firefox\\Profiles\\UNC\\nas\\home\\work", ff, "work", drive),
              RecordCheck::Usable);
    EXPECT_EQ(drive, "UNC\\nas\\home");
    EXPECT_EQ(CheckProfileRecord("Archive\\Firefox\\Profiles\\C\\a/b", ff, "a/b", drive), RecordCheck::Usable)
        << "a profile name with a slash is a nested folder of the set";

    EXPECT_EQ(CheckProfileRecord("", ff, "default", drive), RecordCheck::Missing);
    EXPECT_EQ(drive, "");
    const char* unsafe[][2] = {
        {"Archive\\Firefox\\Profiles\\..\\..\\..\\Outside\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\..\\default", "default"},
        {"..\\..\\Outside\\default", "default"},
        {"C:\\Users\\alice\\default", "default"},
        {"Archive\\Thunderbird\\Profiles\\C\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\other", "default"},
        {"Archive\\Firefox\\Profiles\\CD\\default", "default"},
        {"Archive\\Firefox\\Profiles\\1\\default", "default"},
        {"Archive\\Firefox\\Profiles\\\\default", "default"},
        {"Archive\\Firefox\\Profiles\\UNC\\nas\\default", "default"},
        {"Archive\\Firefox\\Profiles\\UNC\\..\\share\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\..", ".."},
        {"Archive\\Firefox\\Profiles\\C\\..\\..\\x", "..\\..\\x"},
        {"Archive\\Firefox\\Profiles\\C\\default", ""},
    };
    for (const auto& u : unsafe) {
        EXPECT_EQ(CheckProfileRecord(u[0], ff, u[1], drive), RecordCheck::Unsafe) << u[0] << " for " << u[1];
        EXPECT_EQ(drive, "") << u[0];
    }
}

TEST(RestoreRecords, ProfileLinesNameTheFolderTheProfileCameFrom) {
    EXPECT_EQ(ProfileItemText("default", "%Default%\\abcd.default", "C:\\AppData\\Mozilla\\Firefox\\Profiles"),
              "default (C:\\AppData\\Mozilla\\Firefox\\Profiles\\abcd.default)");
    EXPECT_EQ(ProfileItemText("work", "%DEFAULT%\\w.work", "C:\\A"), "work (C:\\A\\w.work)");
    EXPECT_EQ(ProfileItemText("mail", "E:\\Mail\\x.mail", "C:\\A"), "mail (E:\\Mail\\x.mail)");
    EXPECT_EQ(ProfileItemText("none", "", "C:\\A"), "none ()");
}

TEST(RestoreRecords, ExtraListsComeFromKeysOneToTheirCount) {
    test::ScratchFolder scratch("extras");
    win::IniFile ini(scratch / "Files.ini");
    test::WriteFile(ini.FileName(), restoretest::IniText({"[FROM]", "1=C:\\a.txt", "2=", "3=D:\\c.txt", "[SAVED]",
                                                          "1=C\\a.txt", "3=D\\c.txt"}));
    EXPECT_EQ(ExtraListItems(ini), (std::vector<std::string>{"C:\\a.txt", "D:\\c.txt"})) << "an empty value is left out";

    // Three keys: 1 to 3 are read, whatever the keys are called; key "7" is never read.
    test::WriteFile(ini.FileName(), restoretest::IniText({"[FROM]", "2=C:\\b.txt", "1=C:\\a.txt", "7=C:\\g.txt"}));
    EXPECT_EQ(ExtraListItems(ini), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));

    EXPECT_EQ(ExtraListItems(win::IniFile(scratch / "missing.ini")), std::vector<std::string>{});
}
