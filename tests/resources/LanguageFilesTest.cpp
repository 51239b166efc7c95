// The language files of the program folder, read through the ANSI private-profile functions.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <string>
#include "TestSupport.h"

static std::string File(const char* language) { return test::ExeFolder() + "\\app\\language\\" + language + ".ini"; }

// Every value of a file by "SECTION/KEY" in capitals, as the platform matches names.
static std::map<std::string, std::string> Entries(const std::string& file) {
    std::map<std::string, std::string> entries;
    char sections[4096], keys[32768], value[4096];
    const DWORD ns = GetPrivateProfileSectionNamesA(sections, sizeof(sections), file.c_str());
    for (const char* s = sections; s < sections + ns; s += strlen(s) + 1) {
        const DWORD nk = GetPrivateProfileStringA(s, nullptr, "", keys, sizeof(keys), file.c_str());
        for (const char* k = keys; k < keys + nk; k += strlen(k) + 1) {
            GetPrivateProfileStringA(s, k, "", value, sizeof(value), file.c_str());
            std::string name = std::string(s) + "/" + k;
            entries[CharUpperA(&name[0])] = value;
        }
    }
    return entries;
}

TEST(LanguageFiles, EnglishKeepsTheProgramsOwnWording) {
    std::map<std::string, std::string> english = Entries(File("English"));
    EXPECT_EQ("The file you are trying to dd is alreaydy in the list", english["MESSAGES/FILEALREADYINLIST"]);
    EXPECT_EQ("DELETING INCOMPLETE BACKUPED FILE", english["MESSAGES/INCOMPLETEFILE"]);
    EXPECT_EQ("Local HDDS", english["INTERFACE/LOCALHARDDRIVES"]);
    // The key with a blank is a key of its own, beside the caption's DesktopWallPaper.
    EXPECT_EQ("Desktop wallpaper", english["INTERFACE/DESKTOP WALLPAPER"]);
    EXPECT_EQ("Desktop Wallpaper", english["INTERFACE/DESKTOPWALLPAPER"]);
}

TEST(LanguageFiles, FrenchHasEnglishsKeysEachWithAWindows1252Text) {
    std::map<std::string, std::string> english = Entries(File("English")), french = Entries(File("French"));
    ASSERT_GT(english.size(), 90u);
    for (const auto& e : english) EXPECT_EQ(1u, french.count(e.first)) << "missing " << e.first;
    for (const auto& f : french) EXPECT_TRUE(english.count(f.first) && !f.second.empty()) << f.first;
    // Accents read back through the A functions. Wine reads UTF-8 with a byte-order mark the same
    // way but Windows does not, so the file itself must hold the e acute as the single byte E9.
    ASSERT_EQ(1252u, GetACP());
    EXPECT_EQ("Restaurer des donn\xE9" "es", french["WELCOME/RESTOREDATA"]);
    EXPECT_EQ("Pr\xE9" "c\xE9" "dent", french["BUTTONS/PREVIOUS"]);
    EXPECT_NE(std::string::npos, test::ReadFile(File("French")).find("donn\xE9" "es"));
}
