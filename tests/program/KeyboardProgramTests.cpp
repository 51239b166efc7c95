// The real Halvorkeep3.exe worked with the keyboard: real key presses (Tab, Shift+Tab, Enter, Space)
// right after the pages were switched, round every wizard page and its tab strip, and at the end of
// a job. A key reaches only a control of the page that is shown: never the button of a hidden page
// that was pressed last, and never nothing.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kNextMs = 60000;  // Next on the welcome page looks for every category
constexpr DWORD kKeyMs = 3000;    // how long a key may take to show its effect
constexpr DWORD kTriesMs = 90000;  // how long a scenario is tried again while others take the front
constexpr DWORD kJobMs = 180000;

// The IDs of the controls below parent that Tab stops at: the shown and enabled tab stops, inside
// the shown and enabled containers that hold controls of their own.
std::set<int> TabStops(HWND parent) {
    std::set<int> stops;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
            const std::set<int> inner = TabStops(c);
            stops.insert(inner.begin(), inner.end());
        } else if (style & WS_TABSTOP) {
            stops.insert(GetDlgCtrlID(c));
        }
    }
    return stops;
}

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
        if (!InFront()) return false;
        return focus != Main() || Interrupted("the main window itself holds the focus");
    }
    bool InFront() {
        HWND front = GetForegroundWindow();
        return front == Main() || Interrupted("the front window is \"" + drive::Text(front) + "\"");
    }
    // A real key (with Shift held, or not), typed while the focus is still where the test saw it last.
    bool Key(WORD vk, HWND focus, bool shift = false) {
        if (drive::FocusOf(Main()) != focus) return Interrupted("the focus moved before a key");
        return (shift ? drive::TypeShiftedKey(Main(), vk) : drive::TypeKey(Main(), vk)) ||
               Interrupted("the main window was not in front for a key");
    }
    // Tab (or Shift+Tab) pressed until the focus is back where it started, or stays where it was,
    // or most keys were pressed: the IDs of the controls each key left it on. False when interrupted.
    bool Round(bool back, size_t most, std::vector<int>& walk) {
        const HWND start = drive::FocusOf(Main());
        for (HWND focus = start, next; walk.size() < most; focus = next) {
            if (!Key(VK_TAB, focus, back) || !Undisturbed(next = FocusAfter(focus))) return false;
            walk.push_back(GetDlgCtrlID(next));
            if (next == focus || next == start) break;
        }
        return true;
    }
    // From the control that holds the focus, Tab goes once to every shown and enabled control of
    // the page and of its tab strip (when it has one) and comes round; Shift+Tab goes the same way
    // back. False when interrupted.
    bool RoundsOf(int page, int strip) {
        const int start = GetDlgCtrlID(drive::FocusOf(Main()));
        std::set<int> stops = TabStops(Control(page));
        if (strip) stops.insert(strip);
        std::vector<int> forward, backward;
        if (!Round(false, stops.size() + 1, forward)) return false;
        EXPECT_EQ(forward.back(), start) << "Tab did not come round on page " << page;
        EXPECT_EQ(std::set<int>(forward.begin(), forward.end()), stops) << "Tab on page " << page;
        if (!Round(true, stops.size() + 1, backward)) return false;
        std::vector<int> reversed(forward.rbegin() + 1, forward.rend());
        reversed.push_back(start);
        EXPECT_EQ(backward, reversed) << "Shift+Tab on page " << page;
        return true;
    }
    // Tab until the focus is on the control.
    bool TabTo(int id) {
        const HWND target = Control(id);
        HWND focus = drive::FocusOf(Main());
        for (int presses = 0; presses < 30 && focus != target; ++presses)
            if (!Key(VK_TAB, focus) || !Undisturbed(focus = FocusAfter(focus))) return false;
        EXPECT_EQ(focus, target) << "Tab never reached control " << id;
        return focus == target;
    }
    // Once the job's caption says it is over and Exit is enabled: the focus is on Exit. Nothing
    // brought the program back to the front meanwhile, so a focus on its window itself is the
    // program's own doing.
    bool FocusOnExitAfterTheJob(const std::string& finished) {
        HWND caption = Control(IDC_CopyProgress), exit = Control(IDC_JobQuitButton);
        EXPECT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == finished && drive::IsEnabled(exit); }, kJobMs))
            << drive::Text(caption);
        HWND focus = nullptr;
        const testing::AssertionResult focused = FocusOnShownPage(IDC_JobPanel, focus);
        if (!InFront()) return false;
        EXPECT_TRUE(focused) << "once the job was over";
        EXPECT_EQ(focus, exit) << "the focus is on control " << GetDlgCtrlID(focus);
        return true;
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
            std::printf("%s: try %d was interrupted: %s\n",
                        testing::UnitTest::GetInstance()->current_test_info()->name(), attempt, why_.c_str());
            if (GetTickCount() - start > kTriesMs) break;
            Sleep(1000);
        }
        FAIL() << "other programs kept taking the keyboard away";
    }

    // Starts the program in front and names the storage folder, which enables Next.
    void StartWithStorage(const std::string& storage) {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::BringToFront(Main()));
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
    }
    // Starts the program in front, names the set and shows restore page 1 with Next.
    void StartRestoreWizard(const std::string& set) {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::BringToFront(Main()));
        ASSERT_NO_FATAL_FAILURE(Press(IDC_RestoreData));
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_RestoreTabSheet1, kNextMs));
    }
    // A set whose Documents hold a.txt, the user's own Documents folder, empty, and the log of an
    // earlier restore where a restore saves its log: the set's path.
    std::string SeedSet() {
        const std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
        test::WriteFile(set + "\\Archive\\Documents\\a.txt", "as backed up");
        seed.Hide(documents);
        seed.Folder(documents);
        seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
        return set;
    }

    test::Seed seed;
    test::ScratchFolder scratch{"keyboard program"};
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    std::string why_;  // what interrupted the try; empty when nothing did
};

// Previous on restore page 6 shows page 4; Tab and Enter then stay on page 4 and never start the
// restore with page 6's Launch button, which would put the set's older copy over the user's file.
TEST_F(KeyboardProgramTest, TabAndEnterAfterPreviousOnTheLastRestorePageStayOnPageFour) {
    const std::string set = SeedSet();
    // The user's own copy, written later: newer than the set's.
    const std::string file = seed.File(documents + "\\a.txt", "edited since the backup");

    Try([&] {
        ASSERT_NO_FATAL_FAILURE(StartRestoreWizard(set));
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
        ASSERT_NO_FATAL_FAILURE(StartWithStorage(scratch.path()));
        HWND next = Control(IDC_WelcomeNext);
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

// On every page of both wizards Tab goes round the page's controls and its tab strip, and Shift+Tab
// goes round back: from the strip Tab goes into the page, never stays on the strip. A restore run to
// its end by keys leaves the focus on Exit, and Enter there ends the program.
TEST_F(KeyboardProgramTest, TabAndShiftTabGoRoundEveryWizardPageAndItsTabStrip) {
    const std::string set = SeedSet();
    const int backupPages[] = {IDC_BackupTabSheet1, IDC_BackupTabSheet2, IDC_BackupTabSheet3,
                               IDC_BackupTabSheet4, IDC_BackupTabSheet5, IDC_BackupTabSheet6};
    const int backupNext[] = {IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next};
    const int restorePages[] = {IDC_RestoreTabSheet1, IDC_RestoreTabSheet2, IDC_RestoreTabSheet3,
                                IDC_RestoreTabSheet4, IDC_RestoreTabSheet5, IDC_RestoreTabSheet6};
    const int restoreNext[] = {IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next,
                               IDC_Restore5Next};
    // Each page from the focus its switch gave, then Next with the mouse.
    auto roundEveryPage = [&](const int* pages, const int* next, int strip) {
        for (int i = 0; i < 6; ++i) {
            HWND focus = nullptr;
            const testing::AssertionResult focused = FocusOnShownPage(pages[i], focus);
            if (!Undisturbed(focus)) return false;
            EXPECT_TRUE(focused) << "after the switch";
            if (!RoundsOf(pages[i], strip) || HasFailure()) return false;
            if (i == 5) break;
            Press(next[i]);
            WaitVisible(pages[i + 1]);
            if (HasFatalFailure()) return false;
        }
        return true;
    };

    Try([&] {
        ASSERT_NO_FATAL_FAILURE(StartWithStorage(scratch.path()));
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_BackupTabSheet1, kNextMs));
        if (!roundEveryPage(backupPages, backupNext, IDC_BackupTabs) || HasFatalFailure()) return;

        // The restore wizard, on a fresh start.
        ASSERT_NO_FATAL_FAILURE(StartRestoreWizard(set));
        if (!roundEveryPage(restorePages, restoreNext, IDC_RestoreTabs) || HasFatalFailure()) return;

        // Launch by keys; once the restore is over, Enter on the focus ends the program.
        if (!TabTo(IDC_LaunchRestore) || !Key(VK_RETURN, Control(IDC_LaunchRestore))) return;
        if (!FocusOnExitAfterTheJob("Restoration job is finished!") || HasFailure()) return;
        if (!Key(VK_RETURN, drive::FocusOf(Main()))) return;
        DWORD code = 0;
        EXPECT_TRUE(program_->WaitForExit(kReactMs, code)) << "Enter after the restore did not end the program";
        EXPECT_EQ(test::ReadFile(documents + "\\a.txt"), "as backed up");
    });
}

// A backup launched by keys and run to its end, then one cancelled by keys (Space on Cancel, Enter
// on Yes): each time the focus ends on the job panel's Exit, never on the disabled Cancel nor on
// nothing. Tab goes round the panel's shown and enabled controls, Enter on Previous goes back to the
// last page, and Enter on Exit ends the program.
TEST_F(KeyboardProgramTest, AFinishedOrCancelledBackupLeavesTheFocusOnExit) {
    seed.Hide(documents);
    seed.Folder(documents);
    // Enough files that the copy still runs when the Space reaches Cancel.
    for (int folder = 0; folder < 10; ++folder)
        for (int file = 0; file < 100; ++file)
            seed.File(documents + "\\Letters\\" + std::to_string(folder) + "\\letter " + std::to_string(file) + ".txt",
                      std::string(3000, 'a' + folder));
    const std::string storage = scratch / "storage";
    CreateDirectoryA(storage.c_str(), nullptr);

    Try([&] {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        ASSERT_NO_FATAL_FAILURE(StartWithStorage(storage));
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_BackupTabSheet1, kNextMs));
        for (int id : {IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next})
            ASSERT_NO_FATAL_FAILURE(Press(id));
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_BackupTabSheet6));
        HWND focus = nullptr;
        FocusOnShownPage(IDC_BackupTabSheet6, focus);
        if (!Undisturbed(focus)) return;

        // Launched by keys and run to its end.
        if (!TabTo(IDC_Launch) || !Key(VK_RETURN, Control(IDC_Launch))) return;
        if (!FocusOnExitAfterTheJob("Backup job is finished!") || HasFailure()) return;
        EXPECT_EQ(test::FilesBelow(storage + "\\Archive\\Documents\\Letters").size(), 1000u);

        // Round the panel, then back to the last page by Enter on Previous.
        const HWND exit = Control(IDC_JobQuitButton), previous = Control(IDC_JobPreviousButton);
        if (!RoundsOf(IDC_JobPanel, 0) || HasFailure()) return;
        if (!Key(VK_TAB, exit, true)) return;
        focus = FocusAfter(exit);
        if (!Undisturbed(focus)) return;
        ASSERT_EQ(focus, previous) << "Shift+Tab from Exit went to " << GetDlgCtrlID(focus);
        if (!Key(VK_RETURN, previous)) return;
        ASSERT_NO_FATAL_FAILURE(WaitVisible(IDC_BackupTabSheet6));
        const testing::AssertionResult onPage = FocusOnShownPage(IDC_BackupTabSheet6, focus);
        if (!Undisturbed(focus)) return;
        EXPECT_TRUE(onPage) << "after Enter on Previous";

        // Launched again and cancelled by keys as soon as the panel shows with the focus on Cancel.
        if (!TabTo(IDC_Launch) || !Key(VK_RETURN, Control(IDC_Launch))) return;
        const HWND cancel = Control(IDC_JobCancelButton);
        ASSERT_TRUE(drive::WaitFor([&] { return !drive::IsEnabled(exit) && drive::FocusOf(Main()) == cancel; }, kJobMs))
            << "no second backup with the focus on Cancel";
        if (!Key(VK_SPACE, cancel)) return;
        HWND box = nullptr;
        ASSERT_TRUE(drive::WaitFor([&] { return (box = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs))
            << "Space on Cancel asked nothing";
        EXPECT_EQ(drive::DialogText(box), "Cancel current operation ?");
        if (!drive::BringToFront(box) || !drive::TypeKey(box, VK_RETURN)) {
            drive::PressDialogButton(box, IDYES);
            Interrupted("the box was not in front for Enter");
            return;
        }
        if (!FocusOnExitAfterTheJob("Backup job is finished!") || HasFailure()) return;
        EXPECT_NE(test::ReadFile(storage + "\\Log.txt").find("Process cancelled by user"), std::string::npos);
        if (!Key(VK_RETURN, exit)) return;
        DWORD code = 0;
        EXPECT_TRUE(program_->WaitForExit(kReactMs, code)) << "Enter on Exit did not end the program";
    });
}

}  // namespace
