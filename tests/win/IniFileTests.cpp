#include <gtest/gtest.h>
#include "TestSupport.h"
#include "win/IniFile.h"

using Names = std::vector<std::string>;

TEST(IniFile, SectionsAndKeysInFileOrder) {
    test::ScratchFolder dir("win-ini-order");
    test::WriteFile(dir / "profiles.ini", "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                                          "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=D:\\Mozilla\\work\r\nEmpty=\r\n"
                                          "[Profile0]\r\nName=default\r\n[zeta]\r\n");
    win::IniFile ini(dir / "profiles.ini");
    EXPECT_EQ((Names{"General", "Profile1", "Profile0", "zeta"}), ini.ReadSections());
    EXPECT_EQ((Names{"Name", "IsRelative", "Path", "Empty"}), ini.ReadSection("profile1"));
    EXPECT_EQ("D:\\Mozilla\\work", ini.ReadString("PROFILE1", "path", ""));
    EXPECT_EQ("", ini.ReadString("Profile1", "Empty", "default"));
    EXPECT_EQ("default", ini.ReadString("Profile1", "Missing", "default"));
    EXPECT_TRUE(ini.SectionExists("ZETA"));
    EXPECT_TRUE(ini.ValueExists("profile0", "NAME"));
    EXPECT_FALSE(ini.ValueExists("Profile0", "Path"));
    win::IniFile missing(dir / "Halvorkeep.ini");
    EXPECT_EQ("English", missing.ReadString("CONFIG", "LastLanguage", "English"));
    EXPECT_EQ(Names{}, missing.ReadSections());
    EXPECT_FALSE(win::IniFile(dir / "NoFolder\\Halvorkeep.ini").WriteString("CONFIG", "LastLanguage", "x"));
}

TEST(IniFile, LongValuesAndListsAreWhole) {
    test::ScratchFolder dir("win-ini-long");
    win::IniFile ini(dir / "Files.ini");
    std::string longValue;
    for (int i = 0; longValue.size() < 9000; ++i) longValue += "C:\\Documents\\folder" + std::to_string(i) + "\\";
    ASSERT_TRUE(ini.WriteString("FROM", "1", longValue));
    EXPECT_EQ(longValue, ini.ReadString("FROM", "1", ""));
    Names sections{"FROM"}, keys{"1"};
    for (int i = 0; i < 300; ++i) {
        sections.push_back("Section number " + std::to_string(i));
        keys.push_back("Key" + std::to_string(i));
        ASSERT_TRUE(ini.WriteString(sections.back(), "k", "v") && ini.WriteString("FROM", keys.back(), "v"));
    }
    EXPECT_EQ(sections, ini.ReadSections());
    EXPECT_EQ(keys, ini.ReadSection("FROM"));
}
