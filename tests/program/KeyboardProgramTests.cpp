// The real Halvorkeep3.exe worked with the keyboard: real key presses (Tab, Enter) right after the
// pages were switched. A key reaches only a control of the page that is shown: never the button
// of a hidden page that was pressed last.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <functional>
#include <string>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kNextMs = 60000;  // Next on the welcome page looks for every category
constexpr DWORD kKeyMs = 3000;    // how long a key may take to show its effect
constexpr DWORD kTriesMs = 90000;  // how long a scenario is tried again while others take the front

class KeyboardProgramTest : public test::ProgramFolderTest {
protected:
    HWND Main() const { return program_->Main(); }
    void Press(int id) { ASSERT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    void WaitVisible(int id, DWORD timeoutMs = kReactMs) {
        HWND w = Control(id);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(w); }, timeoutMs)) << "control " << id;
    }
    // The focused window once it is no longer the one before the key: a key takes effect a little
    // after it was typed.
    HWND FocusAfter(HWND before) {
        HWND now = before;
        drive::WaitFor([&] { return (now = drive::FocusOf(Main())) != before; }, kKeyMs);
        return now;
    }
    // Whether the focus is on a shown control of the page, once the switch to that page is done.
    testing::AssertionResult FocusOnShownPage(int page, HWND& focus) {
        drive::WaitFor([&] { return OnShownPage(focus = drive::FocusOf(Main()), page); }, kKeyMs);
        return OnShownPage(focus, page);
    }
    // Whether the focused window is a control of the page, and shown.
    testing::AssertionResult OnShownPage(HWND focus, int page) {
        const int id = focus ? GetDlgCtrlID(focus) : 0;
        if (focus && IsWindowVisible(focus) && IsChild(Control(page), focus)) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the focus is on control " << id
                                           << (focus && !IsWindowVisible(focus) ? ", which is hidden," : "")
                                           << " and not on a shown control of page " << page;
    }

    // Another program that comes to the front (tests run side by side) takes the keyboard away,
    // and once the program is back in front its window itself holds the focus. Either ends the
    // try, and the scenario is run again on a fresh start.
    bool Undisturbed(HWND focus) {
        HWND front = GetForegroundWindow();
        if (front == Main() && focus != Main()) return true;
        return Interrupted(front != Main() ? "the front window is \"" + drive::Text(front) + "\""
                                           : "the main window itself holds the focus");
    }
    // A real key, typed while the focus is still where the test saw it last.
    bool Key(WORD vk, HWND focus) {
        if (drive::FocusOf(Main()) != focus) return Interrupted("the focus moved before a key");
        return drive::TypeKey(Main(), vk) || Interrupted("the main window was not in front for a key");
    }
    bool Interrupted(const std::string& why) {
        why_ = why;
        return false;
    }
    // Right after a switch to the page: the focus is on a shown control of it, Tab moves it to
    // another one, never to the hidden control next to the one pressed last, and Enter is typed
    // there, for the caller to check what it did.
    bool TabAndEnterOnPage(int page, int hiddenNext) {
        HWND focus = nullptr;
        const testing::AssertionResult focused = FocusOnShownPage(page, focus);
        if (!Undisturbed(focus)) return false;
        EXPECT_TRUE(focused) << "after the switch";
        if (!Key(VK_TAB, focus)) return false;
        focus = FocusAfter(focus);
        if (!Undisturbed(focus)) return false;
        EXPECT_TRUE(OnShownPage(focus, page)) << "after Tab";
        EXPECT_NE(focus, Control(hiddenNext));
        return Key(VK_RETURN, focus);
    }
    void Try(const std::function<void()>& scenario) {
        const DWORD start = GetTickCount();
        for (int attempt = 1;; ++attempt) {
            why_.clear();
            scenario();
            if (HasFatalFailure() || why_.empty()) return;
            std::printf("try %d was interrupted: %s\n", attempt, why_.c_str());
            if (GetTickCount() - start > kTriesMs) break;
            Sleep(1000);
        }
        FAIL() << "other programs kept taking the keyboard away";
    }

    test::Seed seed;
    test::ScratchFolder scratch{"keyboard program"};
    std::string why_;  // what interrupted the try; empty when nothing did
};

// Previous on restore page 6 shows page 4; Tab and Enter then stay on page 4 and never start the
// restore with page 6's Launch button, which would put the set's older copy over the user's file.
TEST_F(KeyboardProgramTest, TabAndEnterAfterPreviousOnTheLastRestorePageStayOnPageFour) {
    const std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
    test::WriteFile(set + "\\Archive\\Documents\\a.txt", "as backed up");
    // The user's own copy, written later: newer than the set's.
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    seed.Hide(documents);
    seed.Folder(documents);
    const std::string file = seed.File(documents + "\\a.txt", "edited since the backup");
    // Where a restore would save its log.
    seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");

    Try([&] {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::BringToFront(Main()));
        ASSERT_NO_FATAL_FAILURE(Press(IDC_RestoreData));
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_RestoreTabSheet1, kNextMs));
        for (int id : {IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next, IDC_Restore5Next})
            ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_LaunchRestore));
        // A click on Previous gives that button the focus, and then hides it with its page.
        ASSERT_NO_FATAL_FAILURE(Press(IDC_Restore6Previous));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_RestoreTabSheet4));
        if (!TabAndEnterOnPage(IDC_RestoreTabSheet4, IDC_LaunchRestore)) return;
        // A restore lists its files behind the please-wait window, then shows the job panel.
        HWND panel = Control(IDC_JobPanel), caption = Control(IDC_CopyProgress);
        const bool started =
            drive::WaitFor([&] { return drive::IsVisible(panel) || !IsWindowVisible(Main()); }, kKeyMs);
        EXPECT_FALSE(started) << "Enter started the restore";
        if (started)
            drive::WaitFor([&] { return drive::Text(caption) == "Restoration job is finished!"; }, kReactMs);
        EXPECT_TRUE(drive::IsVisible(Control(IDC_RestoreTabs)));
        EXPECT_EQ(test::ReadFile(file), "edited since the backup");
    });
}

// Enter on the welcome page's Next shows backup page 1; Tab and Enter then act on page 1 and never
// press the hidden welcome page's Quit, which would end the program.
TEST_F(KeyboardProgramTest, TabAndEnterAfterEnterOnTheWelcomePageStayOnBackupPageOne) {
    Try([&] {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::BringToFront(Main()));
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), scratch.path()));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        // Tab as far as Next, as a user without a mouse does.
        HWND focus = drive::FocusOf(Main());
        for (int presses = 0; presses < 20 && focus != next; ++presses) {
            if (!Key(VK_TAB, focus) || !Undisturbed(focus = FocusAfter(focus))) return;
        }
        ASSERT_EQ(focus, next) << "Tab never reached Next";

        if (!Key(VK_RETURN, next)) return;
        HWND page = Control(IDC_BackupTabSheet1);
        if (!drive::WaitFor([&] { return drive::IsVisible(page); }, kNextMs)) {
            if (Undisturbed(drive::FocusOf(Main()))) FAIL() << "Enter on Next did not show backup page 1";
            return;
        }
        if (!TabAndEnterOnPage(IDC_BackupTabSheet1, IDC_WelcomeQuit)) return;
        DWORD code = 0;
        EXPECT_FALSE(program_->WaitForExit(kKeyMs, code)) << "Enter ended the program";
    });
}

}  // namespace
