// A set's registry exports are imported only when every key they name lies at or below the key
// the backup exported into them, in both encodings regedit reads.
#include <gtest/gtest.h>
#include <string>
#include "restore/RegistryFileCheck.h"

namespace {

const std::string kAccounts = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts";
const std::string kHeader5 = "Windows Registry Editor Version 5.00\r\n\r\n";

// The text as regedit /E writes it: UTF-16LE after a byte-order mark (ASCII text only here).
std::string Utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) bytes += std::string{c, '\0'};
    return bytes;
}

// An honest accounts export, followed by `tail`.
std::string Accounts(const std::string& tail) {
    return kHeader5 + "[" + kAccounts + "]\r\n\r\n[" + kAccounts + "\\00000001]\r\n\"Account Name\"=\"Home mail\"\r\n" +
           "\"POP3 Port\"=dword:0000006e\r\n\"Password\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,\\\r\n" +
           "  11,12\r\n\r\n" + tail;
}

}  // namespace

TEST(RegistryFileCheck, OnlyKeysAtOrBelowTheExportedKeyAreAccepted) {
    const struct Case {
        const char* what;
        std::string text;
        bool accepted;
    } cases[] = {
        {"an honest export", Accounts(""), true},
        {"an ANSI export of regedit 4", "REGEDIT4\r\n\r\n[" + kAccounts + "\\00000002]\r\n\"A\"=\"b\"\r\n", true},
        {"letter case and the blanks around a header line",
         Accounts("  \t[hkey_current_user\\software\\microsoft\\internet account manager\\ACCOUNTS\\00000003]  \r\n"),
         true},
        {"the deletion of a key below it", Accounts("[-" + kAccounts + "\\00000009]\r\n"), true},
        {"a \"[\" inside a value line", Accounts("\"Name\"=\"[HKEY_LOCAL_MACHINE\\Software\\Evil]\"\r\n"), true},
        {"a \"[\" inside a continued hex line",
         Accounts("\"Bin\"=hex:01,02,\\\r\n  03,[HKEY_LOCAL_MACHINE\\Software\\Evil]\r\n"), true},
        {"an extra HKEY_LOCAL_MACHINE key",
         Accounts("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"x\"=\"evil.exe\"\r\n"),
         false},
        {"a deletion elsewhere", Accounts("[-HKEY_CURRENT_USER\\Software\\Other]\r\n"), false},
        {"a sibling whose name begins the same", Accounts("[" + kAccounts + "2\\00000001]\r\n"), false},
        {"an abbreviated root", Accounts("[HKCU\\Software\\Microsoft\\Internet Account Manager\\Accounts\\1]\r\n"),
         false},
        {"a blank inside the brackets", Accounts("[ HKEY_LOCAL_MACHINE\\Software\\Evil]\r\n"), false},
        {"a header line after blanks", Accounts("   [HKEY_LOCAL_MACHINE\\Software\\Evil]   \r\n"), false},
        {"a key after a lone carriage return",
         Accounts("\"Name\"=\"x\"\r[HKEY_LOCAL_MACHINE\\Software\\Evil]\r\n"), false},
        {"a header without its closing bracket", Accounts("[HKEY_LOCAL_MACHINE\\Software\\Evil\r\n"), false},
        {"a NUL that could hide the rest", Accounts(std::string("\"A\"=\"b\"\0\r\n", 10) + "[HKEY_USERS\\x]\r\n"),
         false},
        {"an empty file", "", false},
        {"no header", "[" + kAccounts + "]\r\n", false},
        {"a blank line before the header", "\r\n" + Accounts(""), false},
        {"the header of regedit 3.1",
         "REGEDIT\r\nHKEY_CLASSES_ROOT\\exefile\\shell\\open\\command = evil.exe\r\n", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegistryTextStaysBelow(c.text, kAccounts), c.accepted) << "ANSI: " << c.what;
        EXPECT_EQ(RegistryTextStaysBelow(Utf16(c.text), kAccounts), c.accepted) << "UTF-16: " << c.what;
    }
    // What only one of the two encodings can hold.
    EXPECT_FALSE(RegistryTextStaysBelow("\xFF\xFE", kAccounts)) << "a byte-order mark alone";
    EXPECT_FALSE(RegistryTextStaysBelow(Utf16(Accounts("")) + "[", kAccounts)) << "half a UTF-16 character";
    EXPECT_FALSE(RegistryTextStaysBelow("\xEF\xBB\xBF" + Accounts(""), kAccounts)) << "UTF-8, which regedit reads as ANSI";
    // The root of an identity's own file, which ends in its key name.
    const std::string identity = "HKEY_CURRENT_USER\\Identities\\{AB12CD34-0000-4000-8000-000000000001}";
    EXPECT_TRUE(RegistryTextStaysBelow(Utf16(kHeader5 + "[" + identity + "]\r\n[" + identity + "\\Software]\r\n"),
                                       identity));
    EXPECT_FALSE(RegistryTextStaysBelow(
        Utf16(kHeader5 + "[" + identity + "]\r\n[HKEY_CURRENT_USER\\Identities\\{AB12CD34-0000-4000-8000-000000000002}]\r\n"),
        identity));
}
