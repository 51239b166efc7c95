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

// A section read in one call answers every key as the platform's own read of that key does.
TEST(IniFile, ASectionReadWholeAgreesWithEachValueReadAlone) {
    test::ScratchFolder dir("win-ini-section");
    std::string text = "[FROM]\r\n  2  =  D:\\Old Files  \r\n; a comment=3\r\n3=\"C:\\Quoted\"\r\n4='single'\r\n"
                       "5=\"\r\n6=\"\"\r\n7=a=b\r\nlone\r\n8=\r\nKey=first\r\nKEY=second\r\n\r\n9=\"x\" y\"\r\n";
    // Enough keys that the answer outgrows the first buffer.
    for (int i = 100; i < 3000; ++i) text += std::to_string(i) + "=C:\\Folder number " + std::to_string(i) + "\r\n";
    test::WriteFile(dir / "Folders.ini", text + "[SAVED]\r\n1=C\\Work\r\n");
    win::IniFile ini(dir / "Folders.ini");
    const win::IniSection from = ini.ReadSectionValues("from");
    EXPECT_EQ(from.KeyCount(), ini.ReadSection("FROM").size());
    for (const std::string& key : Names{"1", "2", "3", "4", "5", "6", "7", "8", "9", "lone", "key", "KEY", "", "2999"})
        EXPECT_EQ(from.Value(key, "<none>"), ini.ReadString("FROM", key, "<none>")) << "key " << key;
    EXPECT_EQ(win::IniFile(dir / "missing.ini").ReadSectionValues("FROM").Value("1", "def"), "def");
}
