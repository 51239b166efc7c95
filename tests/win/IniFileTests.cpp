#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"
#include "win/IniFile.h"

using Names = std::vector<std::string>;

TEST(IniFile, SectionsAndKeysInFileOrder) {
    test::ScratchFolder dir("win-ini-order");
    test::WriteFile(dir / "profiles.ini",
                    "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                    "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=D:\\Mozilla\\work\r\n\r\n"
                    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abcd.default\r\n"
                    "[zeta]\r\n[Alpha]\r\nb=2\r\na=1\r\n");
    win::IniFile ini(dir / "profiles.ini");
    EXPECT_EQ((Names{"General", "Profile1", "Profile0", "zeta", "Alpha"}), ini.ReadSections());
    EXPECT_EQ((Names{"Name", "IsRelative", "Path"}), ini.ReadSection("Profile1"));
    EXPECT_EQ((Names{"b", "a"}), ini.ReadSection("alpha"));
    EXPECT_EQ(Names{}, ini.ReadSection("zeta"));
    EXPECT_EQ(Names{}, ini.ReadSection("nowhere"));
}

TEST(IniFile, NamesMatchWhateverTheirCase) {
    test::ScratchFolder dir("win-ini-case");
    test::WriteFile(dir / "English.ini", "[INTERFACE]\r\nDesktop Wallpaper=Fond\r\nDesktopWallpaper=Other\r\n");
    win::IniFile ini(dir / "English.ini");
    EXPECT_EQ("Fond", ini.ReadString("interface", "DESKTOP WALLPAPER", "x"));
    EXPECT_EQ("Other", ini.ReadString("Interface", "desktopwallpaper", "x"));
    EXPECT_TRUE(ini.SectionExists("Interface"));
    EXPECT_FALSE(ini.SectionExists("INTERFACES"));
    EXPECT_TRUE(ini.ValueExists("interface", "desktop wallpaper"));
    EXPECT_FALSE(ini.ValueExists("interface", "Desktop  Wallpaper"));
    EXPECT_FALSE(ini.ValueExists("welcome", "DesktopWallpaper"));
    // A later write in another case lands on the same key.
    ASSERT_TRUE(ini.WriteString("interface", "DESKTOPWALLPAPER", "New"));
    EXPECT_EQ((Names{"Desktop Wallpaper", "DesktopWallpaper"}), ini.ReadSection("INTERFACE"));
    EXPECT_EQ("New", ini.ReadString("INTERFACE", "DesktopWallpaper", ""));
}

TEST(IniFile, LongValuesAndLongListsAreWhole) {
    test::ScratchFolder dir("win-ini-long");
    win::IniFile ini(dir / "Files.ini");
    std::string longValue;
    for (int i = 0; longValue.size() < 9000; ++i) longValue += "C:\\Documents\\folder" + std::to_string(i) + "\\";
    ASSERT_TRUE(ini.WriteString("FROM", "1", longValue));
    EXPECT_EQ(longValue, ini.ReadString("FROM", "1", ""));
    // Exactly the size of a first buffer, and one more.
    for (size_t n : {size_t(1022), size_t(1023), size_t(1024), size_t(2047), size_t(2048)}) {
        std::string v(n, 'v');
        ASSERT_TRUE(ini.WriteString("EDGE", "k", v));
        EXPECT_EQ(v, ini.ReadString("EDGE", "k", "")) << n;
    }
    Names sections, keys;
    for (int i = 0; i < 400; ++i) {
        sections.push_back("Section number " + std::to_string(i));
        keys.push_back(std::to_string(i + 1));
    }
    for (const std::string& s : sections) ASSERT_TRUE(ini.WriteString(s, "Key", "v"));
    for (const std::string& k : keys) ASSERT_TRUE(ini.WriteString("TO", k, "v"));
    Names expected = {"FROM", "EDGE"};
    expected.insert(expected.end(), sections.begin(), sections.end());
    expected.push_back("TO");
    EXPECT_EQ(expected, ini.ReadSections());
    EXPECT_EQ(keys, ini.ReadSection("TO"));
}

TEST(IniFile, MissingFileReadsDefaults) {
    test::ScratchFolder dir("win-ini-missing");
    win::IniFile ini(dir / "Halvorkeep.ini");
    EXPECT_EQ("English", ini.ReadString("CONFIG", "LastLanguage", "English"));
    EXPECT_EQ("", ini.ReadString("CONFIG", "LastLanguage", ""));
    EXPECT_EQ(Names{}, ini.ReadSections());
    EXPECT_EQ(Names{}, ini.ReadSection("CONFIG"));
    EXPECT_FALSE(ini.SectionExists("CONFIG"));
    EXPECT_FALSE(ini.ValueExists("CONFIG", "LastLanguage"));
    EXPECT_FALSE(FileExists(ini.FileName()));
}

TEST(IniFile, MissingKeyReadsDefaultButAnEmptyValueIsEmpty) {
    test::ScratchFolder dir("win-ini-default");
    test::WriteFile(dir / "Halvorkeep.ini", "[CONFIG]\r\nLastBackupFolder=\r\nBackupInSubFolder=  YES  \r\n"
                                            "Quoted=\"C:\\Backup \"\r\n");
    win::IniFile ini(dir / "Halvorkeep.ini");
    EXPECT_EQ("", ini.ReadString("CONFIG", "LastBackupFolder", "fallback"));
    EXPECT_EQ("fallback", ini.ReadString("CONFIG", "LastLanguage", "fallback"));
    EXPECT_TRUE(ini.ValueExists("CONFIG", "LastBackupFolder"));
    // As the platform gives them: blanks trimmed, enclosing quotes removed.
    EXPECT_EQ("YES", ini.ReadString("CONFIG", "BackupInSubFolder", ""));
    EXPECT_EQ("C:\\Backup ", ini.ReadString("CONFIG", "Quoted", ""));
}

TEST(IniFile, WritesGoStraightToTheFile) {
    test::ScratchFolder dir("win-ini-write");
    std::string path = dir / "Halvorkeep.ini";
    win::IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("CONFIG", "LastLanguage", "Deutsch"));
    ASSERT_TRUE(ini.WriteString("CONFIG", "BackupInSubFolder", "YES"));
    std::string text = test::ReadFile(path);
    EXPECT_NE(std::string::npos, text.find("[CONFIG]")) << text;
    EXPECT_NE(std::string::npos, text.find("LastLanguage=Deutsch")) << text;
    // A second object on the same file sees the values at once.
    win::IniFile other(path);
    EXPECT_EQ("YES", other.ReadString("config", "backupinsubfolder", ""));
}

TEST(IniFile, WriteIntoAMissingFolderFails) {
    test::ScratchFolder dir("win-ini-nofolder");
    win::IniFile ini(dir / "Archive\\Wallpaper\\WallPaper.ini");
    EXPECT_FALSE(ini.WriteString("WALLPAPER", "Style", "2"));
    EXPECT_FALSE(FolderExists(dir / "Archive"));
    EXPECT_EQ("none", ini.ReadString("WALLPAPER", "Style", "none"));
}

TEST(IniFile, EraseSectionAndDeleteKey) {
    test::ScratchFolder dir("win-ini-erase");
    test::WriteFile(dir / "Fonts.ini", "[FONTS]\r\narial.ttf=Arial\r\ncour.ttf=Courier New\r\n[OTHER]\r\nx=1\r\n");
    win::IniFile ini(dir / "Fonts.ini");
    ASSERT_TRUE(ini.DeleteKey("fonts", "ARIAL.TTF"));
    EXPECT_EQ((Names{"cour.ttf"}), ini.ReadSection("FONTS"));
    ASSERT_TRUE(ini.EraseSection("Fonts"));
    EXPECT_EQ((Names{"OTHER"}), ini.ReadSections());
    EXPECT_EQ("1", ini.ReadString("OTHER", "x", ""));
}
