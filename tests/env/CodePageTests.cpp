// The path helpers under a double-byte ANSI code page: this entry runs under a Japanese locale
// (code page 932), where the second byte of "表" (95 5C) is a backslash and that of "ポ" (83 7C)
// a bar. Paths are split, trimmed and joined at whole characters only.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TestSupport.h"
#include "app/Environment.h"
#include "backup/SetLayout.h"
#include "restore/RestorePlaces.h"

TEST(PathsOnADoubleByteCodePage, SecondBytesAreNeitherBackslashesNorBars) {
    ASSERT_EQ(GetACP(), 932u) << "this entry must run under a Japanese locale (HK_TEST_LOCALE)";
    const std::string hyo = "\x95\x5C", po = "\x83\x7C";
    const std::string folder = "C:\\" + hyo, file = folder + "\\x" + hyo;  // C:\表 and C:\表\x表
    EXPECT_EQ(ExcludeTrailingBackslash(folder), folder);
    EXPECT_EQ(ExcludeTrailingBackslash(folder + "\\"), folder);
    EXPECT_EQ(ExtractFileName(file), "x" + hyo);
    EXPECT_EQ(ExtractFileName(folder), hyo);
    EXPECT_EQ(RemoveFileExt("C:\\d\\a." + hyo), "C:\\d\\a");
    EXPECT_EQ(SplitString(file, "\\"), (std::vector<std::string>{"C:", hyo, "x" + hyo}));
    EXPECT_EQ(DrivePart("\\\\" + hyo + "\\share\\x"), "\\\\" + hyo + "\\share");
    EXPECT_FALSE(ClimbsOut(hyo + "..\\x")) << "no step of its own is \"..\"";
    EXPECT_EQ(QuickLaunchFolderName(po + "|" + hyo), po + "_" + hyo);
    // A folder is made with its parents, each under its own name.
    const test::ScratchFolder scratch("codepage");
    const std::string made = scratch / (hyo + "\\" + po + "\\" + hyo);
    EXPECT_TRUE(ForceDirectories(made) && FolderExists(made));
}
