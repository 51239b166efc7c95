#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"

namespace {

OSVERSIONINFOEXA Version(DWORD platform, DWORD major, DWORD minor, BYTE productType) {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwPlatformId = platform;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.wProductType = productType;
    return info;
}

const DWORD NT = VER_PLATFORM_WIN32_NT;

}  // namespace

TEST(WindowsVersion, CodeOfThisPrefix) {
    WindowsVersionCode = "stale";
    DetectWindowsVersion();
    std::string group = test::Group();
    std::string expected = group == "xp" ? "2K-XP" : group == "vista" ? "VISTA" : "SEVEN";
    EXPECT_EQ(expected, WindowsVersionCode) << "prefix " << group;
}

TEST(WindowsVersion, WorkstationsOfTheTable) {
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 0, VER_NT_WORKSTATION), true));
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 1, VER_NT_WORKSTATION), true));
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 2, VER_NT_WORKSTATION), true));
    EXPECT_EQ("VISTA", VersionCodeFor(Version(NT, 6, 0, VER_NT_WORKSTATION), true));
    EXPECT_EQ("SEVEN", VersionCodeFor(Version(NT, 6, 1, VER_NT_WORKSTATION), true));
}

TEST(WindowsVersion, Windows2000IsKnownWhateverTheProductType) {
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 0, VER_NT_SERVER), true));
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 0, VER_NT_DOMAIN_CONTROLLER), true));
    // Only the plain structure was filled: no product type, yet 5.0 is known.
    EXPECT_EQ("2K-XP", VersionCodeFor(Version(NT, 5, 0, 0), false));
}

TEST(WindowsVersion, ServersAndUnknownVersionsGiveNoCode) {
    EXPECT_EQ("", VersionCodeFor(Version(NT, 5, 2, VER_NT_SERVER), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 6, 0, VER_NT_SERVER), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 6, 1, VER_NT_SERVER), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 6, 1, VER_NT_DOMAIN_CONTROLLER), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 6, 2, VER_NT_WORKSTATION), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 10, 0, VER_NT_WORKSTATION), true));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 4, 0, VER_NT_WORKSTATION), true));
}

TEST(WindowsVersion, ProductTypeIsTrustedOnlyFromTheExtendedStructure) {
    // A workstation product type left in a structure that the system filled only in part.
    EXPECT_EQ("", VersionCodeFor(Version(NT, 5, 1, VER_NT_WORKSTATION), false));
    EXPECT_EQ("", VersionCodeFor(Version(NT, 6, 1, VER_NT_WORKSTATION), false));
}

TEST(WindowsVersion, OnlyTheNtPlatformCounts) {
    EXPECT_EQ("", VersionCodeFor(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0), true));
    EXPECT_EQ("", VersionCodeFor(Version(VER_PLATFORM_WIN32_WINDOWS, 5, 0, VER_NT_WORKSTATION), true));
    EXPECT_EQ("", VersionCodeFor(Version(VER_PLATFORM_WIN32s, 6, 1, VER_NT_WORKSTATION), true));
}
