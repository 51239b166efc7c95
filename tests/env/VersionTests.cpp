#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"

TEST(WindowsVersion, CodeOfThisPrefix) {
    WindowsVersionCode = "stale";
    DetectWindowsVersion();
    std::string group = test::Group();
    EXPECT_EQ(group == "xp" ? "2K-XP" : group == "vista" ? "VISTA" : "SEVEN", WindowsVersionCode) << group;
}

TEST(WindowsVersion, ServersAndLaterVersionsGiveNoCode) {
    const DWORD NT = VER_PLATFORM_WIN32_NT;
    const BYTE WS = VER_NT_WORKSTATION, SRV = VER_NT_SERVER;
    struct Row { DWORD platform, major, minor; BYTE type; bool extended; const char* code; };
    const Row rows[] = {
        {NT, 5, 0, WS, true, "2K-XP"}, {NT, 5, 0, SRV, true, "2K-XP"}, {NT, 5, 0, 0, false, "2K-XP"},
        {NT, 5, 1, WS, true, "2K-XP"}, {NT, 5, 2, WS, true, "2K-XP"}, {NT, 6, 0, WS, true, "VISTA"},
        {NT, 6, 1, WS, true, "SEVEN"}, {NT, 5, 2, SRV, true, ""},     {NT, 6, 0, SRV, true, ""},
        {NT, 6, 1, SRV, true, ""},     {NT, 6, 1, WS, false, ""},     {NT, 6, 2, WS, true, ""},
        {NT, 10, 0, WS, true, ""},     {NT, 4, 0, WS, true, ""},      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, true, ""}};
    for (const Row& r : rows) {
        OSVERSIONINFOEXA info{};
        info.dwOSVersionInfoSize = sizeof(info);
        info.dwPlatformId = r.platform;
        info.dwMajorVersion = r.major;
        info.dwMinorVersion = r.minor;
        info.wProductType = r.type;
        EXPECT_EQ(r.code, VersionCodeFor(info, r.extended))
            << r.major << "." << r.minor << " type " << int(r.type) << (r.extended ? "" : " plain structure");
    }
}
