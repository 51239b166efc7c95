#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"
#include "win/Handles.h"

// Message kCancel does what the job panel's Cancel button does.
static const UINT kCancel = WM_APP + 7;
static LRESULT CALLBACK CancelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCancel) JobOver = true;
    return DefWindowProcA(w, msg, wp, lp);
}

// A hidden window of the given class; class "HkCancelProbe" handles kCancel.
static win::UniqueWindow Popup(const char* windowClass) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CancelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HkCancelProbe";
    RegisterClassA(&wc);
    return win::UniqueWindow(
        CreateWindowExA(0, windowClass, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, wc.hInstance, nullptr));
}

static DWORD Progress(long long total, long long done, HWND bar) {
    LARGE_INTEGER t, d;
    t.QuadPart = total;
    d.QuadPart = done;
    return CopyProgressCallback(t, d, t, d, 1, CALLBACK_CHUNK_FINISHED, nullptr, nullptr, bar);
}

TEST(TextHelpers, FormatByteSize) {
    char sep[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof(sep));
    const std::pair<long long, std::string> rows[] = {
        {0, " bytes"},     {1024, "1024 bytes"},    {1025, "1 KB"},     {1048576, "1024 KB"}, {1048577, "1 MB"},
        {2047, "2 KB"},    {1073741824, "1024 MB"}, {1073741825, "1 GB"}, {5LL << 40, "5120 GB"},
        {1536, std::string("1") + sep + "5 KB"}};
    for (const auto& row : rows) EXPECT_EQ(row.second, FormatByteSize(row.first)) << row.first;
}

TEST(TextHelpers, SplitString) {
    using Items = std::vector<std::string>;
    const std::pair<std::string, Items> rows[] = {
        {"a{{b", {"a", "", "b"}}, {"a{b{", {"a", "b", ""}}, {"{x", {"", "x"}}, {"abc", {"abc"}}, {"", {""}}};
    for (const auto& row : rows) EXPECT_EQ(row.second, SplitString(row.first, "{")) << row.first;
    EXPECT_EQ((Items{"C:", "Users", "me"}), SplitString("C:\\Users\\me", "\\"));
}

TEST(TextHelpers, RemoveFileExt) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Outlook\\data.pst", "C:\\Outlook\\data"}, {"C:\\mail.box\\data", "C:\\mail.box\\data"},
        {"C:\\x\\archive.tar.gz", "C:\\x\\archive.tar"}, {"C:file.txt", "C:file"}, {"a.b:c", "a.b:c"}};
    for (const auto& row : rows) EXPECT_EQ(row.second, RemoveFileExt(row.first)) << row.first;
}

TEST(FileHelpers, SizeExistenceAndSpecialFolder) {
    test::ScratchFolder dir("env-files");
    test::WriteFile(dir / "data.pst", std::string(12345, 'x'));
    EXPECT_EQ(12345, GetFileSize64(dir / "data.pst"));
    EXPECT_EQ(0, GetFileSize64(dir / "missing.pst"));
    EXPECT_TRUE(FileExists(dir / "data.pst") && FolderExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.path()) || FolderExists(dir / "data.pst"));
    EXPECT_TRUE(ForceDirectories(dir / "a\\b\\") && FolderExists(dir / "a\\b"));
    std::string docs = GetSpecialFolderPath(CSIDL_PERSONAL);
    ASSERT_FALSE(docs.empty());
    EXPECT_NE('\\', docs.back()) << docs;
    EXPECT_TRUE(FolderExists(docs)) << docs;
}

TEST(CopyProgressCallback, PercentEmptyFileAndCancel) {
    JobOver = false;
    win::UniqueWindow bar = Popup(PROGRESS_CLASSA), canceller = Popup("HkCancelProbe");
    ASSERT_TRUE(bar && canceller);
    auto position = [&] { return SendMessageA(bar.get(), PBM_GETPOS, 0, 0); };
    EXPECT_EQ(DWORD(PROGRESS_CONTINUE), Progress(200, 50, bar.get()));
    EXPECT_EQ(25, position());
    EXPECT_EQ(DWORD(PROGRESS_CONTINUE), Progress(10LL << 30, (15LL << 30) / 2, bar.get()));  // x 100 > 32 bits
    EXPECT_EQ(75, position());
    EXPECT_EQ(DWORD(PROGRESS_CONTINUE), Progress(0, 0, bar.get()));
    EXPECT_EQ(75, position());
    // Cancel pressed during the copy: the callback's own pumping handles it and stops this copy.
    PostMessageA(canceller.get(), kCancel, 0, 0);
    EXPECT_EQ(DWORD(PROGRESS_STOP), Progress(1000, 10, bar.get()));
    EXPECT_EQ(DWORD(PROGRESS_STOP), Progress(0, 0, bar.get()));
    JobOver = false;
}

// Run by RunAndWait below as a second process of this exe, before main: writes its file late.
static const bool lateWriterRan = [] {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("HK_LATE_FILE", path, sizeof(path))) return false;
    Sleep(400);
    test::WriteFile(path, "done");
    ExitProcess(0);
}();

TEST(RunAndWait, WaitsForTheProgramAndPumpsMeanwhile) {
    test::ScratchFolder dir("env-run");
    SetEnvironmentVariableA("HK_LATE_FILE", (dir / "late.txt").c_str());
    win::UniqueWindow canceller = Popup("HkCancelProbe");
    JobOver = false;
    PostMessageA(canceller.get(), kCancel, 0, 0);
    RunAndWait(ProgramFolder() + "\\env_helpers.exe", "");
    SetEnvironmentVariableA("HK_LATE_FILE", nullptr);
    EXPECT_EQ("done", test::ReadFile(dir / "late.txt"));
    EXPECT_TRUE(JobOver);
    JobOver = false;
}
