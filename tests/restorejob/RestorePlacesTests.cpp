// The restore's path rules as plain functions: full paths, the Quick Launch
// folder name and the profile records of a set that are refused.
#include <gtest/gtest.h>
#include "restore/RestorePlaces.h"

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

TEST(RestoreRules, ProfileFoldersThatWouldLeaveTheirPlaceAreRefused) {
    const std::string d = "C:\\users\\me\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles";
    struct Case {
        std::string from;
        bool origin;
        std::string place;
    } cases[] = {
        {"\\\\srv\\home\\x.work", true, "Found \\\\srv\\home\\x.work"},
        {"%Default%\\..\\..\\Windows", false, "Found " + d + "\\Windows"},  // only the last folder is kept
        // A set that would lead out of the default folder, or out of the place the profile came from.
        {"E:\\Mail\\..\\..\\Windows", true, "Unsafe E:\\Mail\\..\\..\\Windows"},
        {"x/../../../Windows", false, "Unsafe x/../../../Windows"},
        {"E:\\Mail\\..", false, "Unsafe E:\\Mail\\.."},
        {"E:\\Mail\\", false, "Unsafe E:\\Mail\\"},
        {"relative\\x.default", true, "Unsafe relative\\x.default"},
        {"E:\\", true, "Unsafe E:\\"},
        {"", false, "Missing default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(ProfilePlace(c.from, c.origin, d, "default")), c.place) << c.from << " origin " << c.origin;
}
