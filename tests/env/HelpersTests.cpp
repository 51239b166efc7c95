#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"
#include "win/Handles.h"

namespace {

std::string LocaleDecimal() {
    char buf[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof(buf));
    return buf;
}

// Puts the user's decimal separator back, whatever the test did to it.
class DecimalSeparatorGuard {
public:
    DecimalSeparatorGuard() : saved_(LocaleDecimal()) {}
    ~DecimalSeparatorGuard() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_.c_str()); }
private:
    std::string saved_;
};

LARGE_INTEGER Large(long long v) {
    LARGE_INTEGER l;
    l.QuadPart = v;
    return l;
}

DWORD Progress(long long total, long long done, HWND bar) {
    return CopyProgressCallback(Large(total), Large(done), Large(total), Large(done), 1, CALLBACK_CHUNK_FINISHED,
                                nullptr, nullptr, bar);
}

// A hidden window whose message kHkCancel does what the job panel's Cancel button does.
const UINT kHkCancel = WM_APP + 7;
int cancelMessages = 0;

LRESULT CALLBACK CancelWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kHkCancel) {
        ++cancelMessages;
        JobOver = true;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

win::UniqueWindow MakeCancelWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CancelWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HkEnvCancelWindow";
    RegisterClassA(&wc);
    return win::UniqueWindow(CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                             wc.hInstance, nullptr));
}

win::UniqueWindow MakeProgressBar() {
    return win::UniqueWindow(CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                                             GetModuleHandleA(nullptr), nullptr));
}

int Position(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }

}  // namespace

TEST(FormatByteSize, ThresholdsAreStrictlyGreater) {
    EXPECT_EQ("1024 bytes", FormatByteSize(1024));
    EXPECT_EQ("1 KB", FormatByteSize(1025));
    EXPECT_EQ("1024 KB", FormatByteSize(1048576));
    EXPECT_EQ("1 MB", FormatByteSize(1048577));
    EXPECT_EQ("1024 MB", FormatByteSize(1073741824));
    EXPECT_EQ("1 GB", FormatByteSize(1073741825));
}

TEST(FormatByteSize, ZeroPrintsNoDigits) {
    EXPECT_EQ(" bytes", FormatByteSize(0));
    EXPECT_EQ("1 bytes", FormatByteSize(1));
}

TEST(FormatByteSize, TwoDecimalsRoundedTrailingZerosDropped) {
    std::string sep = LocaleDecimal();
    EXPECT_EQ("1" + sep + "5 KB", FormatByteSize(1536));
    EXPECT_EQ("1" + sep + "01 KB", FormatByteSize(1034));    // 1.0098
    EXPECT_EQ("1 KB", FormatByteSize(1029));                 // 1.0049
    EXPECT_EQ("1" + sep + "13 KB", FormatByteSize(1152));    // 1.125 rounds up
    EXPECT_EQ("2 KB", FormatByteSize(2047));                 // 1.999 carries into the units
    EXPECT_EQ("2" + sep + "25 MB", FormatByteSize(2359296));
    EXPECT_EQ("5120 GB", FormatByteSize(5LL << 40));
    EXPECT_EQ("8589934592 GB", FormatByteSize(0x7FFFFFFFFFFFFFFFLL));
}

TEST(FormatByteSize, UsesTheUsersDecimalSeparator) {
    DecimalSeparatorGuard restore;
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ","));
    ASSERT_EQ(",", LocaleDecimal());
    EXPECT_EQ("1,5 KB", FormatByteSize(1536));
    EXPECT_EQ("1024 bytes", FormatByteSize(1024));
}

TEST(SplitString, EmptyFieldsStay) {
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), SplitString("a{{b", "{"));
    EXPECT_EQ((std::vector<std::string>{"a", "b", ""}), SplitString("a{b{", "{"));
    EXPECT_EQ((std::vector<std::string>{"", "x"}), SplitString("{x", "{"));
    EXPECT_EQ((std::vector<std::string>{"abc"}), SplitString("abc", "{"));
    EXPECT_EQ((std::vector<std::string>{""}), SplitString("", "{"));
    EXPECT_EQ((std::vector<std::string>{"C:", "Users", "me"}), SplitString("C:\\Users\\me", "\\"));
}

TEST(RemoveFileExt, OnlyADotInTheLastComponentStartsTheExtension) {
    EXPECT_EQ("C:\\mail.box\\data", RemoveFileExt("C:\\mail.box\\data"));
    EXPECT_EQ("C:\\Outlook\\data", RemoveFileExt("C:\\Outlook\\data.pst"));
    EXPECT_EQ("C:file", RemoveFileExt("C:file.txt"));
    EXPECT_EQ("C:\\x\\archive.tar", RemoveFileExt("C:\\x\\archive.tar.gz"));
    EXPECT_EQ("a.b:c", RemoveFileExt("a.b:c"));
    EXPECT_EQ("noext", RemoveFileExt("noext"));
}

TEST(GetFileSize64, SizeOfTheFirstMatch) {
    test::ScratchFolder dir("env-size");
    test::WriteFile(dir / "data.bin", std::string(12345, 'x'));
    test::MakeFolder(dir / "sub");
    EXPECT_EQ(12345, GetFileSize64(dir / "data.bin"));
    EXPECT_EQ(12345, GetFileSize64(dir / "*.bin"));
    EXPECT_EQ(0, GetFileSize64(dir / "sub"));
    EXPECT_EQ(0, GetFileSize64(dir / "missing.bin"));
    EXPECT_EQ(0, GetFileSize64(dir / "nofolder\\missing.bin"));
}

TEST(GetFileSize64, SizesBeyondFourGigabytes) {
    test::ScratchFolder dir("env-size-large");
    std::string path = dir / "big.pst";
    {
        win::UniqueKernelHandle file;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        file.reset(h);
        // Sparse on the host: only the size is stored.
        LARGE_INTEGER end = Large((5LL << 30) + 7);
        ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(h));
    }
    EXPECT_EQ((5LL << 30) + 7, GetFileSize64(path));
}

TEST(Existence, AFolderIsNeverAFile) {
    test::ScratchFolder dir("env-exists");
    test::WriteFile(dir / "file.txt", "x");
    test::WriteFile(dir / "empty.txt", "");
    test::MakeFolder(dir / "folder.txt");
    EXPECT_TRUE(FileExists(dir / "file.txt"));
    EXPECT_TRUE(FileExists(dir / "empty.txt"));
    EXPECT_FALSE(FileExists(dir / "folder.txt"));
    EXPECT_FALSE(FileExists(dir / "missing.txt"));
    EXPECT_FALSE(FileExists(dir / "*.txt"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir / "folder.txt"));
    EXPECT_TRUE(FolderExists(dir / "folder.txt\\"));
    EXPECT_TRUE(FolderExists("C:\\"));
    EXPECT_FALSE(FolderExists(dir / "file.txt"));
    EXPECT_FALSE(FolderExists(dir / "missing"));
    EXPECT_FALSE(FolderExists(""));
}

TEST(Existence, ForceDirectoriesMakesEveryMissingParent) {
    test::ScratchFolder dir("env-force");
    EXPECT_TRUE(ForceDirectories(dir / "a\\b\\c\\"));
    EXPECT_TRUE(FolderExists(dir / "a\\b\\c"));
    EXPECT_TRUE(ForceDirectories(dir / "a\\b"));
    test::WriteFile(dir / "file", "x");
    EXPECT_FALSE(ForceDirectories(dir / "file\\sub"));
    EXPECT_TRUE(FileExists(dir / "file"));
    EXPECT_FALSE(ForceDirectories(""));
}

TEST(SpecialFolders, PersonalFolderWithoutTrailingBackslash) {
    std::string docs = GetSpecialFolderPath(CSIDL_PERSONAL);
    ASSERT_FALSE(docs.empty());
    EXPECT_NE('\\', docs.back()) << docs;
    EXPECT_TRUE(FolderExists(docs)) << docs;
    std::string windows = GetSpecialFolderPath(CSIDL_WINDOWS);
    EXPECT_TRUE(SameTextIgnoreCase("C:\\windows", windows)) << windows;
}

TEST(SpecialFolders, WithAnOwnerWindow) {
    win::UniqueWindow owner = MakeCancelWindow();
    ASSERT_TRUE(owner);
    SetSpecialFolderOwner(owner.get());
    std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
    SetSpecialFolderOwner(nullptr);
    EXPECT_TRUE(FolderExists(appData)) << appData;
}

TEST(SpecialFolders, UnknownOrVirtualFoldersAreEmpty) {
    EXPECT_EQ("", GetSpecialFolderPath(0x7F));
    EXPECT_EQ("", GetSpecialFolderPath(CSIDL_DRIVES));
    EXPECT_EQ("", GetSpecialFolderPath(CSIDL_CONTROLS));
}

TEST(CopyProgress, PercentGoesToTheProgressBar) {
    JobOver = false;
    win::UniqueWindow bar = MakeProgressBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_CONTINUE), Progress(200, 50, bar.get()));
    EXPECT_EQ(25, Position(bar.get()));
    // 64-bit arithmetic: 7.5 GB x 100 does not fit 32 bits.
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_CONTINUE), Progress(10LL << 30, (15LL << 30) / 2, bar.get()));
    EXPECT_EQ(75, Position(bar.get()));
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_CONTINUE), Progress(3, 3, bar.get()));
    EXPECT_EQ(100, Position(bar.get()));
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_CONTINUE), Progress(200, 50, nullptr));
}

TEST(CopyProgress, EmptyFileContinuesAndLeavesTheBar) {
    JobOver = false;
    win::UniqueWindow bar = MakeProgressBar();
    SendMessageA(bar.get(), PBM_SETPOS, 40, 0);
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_CONTINUE), Progress(0, 0, bar.get()));
    EXPECT_EQ(40, Position(bar.get()));
}

TEST(CopyProgress, JobOverStopsEvenAtZeroPercent) {
    win::UniqueWindow bar = MakeProgressBar();
    SendMessageA(bar.get(), PBM_SETPOS, 40, 0);
    JobOver = true;
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_STOP), Progress(1000, 0, bar.get()));
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_STOP), Progress(0, 0, bar.get()));
    EXPECT_EQ(40, Position(bar.get()));
    JobOver = false;
}

TEST(CopyProgress, CancelHandledInsideTheCallbackStopsThatCopy) {
    JobOver = false;
    cancelMessages = 0;
    win::UniqueWindow w = MakeCancelWindow();
    ASSERT_TRUE(w);
    PostMessageA(w.get(), kHkCancel, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(PROGRESS_STOP), Progress(1000, 10, nullptr));
    EXPECT_EQ(1, cancelMessages);
    JobOver = false;
}

// Started by RunAndWait below as a second process of this exe: it writes its file only after a
// while, so the file exists right after the call only if the call waited. Runs before main.
const bool lateWriterRan = [] {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("HK_RUN_AND_WAIT_FILE", path, sizeof(path))) return false;
    Sleep(400);
    test::WriteFile(path, "done");
    ExitProcess(0);
    return true;
}();

TEST(RunAndWait, WaitsForTheProgramAndPumpsMeanwhile) {
    test::ScratchFolder dir("env-run");
    std::string file = dir / "late.txt";
    SetEnvironmentVariableA("HK_RUN_AND_WAIT_FILE", file.c_str());
    win::UniqueWindow w = MakeCancelWindow();
    cancelMessages = 0;
    PostMessageA(w.get(), kHkCancel, 0, 0);
    RunAndWait(ProgramFolder() + "\\env_helpers.exe", "");
    SetEnvironmentVariableA("HK_RUN_AND_WAIT_FILE", nullptr);
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ("done", test::ReadFile(file));
    EXPECT_EQ(1, cancelMessages);
    JobOver = false;
}

TEST(RunAndWait, CommandInterpreterWithParameters) {
    test::ScratchFolder dir("env-run-cmd");
    RunAndWait("cmd.exe", "/c echo one>" + (dir / "a.txt") + " & echo two>" + (dir / "b.txt"));
    EXPECT_TRUE(FileExists(dir / "a.txt"));
    EXPECT_EQ("two\r\n", test::ReadFile(dir / "b.txt"));
}

TEST(MachineFacts, UserNameAndProgramFolder) {
    char env[256] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("USERNAME", env, sizeof(env)));
    EXPECT_TRUE(SameTextIgnoreCase(env, GetCurrentUserName())) << GetCurrentUserName();
    EXPECT_EQ(test::ExeFolder(), ProgramFolder());
    EXPECT_TRUE(SameTextIgnoreCase("C:\\tests\\env_helpers", ProgramFolder())) << ProgramFolder();
}

TEST(MachineFacts, TodayMatchesTheSystemDate) {
    char expected[32] = {};
    GetDateFormatA(LOCALE_INVARIANT, 0, nullptr, "yyyy'-'MM'-'dd", expected, sizeof(expected));
    std::string today = TodayAsText();
    if (today != expected) today = TodayAsText();  // midnight passed between the two calls
    EXPECT_EQ(expected, today);
}

TEST(PathText, TrailingBackslashAndFileName) {
    EXPECT_EQ("C:\\a", ExcludeTrailingBackslash("C:\\a\\"));
    EXPECT_EQ("C:\\a\\", ExcludeTrailingBackslash("C:\\a\\\\"));
    EXPECT_EQ("C:\\a", ExcludeTrailingBackslash("C:\\a"));
    EXPECT_EQ("", ExcludeTrailingBackslash(""));
    EXPECT_EQ("data.pst", ExtractFileName("C:\\x.y\\data.pst"));
    EXPECT_EQ("file.txt", ExtractFileName("C:file.txt"));
    EXPECT_EQ("b", ExtractFileName("a/b"));
    EXPECT_EQ("", ExtractFileName("C:\\dir\\"));
}

TEST(TextComparison, OnlyAToZAreFolded) {
    EXPECT_EQ("ABCXYZ 09 \xE9\xC9[]", UpperAscii("abcXYZ 09 \xE9\xC9[]"));
    EXPECT_TRUE(SameTextIgnoreCase("\\Archive\\OutlookNk2", "\\ARCHIVE\\outlooknk2"));
    EXPECT_FALSE(SameTextIgnoreCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(SameTextIgnoreCase("Desktop Wallpaper", "DesktopWallpaper"));
}

TEST(TextComparison, ReplaceEveryOccurrenceIgnoringCase) {
    EXPECT_EQ("C:\\Users\\me\\AppData", ReplaceTextIgnoreCase("%UserProfile%\\AppData", "%USERPROFILE%", "C:\\Users\\me"));
    EXPECT_EQ("C:\\Users\\me\\Mail", ReplaceTextIgnoreCase("C:\\Users\\me\\microsoft\\OUTLOOK express\\Mail",
                                                           "\\Microsoft\\Outlook Express", ""));
    EXPECT_EQ("x-x-x", ReplaceTextIgnoreCase("a-A-a", "a", "x"));
    EXPECT_EQ("aaaa", ReplaceTextIgnoreCase("aA", "a", "aa"));
    EXPECT_EQ("unchanged", ReplaceTextIgnoreCase("unchanged", "", "x"));
    EXPECT_EQ("caf\xE9", ReplaceTextIgnoreCase("caf\xE9", "CAF\xC9", "x"));
}
