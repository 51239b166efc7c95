// The language files shipped in the program folder, read the way the program reads them:
// through the ANSI private-profile functions, from app\language beside this test.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "TestSupport.h"

namespace {

// Every text that the program reads from a language file.
const std::map<std::string, std::vector<std::string>> kProgramKeys = {
    {"WELCOME", {"WelcomeToZevsHalvorkeep", "WhatToDo", "BackupData", "RestoreData", "Language"}},
    {"INTERFACE",
     {"BackupLocation", "SelectBackupLocation", "BackupInSubFolder", "PersonalFolders", "Desktop",
      "DesktopWallPaper", "Desktop Wallpaper", "QuickLaunch", "MyDocuments", "MyPictures", "MyMusic", "MyVideos",
      "WebBrowsers", "IEFavorites", "IEStartPage", "FirefoxProfile", "Mail", "OutlookExpressIdentities",
      "OutlookPSTFiles", "OutlookNK2", "WindowsMail", "WindowsLiveMail", "ThunderbirdProfile",
      "WindowsAddressBook", "Misc", "SharedDocuments", "Fonts", "WindowsCalendar", "Rasphone", "Resphone", "Custom",
      "AdditionalFiles", "AdditionalFolders", "Log", "CopyProgress", "To", "Errors", "Warnings", "FullMode",
      "CompatibleMode", "WithoutAddOns", "RestoreToDefaultLocation", "RestoreOrigin", "ChooseAnotherLocation",
      "LocalHardDrives", "PleaseWait", "SearchInProgress", "SelectADirectory", "Files"}},
    {"BUTTONS",
     {"Previous", "Next", "Exit", "Launch", "Cancel", "SearchPST", "ManualPSTFSelect", "RemoveSelected", "AddFiles",
      "AddFolder", "SelectAllNone"}},
    {"MESSAGES",
     {"InstallFirefox", "InstallThunderbird", "OECanNotBeRestored", "FileAlreadyInList", "CleaningList",
      "ListingFilesToCopy", "Processing", "ChooseItemToBackup", "ChooseValidBackupLocation", "ChooseItemToRestore",
      "CancelJob", "CancelledByUser", "FileAlreadyExists", "CopySuccessful", "IncompleteFile", "Done", "Failed",
      "CopyError", "TryingAgain", "CopyFailed", "ExportOERegistry", "ExportFontsRegistry", "BackupHomePage",
      "BackupJobFinished", "ImportOEIdentityRegistry", "RestoringIEStartPage", "RestoreJobFinished",
      "ProgramContainsJVCL", "JVCLObtention", "TranslatedBy"}},
    {"INFO", {"Translator"}},
};

std::string LanguageFile(const std::string& name) { return test::ExeFolder() + "\\app\\language\\" + name + ".ini"; }

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
    return s;
}

// A double-zero-terminated list, as the private-profile functions return names.
std::vector<std::string> SplitList(const std::vector<char>& buffer, DWORD length) {
    std::vector<std::string> names;
    for (DWORD i = 0; i < length;) {
        std::string name(&buffer[i]);
        if (name.empty()) break;
        names.push_back(name);
        i += static_cast<DWORD>(name.size()) + 1;
    }
    return names;
}

std::vector<std::string> Sections(const std::string& file) {
    std::vector<char> buffer(65536);
    DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return SplitList(buffer, n);
}

std::vector<std::string> Keys(const std::string& file, const std::string& section) {
    std::vector<char> buffer(65536);
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                       file.c_str());
    return SplitList(buffer, n);
}

std::string Read(const std::string& file, const std::string& section, const std::string& key) {
    char buffer[4096];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buffer, sizeof(buffer), file.c_str());
    return buffer;
}

// Section and key names as the platform matches them: without regard to case.
std::set<std::string> KeySet(const std::string& file) {
    std::set<std::string> all;
    for (const std::string& section : Sections(file))
        for (const std::string& key : Keys(file, section)) all.insert(Upper(section) + "/" + Upper(key));
    return all;
}

// Keys written twice in one section: the platform reads only the first, so the second would
// be a translation nobody sees. Counted from the file's own lines.
std::vector<std::string> RepeatedKeys(const std::string& file) {
    const std::string text = test::ReadFile(file);
    std::set<std::string> seen;
    std::vector<std::string> repeated;
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = Upper(line.substr(1, line.find(']') - 1));
            continue;
        }
        std::string key = line.substr(0, line.find('='));
        key.erase(key.find_last_not_of(" \t") + 1);
        if (!seen.insert(section + "/" + Upper(key)).second) repeated.push_back(section + "/" + key);
    }
    return repeated;
}

}  // namespace

TEST(LanguageFiles, EnglishHoldsEveryKeyTheProgramReadsAndNoOther) {
    const std::string english = LanguageFile("English");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(english.c_str())) << english;
    std::set<std::string> expected;
    for (const auto& section : kProgramKeys)
        for (const std::string& key : section.second) expected.insert(Upper(section.first) + "/" + Upper(key));
    ASSERT_EQ(96u, expected.size());

    const std::set<std::string> found = KeySet(english);
    for (const std::string& key : expected) EXPECT_TRUE(found.count(key)) << "missing " << key;
    for (const std::string& key : found) EXPECT_TRUE(expected.count(key)) << "unknown " << key;
    EXPECT_EQ(std::vector<std::string>{}, RepeatedKeys(english));
    EXPECT_EQ((std::vector<std::string>{"WELCOME", "INTERFACE", "BUTTONS", "MESSAGES", "INFO"}), Sections(english));
}

TEST(LanguageFiles, EnglishKeepsTheProgramsOwnWording) {
    const std::string english = LanguageFile("English");
    EXPECT_EQ("The file you are trying to dd is alreaydy in the list", Read(english, "MESSAGES", "FileAlreadyInList"));
    EXPECT_EQ("DELETING INCOMPLETE BACKUPED FILE", Read(english, "MESSAGES", "IncompleteFile"));
    EXPECT_EQ("Local HDDS", Read(english, "INTERFACE", "LocalHardDrives"));
    EXPECT_EQ("Welcome To Zev's Halvorkeep", Read(english, "WELCOME", "WelcomeToZevsHalvorkeep"));
    EXPECT_EQ("What do you want to do ?", Read(english, "WELCOME", "WhatToDo"));
    EXPECT_EQ("Search PST Files on", Read(english, "BUTTONS", "SearchPST"));
    EXPECT_EQ("Trying again ...", Read(english, "MESSAGES", "TryingAgain"));
    EXPECT_EQ("Failed!", Read(english, "MESSAGES", "Failed"));
    // The key with a blank is its own key, with its own text; the caption key without the
    // blank is found under either spelling.
    EXPECT_EQ("Desktop wallpaper", Read(english, "INTERFACE", "Desktop Wallpaper"));
    EXPECT_EQ("Desktop Wallpaper", Read(english, "INTERFACE", "DesktopWallPaper"));
    EXPECT_EQ("Desktop Wallpaper", Read(english, "INTERFACE", "DesktopWallpaper"));
    EXPECT_EQ("Rasphone.pbk file (modem settings file)", Read(english, "INTERFACE", "RASPhone"));
    EXPECT_EQ("Rasphone.pbk file (modem settings file)", Read(english, "INTERFACE", "Resphone"));
    // Keys whose default differs from place to place hold one text for all of them.
    EXPECT_EQ("Copying file", Read(english, "INTERFACE", "CopyProgress"));
    EXPECT_EQ("Quick launch toolbar shortcuts", Read(english, "INTERFACE", "QuickLaunch"));
    EXPECT_EQ("Please choose something to restore !", Read(english, "MESSAGES", "ChooseItemToRestore"));
}

TEST(LanguageFiles, FrenchTranslatesEveryEnglishKey) {
    const std::string english = LanguageFile("English"), french = LanguageFile("French");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(french.c_str())) << french;
    EXPECT_EQ(KeySet(english), KeySet(french));
    EXPECT_EQ(std::vector<std::string>{}, RepeatedKeys(french));
    int translated = 0;
    for (const std::string& section : Sections(english)) {
        for (const std::string& key : Keys(english, section)) {
            const std::string value = Read(french, section, key);
            EXPECT_FALSE(value.empty()) << section << "/" << key;
            if (value != Read(english, section, key)) ++translated;
        }
    }
    // Product names (Windows Mail, ...) stay as they are; nearly everything else changes.
    EXPECT_GT(translated, 85);
    EXPECT_NE("", Read(french, "INFO", "Translator"));
    EXPECT_NE(Read(english, "INFO", "Translator"), Read(french, "INFO", "Translator"));
}

TEST(LanguageFiles, FrenchIsSavedInWindows1252) {
    const std::string french = LanguageFile("French");
    const std::string bytes = test::ReadFile(french);
    ASSERT_FALSE(bytes.empty());
    // No byte-order mark of UTF-8 or UTF-16, and no UTF-8 sequence for an accented letter.
    EXPECT_NE("\xEF\xBB\xBF", bytes.substr(0, 3));
    EXPECT_NE("\xFF\xFE", bytes.substr(0, 2));
    int utf8 = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        const unsigned char a = bytes[i], b = bytes[i + 1];
        if ((a == 0xC2 || a == 0xC3) && b >= 0x80 && b <= 0xBF) ++utf8;
    }
    EXPECT_EQ(0, utf8);
    // The accented letters are single Windows-1252 bytes: "données" with e acute as 0xE9.
    EXPECT_NE(std::string::npos, bytes.find("donn\xE9" "es"));
    // Read through the platform on a western system, they come out as the same letters.
    ASSERT_EQ(1252u, GetACP());
    EXPECT_EQ("Restaurer des donn\xE9" "es", Read(french, "WELCOME", "RestoreData"));
    EXPECT_EQ("Pr\xE9" "c\xE9" "dent", Read(french, "BUTTONS", "Previous"));
    EXPECT_EQ("\xC9" "chec !", Read(french, "MESSAGES", "Failed"));
}

TEST(LanguageFiles, QuickLaunchCaptionIsAFolderName) {
    // A restore on Windows 7 names a folder on the desktop after this caption.
    for (const char* language : {"English", "French"}) {
        const std::string name = Read(LanguageFile(language), "INTERFACE", "QuickLaunch");
        ASSERT_NE("<missing>", name) << language;
        EXPECT_EQ(std::string::npos, name.find_first_of("\\/:*?\"<>|")) << language << ": " << name;
        EXPECT_NE('.', name.back()) << language;
        EXPECT_NE(' ', name.back()) << language;
        test::ScratchFolder scratch("quicklaunch");
        EXPECT_TRUE(CreateDirectoryA((scratch / name).c_str(), nullptr)) << language << ": " << name;
    }
}
