// The restore's rules that need no window: the per-file filter, the checks on a set's records and
// the extra lists read from Files.ini / Folders.ini.
#include <gtest/gtest.h>
#include "RestoreFixture.h"
#include "restore/RestoreRules.h"

TEST(RestoreFilter, FontsSettingsAndQuickLaunchCommandsStayOutWhereTheyAreTheSystemsOwn) {
    struct Case {
        const char* tag;
        const char* file;
        const char* version;
        bool kept;
    } cases[] = {
        {"[FONTS---]", "Fancy.ttf", "SEVEN", true},
        {"[FONTS---]", "desktop.ini", "2K-XP", false},
        {"[FONTS---]", "OLD.INI", "2K-XP", true},  // the extension is compared with its case
        {"[QULAUNCH]", "Show Desktop.scf", "VISTA", false},
        {"[QULAUNCH]", "Window Switcher.SCF", "SEVEN", false},
        {"[QULAUNCH]", "Show Desktop.scf", "2K-XP", true},
        {"[QULAUNCH]", "Show Desktop.scf", "", true},
        {"[QULAUNCH]", "Browser.lnk", "SEVEN", true},
        {"[DESKTOP-]", "desktop.ini", "SEVEN", true},
        {"[ADDDIR--]", "x.scf", "SEVEN", true},
        // Categories the listing adds itself, and no tag, take nothing from a walk.
        {"[OUTLOOK-]", "Outlook.pst", "2K-XP", false},
        {"[ADDFILES]", "notes.txt", "2K-XP", false},
        {"", "notes.txt", "2K-XP", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepInRestore(c.tag, c.file, c.version), c.kept) << c.tag << " " << c.file << " on " << c.version;
}

TEST(RestoreRecords, RelativeRecordsStayInsideTheirFolder) {
    for (const char* usable : {"C\\Data\\notes.txt", "D\\", "UNC\\server\\share\\f.txt", restoretest::kIdentityId})
        EXPECT_EQ(CheckRelativeRecord(usable), RecordCheck::Usable) << usable;
    EXPECT_EQ(CheckRelativeRecord(""), RecordCheck::Missing);
    for (const char* unsafe : {"..\\..\\Windows\\win.ini", "C\\..\\..\\x", "C:\\Windows", "\\Windows", "C/../x",
                               "C\\. .\\x"})
        EXPECT_EQ(CheckRelativeRecord(unsafe), RecordCheck::Unsafe) << unsafe;
}

TEST(RestoreRecords, AProfileFolderMustBeWhereTheSetPutsIt) {
    const std::string ff = "Archive\\Firefox\\Profiles\\";
    const char* usable[][2] = {
        {"Archive\\Firefox\\Profiles\\C\\default", "default"},
        {"archive\\FIREFOX\\profiles\\e\\Default", "default"},  // folder names compare without case
        {"Archive\\Firefox\\Profiles\\UNC\\nas\\home\\work", "work"},
        {"Archive\\Firefox\\Profiles\\C\\a/b", "a/b"},  // a name with a slash: a nested folder
    };
    for (const auto& u : usable) EXPECT_EQ(CheckProfileRecord(u[0], ff, u[1]), RecordCheck::Usable) << u[0];
    EXPECT_EQ(CheckProfileRecord("", ff, "default"), RecordCheck::Missing);
    const char* unsafe[][2] = {
        {"Archive\\Firefox\\Profiles\\..\\..\\..\\Outside\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\..\\default", "default"},
        {"C:\\Users\\alice\\default", "default"},
        {"Archive\\Thunderbird\\Profiles\\C\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\other", "default"},
        {"Archive\\Firefox\\Profiles\\CD\\default", "default"},
        {"Archive\\Firefox\\Profiles\\\\default", "default"},
        {"Archive\\Firefox\\Profiles\\UNC\\nas\\default", "default"},
        {"Archive\\Firefox\\Profiles\\UNC\\..\\share\\default", "default"},
        {"Archive\\Firefox\\Profiles\\C\\..\\..\\x", "..\\..\\x"},
    };
    for (const auto& u : unsafe)
        EXPECT_EQ(CheckProfileRecord(u[0], ff, u[1]), RecordCheck::Unsafe) << u[0] << " for " << u[1];
}

TEST(RestoreRecords, ExtraListsComeFromKeysOneToTheirCount) {
    test::ScratchFolder scratch("extras");
    win::IniFile ini(scratch / "Files.ini");
    test::WriteFile(ini.FileName(), restoretest::IniText({"[FROM]", "1=C:\\a.txt", "2=", "3=D:\\c.txt"}));
    EXPECT_EQ(ExtraListItems(ini), (std::vector<std::string>{"C:\\a.txt", "D:\\c.txt"})) << "an empty value is left out";
    // Three keys: "1" to "3" are read in that order; "7" never is.
    test::WriteFile(ini.FileName(), restoretest::IniText({"[FROM]", "2=C:\\b.txt", "1=C:\\a.txt", "7=C:\\g.txt"}));
    EXPECT_EQ(ExtraListItems(ini), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    EXPECT_TRUE(ExtraListItems(win::IniFile(scratch / "missing.ini")).empty());
}
