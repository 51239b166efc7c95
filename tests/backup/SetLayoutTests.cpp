// A path's place inside a backup set, and the checks on the set's own records.
#include <gtest/gtest.h>
#include "backup/SetLayout.h"

TEST(SetLayout, DriveLettersAndNetworkPathsGetAFolderOfTheirOwn) {
    EXPECT_EQ(DrivePart("C:\\dir\\f.txt"), "C:");
    EXPECT_EQ(DriveFolder("e:\\x\\y.doc"), "e");
    EXPECT_EQ(SavedPath("C:\\dir\\f.txt"), "C\\dir\\f.txt");
    EXPECT_EQ(SavedPath("D:\\"), "D\\");
    EXPECT_EQ(SavedPath("D:\\Work\\Old"), "D\\Work\\Old");
    EXPECT_EQ(DrivePart("\\\\server\\share\\dir\\f.txt"), "\\\\server\\share");
    EXPECT_EQ(DriveFolder("\\\\server\\share\\dir\\f.txt"), "UNC\\server\\share");
    EXPECT_EQ(SavedPath("\\\\server\\share\\dir\\f.txt"), "UNC\\server\\share\\dir\\f.txt");
    EXPECT_EQ(SavedPath("\\\\server\\share"), "UNC\\server\\share");
    EXPECT_EQ(SavedPath("dir\\f.txt"), "");
    EXPECT_EQ(SavedPath("\\dir\\f.txt"), "");
    EXPECT_EQ(DrivePart("1:\\x"), "");
}

TEST(SetLayout, RecordsThatCouldLeaveTheirFolderAreRecognised) {
    for (const char* bad : {"..", "C\\..\\..\\Windows\\x.dll", "C\\dir\\..", "../x", "C\\. .\\x", "C\\...\\x",
                            "C\\.. \\x", "\\Windows\\x", "C:\\Windows", "\\\\server\\share\\x", "C/../x"})
        EXPECT_TRUE(ClimbsOut(bad)) << bad;
    for (const char* good : {"", "C\\dir\\f.txt", "C\\..x\\a", "C\\x..\\a", "C\\.hidden\\a", "C\\.\\a",
                             "UNC\\server\\share\\a", "C\\dir\\a..b.txt"})
        EXPECT_FALSE(ClimbsOut(good)) << good;
}
