// Under a double-byte ANSI code page the check of a set's registry exports reads the lines that
// regedit reads. This entry runs under a Japanese locale (code page 932): each file is checked,
// then imported by the real regedit, and a file that made regedit write a key outside the
// exported one must have been refused.
#include <windows.h>
#include <shlwapi.h>
#include <gtest/gtest.h>
#include <string>
#include "TestSupport.h"
#include "app/Environment.h"
#include "restore/RegistryFileCheck.h"

namespace {

const std::string kBase = "Software\\HalvorkeepTests\\CodePage";
const std::string kRoot = "HKEY_CURRENT_USER\\" + kBase + "\\Accounts";
const std::string kOutside = "HKEY_CURRENT_USER\\" + kBase + "\\Outside";
// "メール" (mail) and "名前" (name) in code page 932; the second byte of "ー" is "[".
const std::string kMail = "\x83\x81\x81\x5B\x83\x8B";
const std::string kName = "\x96\xBC\x91\x4F";

bool KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

void DeleteTestKeys() { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\HalvorkeepTests\\CodePage"); }

}  // namespace

TEST(RegistryFileCheckCodePage, TheCheckRefusesWhatRegeditWouldWriteOutsideTheKey) {
    ASSERT_EQ(GetACP(), 932u) << "this entry must run under a Japanese locale (HK_TEST_LOCALE)";
    const std::string head = "REGEDIT4\r\n\r\n[" + kRoot + "]\r\n";
    const struct Case {
        const char* what;
        std::string text;
        bool accepted;
        std::string made;  // a key below the exported one that regedit must have made
    } cases[] = {
        {"a lead byte before a lone line feed",
         head + "\"Name\"=\"" + kMail + "\x81\n[" + kOutside + "]\r\n\"Run\"=\"evil.exe\"\r\n", false, ""},
        {"a lead byte before a lone carriage return",
         head + "\"Name\"=\"" + kMail + "\x81\r[" + kOutside + "]\r\n\"Run\"=\"evil.exe\"\r\n", false, ""},
        {"a lead byte before CR LF", head + "\"Name\"=\"x\x81\r\n[" + kOutside + "]\r\n", false, ""},
        {"a lead byte as the last byte of the file", head + "\"Name\"=\"x\x81", true, ""},
        {"a \"[\" that is the second byte of a character", head + kMail + "[" + kOutside + "]\r\n", true, ""},
        {"Japanese names below the exported key",
         head + "[" + kRoot + "\\" + kMail + "]\r\n\"" + kName + "\"=\"" + kMail + "\"\r\n", true,
         kBase + "\\Accounts\\" + kMail},
    };
    test::ScratchFolder dir("registry-cp932");
    DeleteTestKeys();
    for (const Case& c : cases) {
        const std::string file = dir / "Accounts.Reg";
        test::WriteFile(file, c.text);
        EXPECT_EQ(RegistryFileStaysBelow(file, kRoot), c.accepted) << c.what;
        RunAndWait("regedit", "/S \"" + file + "\"");
        // regedit read the file: it made the exported key, and anything outside it only where
        // the check said no.
        EXPECT_TRUE(KeyExists(kBase + "\\Accounts")) << "regedit did not import: " << c.what;
        EXPECT_EQ(KeyExists(kBase + "\\Outside"), !c.accepted) << "regedit and the check disagree: " << c.what;
        EXPECT_TRUE(c.made.empty() || KeyExists(c.made)) << "regedit did not make " << c.made;
        DeleteTestKeys();
    }
}
