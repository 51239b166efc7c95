// The restore's rules as plain functions: where a file of a set goes, which records of a set are
// refused, and how profiles enter a profiles.ini file.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "restore/ProfileRegistration.h"
#include "restore/RestoreRules.h"

namespace {

// "Found <path>", "Unsafe <value>", "Missing <what>" or "NoRule".
std::string Show(const RestorePlace& place) {
    switch (place.kind) {
        case RestorePlace::Found: return "Found " + place.text;
        case RestorePlace::Unsafe: return "Unsafe " + place.text;
        case RestorePlace::Missing: return "Missing " + place.text;
        default: return "NoRule";
    }
}

}  // namespace

TEST(RestoreRules, AFolderHoldsOnlyWhatLiesBelowItsBoundary) {
    const std::string folder = "E:\\Set\\Archive\\Firefox\\Profiles\\C\\abc";
    struct Case {
        std::string source, moved;
    } cases[] = {
        {folder + "\\prefs.js", "D:\\P\\prefs.js"},
        {"e:\\SET\\archive\\FIREFOX\\profiles\\c\\ABC\\x\\y.txt", "D:\\P\\x\\y.txt"},  // letter case ignored
        {folder, "D:\\P"},                                                           // the file itself
        {folder + "d\\prefs.js", ""},                                                // abcd is not inside abc
        {"E:\\Set\\Archive\\Firefox\\Profiles\\C\\ab", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MoveBelow(c.source, folder, "D:\\P"), c.moved) << c.source;
    // A folder that ends with its backslash (an extra folder "D:\" recorded as "D\").
    EXPECT_EQ(MoveBelow("E:\\Data\\D\\a.txt", "E:\\Data\\D\\", "D:\\"), "D:\\a.txt");
    EXPECT_EQ(MoveBelow("E:\\x", "", "D:\\"), "") << "an empty folder holds nothing";
}

TEST(RestoreRules, FullPathsOfThisMachine) {
    for (const char* path : {"C:\\Users\\me\\a.txt", "c:\\", "\\\\server\\share\\dir\\f.txt", "\\\\server\\share",
                             "D:\\My..Files\\x..y.txt"})
        EXPECT_TRUE(IsFullPath(path)) << path;
    // What an empty edit leaves (a path under the current drive's root), relative and climbing paths.
    for (const char* path : {"\\Letters\\a.doc", "\\WallPaper\\sun.bmp", "Letters\\a.doc", "C:Letters\\a.doc", "C:",
                             "", "C:\\Users\\..\\..\\Windows\\x.dll", "C:\\a\\. .\\x", "C:\\a\\b:stream"})
        EXPECT_FALSE(IsFullPath(path)) << path;
    EXPECT_FALSE(IsFullPathBelowRoot("C:\\"));
    EXPECT_FALSE(IsFullPathBelowRoot("\\\\server\\share\\"));
    EXPECT_TRUE(IsFullPathBelowRoot("C:\\a"));
}

TEST(RestoreRules, QuickLaunchFolderNameHoldsNoCharacterAFolderNameCannot) {
    EXPECT_EQ(QuickLaunchFolderName("Quick launch toolbar shortcuts"), "Quick launch toolbar shortcuts");
    EXPECT_EQ(QuickLaunchFolderName("Raccourcis : lancement rapide ?"), "Raccourcis _ lancement rapide _");
    EXPECT_EQ(QuickLaunchFolderName("a\\b/c*d\"e<f>g|h\ti"), "a_b_c_d_e_f_g_h_i");
    EXPECT_EQ(QuickLaunchFolderName("Lancement rapide..."), "Lancement rapide");
    EXPECT_EQ(QuickLaunchFolderName("Acc\xE8s rapide"), "Acc\xE8s rapide") << "an accent is a valid character";
    // Nothing left, or only the names of the desktop itself and its parent.
    for (const char* caption : {"", "..", " . ", "   "})
        EXPECT_EQ(QuickLaunchFolderName(caption), "Quick launch toolbar shortcuts") << "[" << caption << "]";
}

TEST(RestoreRules, ProfileCopyFoldersMustFollowTheSetsLayout) {
    const std::string ff = "Archive\\Firefox\\Profiles\\";
    EXPECT_TRUE(ProfileCopyFolderInLayout("Archive\\Firefox\\Profiles\\C\\default", ff, "default"));
    EXPECT_TRUE(ProfileCopyFolderInLayout("archive\\firefox\\profiles\\e\\Work", ff, "work"));
    EXPECT_TRUE(ProfileCopyFolderInLayout("Archive\\Firefox\\Profiles\\UNC\\srv\\home\\default", ff, "default"));
    EXPECT_TRUE(ProfileCopyFolderInLayout("Archive\\Firefox\\Profiles\\C\\a/b", ff, "a/b"));
    for (const char* to : {"", "Archive\\Firefox\\Profiles\\C", "Archive\\Firefox\\Profiles\\default",
                           "Archive\\Firefox\\Profiles\\CD\\default", "Archive\\Firefox\\Profiles\\1\\default",
                           "Archive\\Thunderbird\\Profiles\\C\\default", "Archive\\Documents\\C\\default",
                           "..\\..\\C\\default", "Archive\\Firefox\\Profiles\\C\\..\\default",
                           "Archive\\Firefox\\Profiles\\UNC\\srv\\default", "Archive\\Firefox\\Profiles\\UNC\\..\\x\\default",
                           "Archive\\Firefox\\Profiles\\C\\other"})
        EXPECT_FALSE(ProfileCopyFolderInLayout(to, ff, "default")) << to;
    EXPECT_FALSE(ProfileCopyFolderInLayout("Archive\\Firefox\\Profiles\\C\\..", ff, ".."));
}

TEST(RestoreRules, ProfilePlacesInBothModes) {
    const std::string d = "C:\\users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles";
    struct Case {
        std::string from;
        bool origin;
        std::string place;
    } cases[] = {
        {"%Default%\\k3j2.default", false, "Found " + d + "\\k3j2.default"},
        {"%Default%\\k3j2.default", true, "Found " + d + "\\k3j2.default"},
        {"%dEfAuLt%\\k3j2.default", true, "Found " + d + "\\k3j2.default"},
        {"E:\\Mail\\k3j2.default", false, "Found " + d + "\\k3j2.default"},
        {"E:\\Mail\\k3j2.default", true, "Found E:\\Mail\\k3j2.default"},
        {"\\\\srv\\home\\x.work", true, "Found \\\\srv\\home\\x.work"},
        // A set that would lead out of the default folder, or out of the place the profile came from.
        {"%Default%\\..\\..\\..\\Windows", true, "Unsafe %Default%\\..\\..\\..\\Windows"},
        {"E:\\Mail\\..\\..\\Windows", true, "Unsafe E:\\Mail\\..\\..\\Windows"},
        {"x/../../../Windows", false, "Unsafe x/../../../Windows"},
        {"E:\\Mail\\..", false, "Unsafe E:\\Mail\\.."},
        {"E:\\Mail\\", false, "Unsafe E:\\Mail\\"},
        {"relative\\x.default", true, "Unsafe relative\\x.default"},
        {"E:\\", true, "Unsafe E:\\"},
        {"", true, "Missing default"},
        {"", false, "Missing default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(ProfilePlace(c.from, c.origin, d, "default")), c.place) << c.from << " origin " << c.origin;
}

TEST(RestoreRules, ExtraFilePlacesInBothModes) {
    struct Case {
        std::string from, saved;
        bool origin;
        std::string place;
    } cases[] = {
        {"C:\\Data\\notes.txt", "C\\Data\\notes.txt", true, "Found C:\\Data\\notes.txt"},
        {"C:\\Data\\notes.txt", "C\\Data\\notes.txt", false, "Found E:\\Restored\\C\\Data\\notes.txt"},
        {"c:\\Data\\x.txt", "c\\Data\\x.txt", false, "Found E:\\Restored\\c\\Data\\x.txt"},
        {"\\\\srv\\docs\\a\\f.txt", "UNC\\srv\\docs\\a\\f.txt", false, "Found E:\\Restored\\UNC\\srv\\docs\\a\\f.txt"},
        {"\\\\srv\\docs\\a\\f.txt", "UNC\\srv\\docs\\a\\f.txt", true, "Found \\\\srv\\docs\\a\\f.txt"},
        // Tampered records.
        {"C:\\Data\\x.txt", "..\\..\\..\\x.txt", true, "Unsafe ..\\..\\..\\x.txt"},
        {"C:\\Data\\x.txt", "D\\Other\\x.txt", false, "Unsafe D\\Other\\x.txt"},
        {"C:\\..\\..\\Windows\\x.dll", "C\\Windows\\x.dll", false, "Unsafe C:\\..\\..\\Windows\\x.dll"},
        {"C:\\Data\\..\\..\\x.txt", "C\\Data\\x.txt", true, "Unsafe C:\\Data\\..\\..\\x.txt"},
        {"Data\\x.txt", "C\\Data\\x.txt", true, "Unsafe Data\\x.txt"},
        {"", "C\\Data\\x.txt", false, "Unsafe "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(ExtraFilePlace(c.from, c.saved, c.origin, "E:\\Restored")), c.place) << c.from << " | " << c.saved;
}

TEST(RestoreRules, ExtraFolderPlacesInBothModes) {
    const std::string data = "E:\\Set\\Archive\\AdditionalFolders\\Data";
    struct Case {
        std::string source, from, saved;
        bool origin;
        std::string place;
    } cases[] = {
        {data + "\\D\\Work\\Old\\a.txt", "D:\\Work\\Old", "D\\Work\\Old", true, "Found D:\\Work\\Old\\a.txt"},
        {data + "\\D\\Work\\Old\\sub\\a.txt", "D:\\Work\\Old", "D\\Work\\Old", false,
         "Found F:\\Mine\\D\\Work\\Old\\sub\\a.txt"},
        {data + "\\D\\a.txt", "D:\\", "D\\", true, "Found D:\\a.txt"},
        {data + "\\D\\a.txt", "D:\\", "D\\", false, "Found F:\\Mine\\D\\a.txt"},
        // Not this record's folder.
        {data + "\\D\\Work\\Older\\a.txt", "D:\\Work\\Old", "D\\Work\\Old", true, "NoRule"},
        {data + "\\C\\x.txt", "C:\\", "", true, "NoRule"},
        // Tampered records.
        {data + "\\D\\Work\\a.txt", "C:\\Windows", "D\\Work", false, "Unsafe D\\Work"},
        {data + "\\D\\..\\..\\a.txt", "D:\\", "D\\..\\..", true, "Unsafe D\\..\\.."},
        {data + "\\D\\Work\\a.txt", "D:\\Work\\..\\..", "D\\Work", true, "Unsafe D:\\Work\\..\\.."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(ExtraFolderPlace(c.source, data, c.from, c.saved, c.origin, "F:\\Mine")), c.place) << c.source;
}

TEST(ProfilesIniRules, RegistrationPathsAndIsRelative) {
    struct Case {
        std::string from;
        bool defaultMode;
        std::string path, relative;
    } cases[] = {
        {"%Default%\\abcd.default", true, "Profiles/abcd.default", "1"},
        {"%Default%\\abcd.default", false, "Profiles/abcd.default", "1"},
        {"%DEFAULT%\\y.default", false, "Profiles/y.default", "1"},
        {"%DEFAULT%\\y.default", true, "Profiles/y.default", "1"},
        {"D:\\Mail\\x.work", false, "D:\\Mail\\x.work", "0"},
        {"D:\\Mail\\x.work", true, "Profiles/x.work", "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegistrationPath(c.from, c.defaultMode), c.path) << c.from;
        EXPECT_EQ(IsRelativeValue(c.path), c.relative) << c.path;
    }
    EXPECT_EQ(IsRelativeValue("profiles/x"), "0") << "the prefix is compared with its letter case";
}

namespace {

class ProfilesIniFile : public ::testing::Test {
protected:
    test::ScratchFolder scratch{"ProfilesIni"};
    std::string path = scratch / "profiles.ini";
    win::IniFile ini{path};
    std::string Value(const std::string& section, const std::string& key) const {
        return ini.ReadString(section, key, "<none>");
    }
};

}  // namespace

TEST_F(ProfilesIniFile, NewSectionsNeverOverwriteAnExistingOne) {
    // A gap at Profile1, a section of another kind, and a profile section after it.
    const std::string before =
        "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n\r\n"
        "[Install308046B0AF4A39CB]\r\nDefault=Profiles/a.default\r\n\r\n"
        "[Profile2]\r\nName=work\r\nIsRelative=1\r\nPath=Profiles/b.work\r\n";
    test::WriteFile(path, before);
    ASSERT_TRUE(RegisterProfiles(ini, {{"new1", "Profiles/c.new1"}, {"new2", "Profiles/d.new2"}}));
    EXPECT_EQ(Value("Profile1", "Name"), "new1");
    EXPECT_EQ(Value("Profile1", "Path"), "Profiles/c.new1");
    EXPECT_EQ(Value("Profile3", "Name"), "new2");
    EXPECT_EQ(Value("Profile3", "IsRelative"), "1");
    EXPECT_EQ(Value("Profile0", "Name"), "default");
    EXPECT_EQ(Value("Profile2", "Path"), "Profiles/b.work");
    EXPECT_EQ(Value("Install308046B0AF4A39CB", "Default"), "Profiles/a.default");
    EXPECT_EQ(Value("General", "StartWithLastProfile"), "0");
}

TEST_F(ProfilesIniFile, AProfileStandingWholeIsLeftAsItIsAndItsSectionServesNoOther) {
    const std::string before =
        "[General]\r\nStartWithLastProfile=0\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n";
    test::WriteFile(path, before);
    ASSERT_TRUE(RegisterProfiles(ini, {{"default", "Profiles/a.default"}}));
    EXPECT_EQ(test::ReadFile(path), before);
    // A second profile for the same folder does not rename the section of the first.
    ASSERT_TRUE(RegisterProfiles(ini, {{"default", "Profiles/a.default"}, {"copy", "Profiles/a.default"}}));
    EXPECT_EQ(Value("Profile0", "Name"), "default");
    EXPECT_EQ(Value("Profile1", "Name"), "copy");
}

TEST_F(ProfilesIniFile, AFileThatCannotBeWrittenIsReported) {
    test::WriteFile(path, "[General]\r\nStartWithLastProfile=1\r\n");
    // Held open without sharing, as another program holding it would.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RegisterProfiles(ini, {{"default", "Profiles/a.default"}}));
    CloseHandle(held);
    EXPECT_EQ(test::ReadFile(path), "[General]\r\nStartWithLastProfile=1\r\n");
}
