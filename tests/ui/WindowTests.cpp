// The waiting bar's timer thread, the forms' modal loop, and the real dialog boxes answered by
// a helper thread acting as the user.
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>
#include "TestSupport.h"
#include "UiHost.h"
#include "ui/Dialogs.h"

using namespace uitest;

TEST(WaitingBarTest, FramesComeThroughTheMessageLoopAndARunEndsOnceAfterItsLength) {
    HostForm host;
    ui::WaitingBar bar;
    ASSERT_TRUE(bar.Create(host, 110, {16, 88, 314, 8}));
    bar.SetLength(200);
    bar.SetRefreshInterval(10);
    std::vector<DWORD> endedOn;
    bar.onEnded = [&] { endedOn.push_back(GetCurrentThreadId()); };
    const DWORD start = GetTickCount();
    bar.SetActive(true);
    Sleep(100);
    EXPECT_EQ(0, bar.Frame());
    for (DWORD t = GetTickCount(); endedOn.empty() && GetTickCount() - t < 5000; Sleep(2)) ui::PumpMessages();
    ASSERT_FALSE(endedOn.empty());
    EXPECT_GE(GetTickCount() - start, 180u);  // the clock ticks in steps of up to 16 ms
    EXPECT_GT(bar.Frame(), 0);
    EXPECT_FALSE(bar.Active());
    for (DWORD t = GetTickCount(); GetTickCount() - t < 300; Sleep(2)) ui::PumpMessages();
    EXPECT_EQ(std::vector<DWORD>({GetCurrentThreadId()}), endedOn);
    bar.SetActive(true);
    Sleep(30);  // destroyed while it runs, with frames on their way
}

TEST(FormTest, ModalRunEndsOnAQuitRequestAndLeavesItToTheMainLoop) {
    HostForm owner;
    ui::Form form;
    ui::Form::Options options;
    options.owner = owner.hwnd();
    ASSERT_TRUE(form.CreateForm(options));
    PostQuitMessage(7);
    ui::RunModalLoop(form);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

// The user, on another thread: waits for a dialog box of this process with that title (any when
// empty), looks at it, then presses the button, again through the box when the press was lost.
static std::thread User(std::string title, int button, std::function<void(HWND)> look = {}) {
    return std::thread([=] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i, Sleep(10)) {
            DWORD pid = 0;
            while ((box = FindWindowExA(nullptr, box, "#32770", title.empty() ? nullptr : title.c_str())))
                if (GetWindowThreadProcessId(box, &pid) && pid == GetCurrentProcessId() && IsWindowVisible(box)) break;
        }
        if (look && box) look(box);
        PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
        for (int i = 0; i < 300 && IsWindowVisible(box); ++i) Sleep(10);
        if (IsWindowVisible(box)) PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
}

TEST(DialogTest, RealConfirmationSaysOuiAndNonAndGivesTheAnswer) {
    for (int button : {IDNO, IDYES}) {
        std::string seen;
        std::thread user = User("Confirmation", button, [&](HWND box) {
            auto text = [box](int id) { char t[99] = {}; GetDlgItemTextA(box, id, t, 99); return std::string(t); };
            for (int i = 0; i < 200 && text(IDYES) != "&Oui"; ++i) Sleep(10);  // relabelled as it shows
            seen = text(0xFFFF) + "|" + text(IDYES) + "|" + text(IDNO);
        });
        EXPECT_EQ(button == IDYES, ui::ConfirmYesNo(nullptr, "Cancel current operation ?"));
        user.join();
        EXPECT_EQ("Cancel current operation ?|&Oui|&Non", seen);
    }
}

static void CALLBACK TerminateOnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ui::Terminate();
}

// Exit pressed while a job winds down asks for the end inside the job's pump; a quit posted from
// elsewhere reaches a pump too. Both wait for the main loop: no quit stays queued, so a box
// opened meanwhile waits for the user's answer instead of closing at once as a No.
TEST(DialogTest, AnEndAskedInsideAPumpLeavesNoQuitToCloseTheNextBox) {
    SetTimer(nullptr, 0, 1, &TerminateOnTimer);
    bool asked = false;
    for (DWORD t = GetTickCount(); !asked && GetTickCount() - t < 5000; Sleep(2)) {
        ui::PumpMessages();
        asked = ui::TakeTerminateRequest();
    }
    EXPECT_TRUE(asked);
    PostQuitMessage(3);
    ui::PumpMessages();
    EXPECT_TRUE(ui::TakeTerminateRequest());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    std::thread user = User("Confirmation", IDYES);
    EXPECT_TRUE(ui::ConfirmYesNo(nullptr, "Cancel current operation ?"));
    user.join();
}

TEST(DialogTest, RealFileDialogGivesTheFullPathsOfOneOrSeveralFiles) {
    test::ScratchFolder folder("ui-open-files");
    for (const char* name : {"a.txt", "b.txt"}) test::WriteFile(folder / name, "x");
    struct Case { bool multiSelect; const char* typed; std::vector<std::string> paths; };
    const Case cases[] = {{true, "\"b.txt\" \"a.txt\"", {folder / "a.txt", folder / "b.txt"}},
                          {false, "b.txt", {folder / "b.txt"}}};
    for (const Case& c : cases) {
        ui::OpenFileRequest request{folder.path(), "Text (*.txt)|*.txt|All|*.*", c.multiSelect, true, "Add files"};
        std::vector<std::string> paths;
        std::thread user = User("Add files", IDOK, [&](HWND box) {  // the name field: edt1, or the combo cmb13
            HWND name = GetDlgItem(box, 0x480);
            SetWindowTextA(name ? name : GetDlgItem(box, 0x47c), c.typed);
        });
        EXPECT_TRUE(ui::OpenFiles(nullptr, request, paths)) << c.typed;
        user.join();
        std::sort(paths.begin(), paths.end());  // the dialog gives the names in its own order
        EXPECT_EQ(c.paths, paths) << c.typed;
    }
}

// Several hundred long names are more than the dialog's first buffer holds: the user is asked
// again and the whole selection comes back.
TEST(DialogTest, RealFileDialogGivesASelectionLargerThanItsBufferWhole) {
    test::ScratchFolder folder("ui-big-selection");
    std::vector<std::string> expected;
    std::string typed;
    for (int i = 0; i < 420; ++i) {
        char number[8];
        wsprintfA(number, "%03d", i);
        const std::string name = "Scan of the family archive " + std::string(130, 'x') + " page " + number + ".txt";
        test::WriteFile(folder / name, "x");
        expected.push_back(folder / name);
        typed += "\"" + name + "\" ";
    }
    ASSERT_GT(typed.size(), 65536u);
    ui::OpenFileRequest request{folder.path(), "Text (*.txt)|*.txt", true, true, "Add files"};
    int asked = 0;
    std::thread user([&] {  // answers every time it is asked, twice at most
        for (int i = 0; i < 2; ++i) {
            bool seen = false;
            User("Add files", IDOK, [&](HWND box) {
                seen = true;
                HWND name = GetDlgItem(box, 0x480);
                SetWindowTextA(name ? name : GetDlgItem(box, 0x47c), typed.c_str());
            }).join();
            if (!seen) break;
            ++asked;
        }
    });
    std::vector<std::string> paths;
    const bool chosen = ui::OpenFiles(nullptr, request, paths);
    user.join();
    EXPECT_TRUE(chosen);
    EXPECT_EQ(asked, 2);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, expected);
}

TEST(DialogTest, RealFolderBrowserGivesThePathOfTheChosenFolder) {
    test::ScratchFolder folder("ui-browse");
    std::string chosen;
    std::thread user = User("", IDOK, [&](HWND box) {  // under load Wine's tree may miss the start folder
        HWND tree = FindWindowExA(box, nullptr, "SysTreeView32", nullptr);
        char text[MAX_PATH] = "";
        TVITEMA item{TVIF_TEXT, nullptr, 0, 0, text, MAX_PATH, 0, 0, 0, 0};
        for (int i = 0; i < 100 && lstrcmpiA(text, "ui-browse") != 0; ++i, Sleep(100)) {
            if ((item.hItem = TreeView_GetSelection(tree))) TreeView_GetItem(tree, &item);
            if (i > 0) SendMessageA(box, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.path().c_str()));
        }
    });
    EXPECT_TRUE(ui::BrowseForFolder(nullptr, "Select a directory", folder.path(), chosen));
    user.join();
    EXPECT_EQ(0, lstrcmpiA(folder.path().c_str(), chosen.c_str())) << chosen;
}
