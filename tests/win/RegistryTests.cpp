#include <windows.h>
#include <shlwapi.h>
#include <algorithm>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "win/Registry.h"

namespace {

const char* const kScratch = "Software\\HalvorkeepTests\\win-registry";
using Names = std::vector<std::string>;

// A scratch key under HKEY_CURRENT_USER, deleted with all it holds before and after each test.
class Registry : public testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &root_, nullptr));
    }
    void TearDown() override {
        if (root_) RegCloseKey(root_);
        SHDeleteKeyA(HKEY_CURRENT_USER, kScratch);
    }
    // Seeds a value with exactly the given bytes, bypassing the code under test.
    void Seed(const std::string& sub, const std::string& name, DWORD type, const std::string& bytes) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
        RegCloseKey(key);
    }
    void SeedText(const std::string& sub, const std::string& name, DWORD type, const std::string& text) {
        Seed(sub, name, type, std::string(text.c_str(), text.size() + 1));
    }
    std::string Path(const std::string& sub) const { return std::string(kScratch) + "\\" + sub; }
    DWORD TypeOf(const std::string& sub, const std::string& name) {
        HKEY key;
        DWORD type = REG_NONE;
        if (RegOpenKeyExA(root_, sub.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr);
            RegCloseKey(key);
        }
        return type;
    }
    static Names Sorted(Names n) {
        std::sort(n.begin(), n.end());
        return n;
    }

    HKEY root_ = nullptr;
};

}  // namespace

TEST_F(Registry, ReadsStringValuesAsStored) {
    SeedText("Desktop", "Wallpaper", REG_SZ, "C:\\Users\\me\\Pictures\\beach.bmp");
    SeedText("Desktop", "Store Root", REG_EXPAND_SZ, "%UserProfile%\\Local Settings\\Application Data\\Mail");
    SeedText("Desktop", "Empty", REG_SZ, "");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Desktop")));
    EXPECT_EQ("C:\\Users\\me\\Pictures\\beach.bmp", key.ReadString("Wallpaper"));
    EXPECT_EQ("C:\\Users\\me\\Pictures\\beach.bmp", key.ReadString("WALLPAPER"));
    EXPECT_EQ("%UserProfile%\\Local Settings\\Application Data\\Mail", key.ReadString("Store Root"));
    EXPECT_EQ("", key.ReadString("Empty"));
    EXPECT_TRUE(key.ValueExists("Empty"));
}

TEST_F(Registry, DefaultValueHasTheEmptyName) {
    SeedText("WAB\\WAB4\\Wab File Name", "", REG_SZ, "C:\\Users\\me\\Address Book\\me.wab");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("WAB\\WAB4\\Wab File Name")));
    EXPECT_TRUE(key.ValueExists(""));
    EXPECT_EQ("C:\\Users\\me\\Address Book\\me.wab", key.ReadString(""));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("WAB\\WAB4")));
    EXPECT_FALSE(key.ValueExists(""));
    EXPECT_EQ("", key.ReadString(""));
}

TEST_F(Registry, OddDataIsReadSafely) {
    Seed("Odd", "NoNul", REG_SZ, "abc");
    Seed("Odd", "EmbeddedNul", REG_SZ, std::string("abc\0def\0", 8));
    Seed("Odd", "NoBytes", REG_SZ, "");
    Seed("Odd", "Number", REG_DWORD, std::string("\x02\x00\x00\x00", 4));
    std::string longText(20000, 'x');
    longText += "end";
    SeedText("Odd", "Long", REG_SZ, longText);
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Odd")));
    EXPECT_EQ("abc", key.ReadString("NoNul"));
    EXPECT_EQ("abc", key.ReadString("EmbeddedNul"));
    EXPECT_EQ("", key.ReadString("NoBytes"));
    EXPECT_EQ("", key.ReadString("Number"));
    EXPECT_TRUE(key.ValueExists("Number"));
    EXPECT_EQ(longText, key.ReadString("Long"));
}

TEST_F(Registry, SubKeyAndValueNames) {
    SeedText("Identities\\{11111111-AAAA}", "Username", REG_SZ, "Main Identity");
    SeedText("Identities\\{22222222-BBBB}", "Username", REG_SZ, "Work");
    SeedText("Identities\\{22222222-BBBB}\\Software", "x", REG_SZ, "nested keys are not listed");
    SeedText("Identities", "Last Username", REG_SZ, "Work");
    SeedText("Identities", "Default User ID", REG_SZ, "{11111111-AAAA}");
    std::string longName(600, 'n');
    SeedText("Identities", longName, REG_SZ, "a name longer than the first buffer");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Identities")));
    EXPECT_EQ((Names{"{11111111-AAAA}", "{22222222-BBBB}"}), Sorted(key.SubKeyNames()));
    EXPECT_EQ(Sorted({"Last Username", "Default User ID", longName}), Sorted(key.ValueNames()));
    EXPECT_TRUE(key.HasSubKey("{22222222-BBBB}"));
    EXPECT_TRUE(key.HasSubKey("{22222222-bbbb}\\software"));
    EXPECT_FALSE(key.HasSubKey("{33333333-CCCC}"));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Identities\\{11111111-AAAA}")));
    EXPECT_EQ(Names{}, key.SubKeyNames());
    EXPECT_EQ((Names{"Username"}), key.ValueNames());
}

TEST_F(Registry, MissingKeyOrValue) {
    SeedText("Present", "Value", REG_SZ, "v");
    win::RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, Path("Absent")));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ("", key.ReadString("Value"));
    EXPECT_FALSE(key.ValueExists("Value"));
    EXPECT_EQ(Names{}, key.SubKeyNames());
    EXPECT_EQ(Names{}, key.ValueNames());
    EXPECT_FALSE(key.HasSubKey("x"));
    EXPECT_FALSE(key.WriteString("Value", "w"));
    EXPECT_FALSE(win::RegistryKeyExists(HKEY_CURRENT_USER, Path("Absent")));
    EXPECT_TRUE(win::RegistryKeyExists(HKEY_CURRENT_USER, Path("Present")));
    // Opening a missing key closes the one held before.
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Present")));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, Path("Absent")));
    EXPECT_EQ("", key.ReadString("Value"));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Present")));
    EXPECT_EQ("", key.ReadString("Other"));
    EXPECT_FALSE(key.ValueExists("Other"));
}

TEST_F(Registry, LeadingBackslashNamesTheSameKey) {
    SeedText("Internet Explorer\\Main", "Start Page", REG_SZ, "http://example.org/");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "\\" + Path("Internet Explorer\\Main")));
    EXPECT_EQ("http://example.org/", key.ReadString("Start Page"));
    EXPECT_TRUE(win::RegistryKeyExists(HKEY_CURRENT_USER, "\\" + Path("Internet Explorer")));
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, "\\" + Path("Internet Explorer\\Main"), KEY_ALL_ACCESS));
    EXPECT_TRUE(key.WriteString("Start Page", "http://example.net/"));
    EXPECT_EQ("http://example.net/", key.ReadString("Start Page"));
}

TEST_F(Registry, CreateMakesMissingKeysAndWritesBothStringTypes) {
    win::RegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, Path("Control Panel\\Desktop")));
    ASSERT_TRUE(key.WriteString("WallpaperStyle", "2"));
    ASSERT_TRUE(key.WriteExpandString("Wallpaper", "%USERPROFILE%\\beach.bmp"));
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), TypeOf("Control Panel\\Desktop", "WallpaperStyle"));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), TypeOf("Control Panel\\Desktop", "Wallpaper"));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Control Panel\\Desktop")));
    EXPECT_EQ("2", key.ReadString("WallpaperStyle"));
    EXPECT_EQ("%USERPROFILE%\\beach.bmp", key.ReadString("Wallpaper"));
    // Created again: the values stay.
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, Path("Control Panel\\Desktop")));
    EXPECT_EQ("2", key.ReadString("WallpaperStyle"));
}

TEST_F(Registry, ReadOnlyKeyRefusesWrites) {
    SeedText("Fonts", "Arial (TrueType)", REG_SZ, "arial.ttf");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Fonts")));
    EXPECT_FALSE(key.WriteString("Arial (TrueType)", "changed.ttf"));
    EXPECT_EQ("arial.ttf", key.ReadString("Arial (TrueType)"));
}
