#include <windows.h>
#include <shlwapi.h>
#include <algorithm>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "win/Registry.h"

static const std::string kScratch = "Software\\HalvorkeepTests\\win-registry";
using Names = std::vector<std::string>;

// A scratch key under HKEY_CURRENT_USER, seeded with raw bytes and deleted with all it holds.
class Registry : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kScratch.c_str()); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kScratch.c_str()); }
    void Seed(const std::string& sub, const std::string& name, DWORD type, const std::string& bytes) {
        HKEY key;
        ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, Path(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &key, nullptr));
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
        RegCloseKey(key);
    }
    static std::string Path(const std::string& sub) { return kScratch + "\\" + sub; }
};

TEST_F(Registry, ReadsStringValuesAsStored) {
    const std::string nul(1, '\0');
    Seed("WAB4", "", REG_SZ, "C:\\Users\\me\\me.wab" + nul);
    Seed("WAB4", "Store Root", REG_EXPAND_SZ, "%UserProfile%\\Mail" + nul);
    Seed("WAB4", "NoNul", REG_SZ, "abc");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("WAB4")));
    EXPECT_EQ("C:\\Users\\me\\me.wab", key.ReadString(""));
    EXPECT_EQ("%UserProfile%\\Mail", key.ReadString("store root"));
    EXPECT_EQ("abc", key.ReadString("NoNul"));
    EXPECT_EQ("", key.ReadString("Missing"));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, Path("Absent")));
    EXPECT_EQ("", key.ReadString(""));
}

TEST_F(Registry, SubKeyNames) {
    Seed("Identities\\{11111111-AAAA}", "Username", REG_SZ, "Main");
    Seed("Identities\\{22222222-BBBB}\\Software", "x", REG_SZ, "nested");
    Seed("Identities", "Last Username", REG_SZ, "Main");
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Identities")));
    Names subKeys = key.SubKeyNames();
    std::sort(subKeys.begin(), subKeys.end());
    EXPECT_EQ((Names{"{11111111-AAAA}", "{22222222-BBBB}"}), subKeys);
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Path("Identities\\{11111111-AAAA}")));
    EXPECT_EQ(Names{}, key.SubKeyNames());
}

TEST_F(Registry, CreateWritesBothStringTypes) {
    win::RegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, "\\" + Path("Control Panel\\Desktop")));
    ASSERT_TRUE(key.WriteString("Style", "2") && key.WriteExpandString("Wallpaper", "%USERPROFILE%\\beach.bmp"));
    DWORD type = 0;
    ASSERT_EQ(0, RegQueryValueExA(key.get(), "Wallpaper", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), type);
    EXPECT_EQ("%USERPROFILE%\\beach.bmp", key.ReadString("Wallpaper"));
    EXPECT_EQ("2", key.ReadString("Style"));
}
