// A profiles.ini saved in Unicode, turned into the ANSI code page (1252 in the test prefixes).
#include <gtest/gtest.h>
#include <windows.h>
#include "TestSupport.h"
#include "categories/Detection.h"
#include "categories/ProfilesIniText.h"

namespace {

// The same text as the test prefixes' ANSI code page (1252) holds it, and as UTF-16 and UTF-8.
const std::string kAnsi = "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=Zo\xE9\n";
const std::string kUtf8 = "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=Zo\xC3\xA9\n";

std::string Utf16(const std::string& ansi, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (unsigned char c : ansi) {
        // Latin-1 letters sit at the same code points in 1252 and in Unicode.
        const char pair[2] = {bigEndian ? '\0' : static_cast<char>(c), bigEndian ? static_cast<char>(c) : '\0'};
        bytes.append(pair, 2);
    }
    return bytes;
}

}  // namespace

TEST(ProfilesIniText, ByteOrderMarksTellTheEncodingAndEachIsTurnedIntoTheSameAnsiText) {
    ASSERT_EQ(GetACP(), 1252u) << "the test prefixes run with code page 1252";
    const struct {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {{Utf16(kAnsi, false), TextEncoding::Utf16LE},
                 {Utf16(kAnsi, true), TextEncoding::Utf16BE},
                 {"\xEF\xBB\xBF" + kUtf8, TextEncoding::Utf8},
                 {kAnsi, TextEncoding::Ansi}};
    for (const auto& c : cases) {
        EXPECT_EQ(EncodingOf(c.bytes), c.encoding);
        std::string ansi;
        EXPECT_TRUE(TextToAnsi(c.bytes, ansi)) << static_cast<int>(c.encoding);
        EXPECT_EQ(ansi, kAnsi) << static_cast<int>(c.encoding);
    }
    // UTF-8 without its mark is taken for ANSI, byte for byte.
    std::string ansi;
    EXPECT_EQ(EncodingOf(kUtf8), TextEncoding::Ansi);
    EXPECT_TRUE(TextToAnsi(kUtf8, ansi));
    EXPECT_EQ(ansi, kUtf8);
    // A mark alone is an empty text.
    EXPECT_TRUE(TextToAnsi("\xFF\xFE", ansi));
    EXPECT_EQ(ansi, "");
}

TEST(ProfilesIniText, TextThatCodePage1252CannotHoldOrThatIsBrokenIsRefused) {
    std::string ansi = "unchanged";
    // Greek omega (U+03A9), a with macron (U+0101, which a best fit would turn into "a"), a lone
    // surrogate, a cut-off last character, and UTF-8 that is not UTF-8.
    EXPECT_FALSE(TextToAnsi(std::string("\xFF\xFE" "A\0\xA9\x03", 6), ansi));
    EXPECT_FALSE(TextToAnsi(std::string("\xFE\xFF\x01\x01", 4), ansi));
    EXPECT_FALSE(TextToAnsi(std::string("\xFF\xFE" "A\0\x00\xD8", 6), ansi));
    EXPECT_FALSE(TextToAnsi(std::string("\xFF\xFE" "A\0B", 5), ansi));
    EXPECT_FALSE(TextToAnsi("\xEF\xBB\xBF" "Zo\xE9", ansi));
    EXPECT_FALSE(TextToAnsi("\xEF\xBB\xBF" "\xCE\xA9", ansi)) << "an omega in UTF-8";
    EXPECT_EQ(ansi, "unchanged");
    // The euro sign is in 1252 (0x80), though not at its Unicode code point.
    EXPECT_TRUE(TextToAnsi(std::string("\xFF\xFE\xAC\x20", 4), ansi));
    EXPECT_EQ(ansi, "\x80");
}

TEST(ProfilesIniText, AResaveRewritesUnicodeFilesAsAnsiAndLeavesEveryOtherFileAsItIs) {
    test::ScratchFolder folder("Resave");
    const std::string le = folder / "le.ini", be = folder / "be.ini", u8 = folder / "u8.ini", plain = folder / "plain.ini",
                      greek = folder / "greek.ini";
    test::WriteFile(le, Utf16(kAnsi, false));
    test::WriteFile(be, Utf16(kAnsi, true));
    test::WriteFile(u8, "\xEF\xBB\xBF" + kUtf8);
    test::WriteFile(plain, kUtf8);
    const std::string omega = std::string("\xFF\xFE" "N\0=\0\xA9\x03", 8);
    test::WriteFile(greek, omega);

    EXPECT_EQ(ResaveAsAnsi(le), AnsiResave::Rewritten);
    EXPECT_EQ(ResaveAsAnsi(be), AnsiResave::Rewritten);
    EXPECT_EQ(ResaveAsAnsi(u8), AnsiResave::Rewritten);
    EXPECT_EQ(ResaveAsAnsi(plain), AnsiResave::AlreadyAnsi);
    EXPECT_EQ(ResaveAsAnsi(greek), AnsiResave::LeftAsItIs);
    EXPECT_EQ(ResaveAsAnsi(folder / "missing.ini"), AnsiResave::LeftAsItIs);
    EXPECT_EQ(test::ReadFile(le), kAnsi);
    EXPECT_EQ(test::ReadFile(be), kAnsi);
    EXPECT_EQ(test::ReadFile(u8), kAnsi);
    EXPECT_EQ(test::ReadFile(plain), kUtf8);
    EXPECT_EQ(test::ReadFile(greek), omega);
    // Nothing is left beside the files.
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder / "*.tmp").c_str(), &data);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << data.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);

    // A file that another program holds without write sharing stays whole.
    test::WriteFile(le, Utf16(kAnsi, false));
    HANDLE held = CreateFileA(le.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ResaveAsAnsi(le), AnsiResave::LeftAsItIs);
    CloseHandle(held);
    EXPECT_EQ(test::ReadFile(le), Utf16(kAnsi, false));
}

TEST(DetectionRules, ProfileFoldersAndStoreFolders) {
    const std::string ff = "C:\\users\\ann\\AppData\\Roaming\\Mozilla\\Firefox\\";
    EXPECT_EQ(ProfileFolder(ff, "1", "Profiles/ab12.default"), ff + "Profiles\\ab12.default");
    EXPECT_EQ(ProfileFolder(ff, "0", "D:/Mail/Profile"), "D:\\Mail\\Profile");
    EXPECT_EQ(ProfileFolder(ff, "", "D:\\Mail\\Profile"), "D:\\Mail\\Profile");
    EXPECT_EQ(ProfileFolder(ff, "true", "Profiles/x"), "Profiles\\x") << "only \"1\" is relative";
    EXPECT_EQ(FoundProfileText("default", "C:\\p"), "\"default\" (C:\\p)");

    EXPECT_EQ(ExpandUserProfile("%userprofile%\\Mail\\%USERPROFILE%", "C:\\users\\ann"),
              "C:\\users\\ann\\Mail\\C:\\users\\ann");
    EXPECT_EQ(ExpandUserProfile("%USERPROFILE%\\Mail", ""), "") << "an unknown profile folder";
    EXPECT_EQ(ExpandUserProfile("D:\\Mail", ""), "D:\\Mail");
    EXPECT_EQ(IdentityStoreFolder("%UserProfile%\\Local Settings\\Application Data\\Identities\\{1}\\microsoft\\"
                                  "outlook express\\",
                                  "C:\\users\\ann"),
              "C:\\users\\ann\\Local Settings\\Application Data\\Identities\\{1}");
    // Without its closing backslash the text stays.
    EXPECT_EQ(IdentityStoreFolder("C:\\Id\\Microsoft\\Outlook Express", "C:\\users\\ann"),
              "C:\\Id\\Microsoft\\Outlook Express");
}
