// hkdrive: drives a running Halvorkeep3 from the command line (under the program's wineserver),
// for the screenshot maker and the start check of scripts/run.sh. Control IDs are the numbers
// of resource.h.
//
//   hkdrive wait-window [seconds]         wait for the visible main window
//   hkdrive geometry client               print the main window's client area as WxH+X+Y
//   hkdrive click <id>                    click a control (posted: a modal box cannot block)
//   hkdrive wait-visible <id> [seconds]   wait until a control is shown
//   hkdrive close [seconds]               close the main window; end the program if it stays
//   hkdrive settext <id> <text>           set a control's text (an edit runs its change handler)
//   hkdrive type <id> <text> [ms]         type the text into an edit, one character every ms (20)
//   hkdrive colours <id>                  print how many colours the screen shows where a control lies
//   hkdrive text <id>                     print a control's text
//   hkdrive check <id> <0|1>              click a check box until it is unticked (0) or ticked (1)
//   hkdrive wait-text <id> <text> [seconds]  wait until a control shows exactly that text
//   hkdrive dialog [seconds]              wait for a message box of the program; print its text
//   hkdrive answer <button-id>            press a button (1 OK, 6 Yes, 7 No) of the message box
//   hkdrive peak-memory                   print the program's peak working set in bytes
//   hkdrive job <button-id> <panel-id> <caption-id> <text> [seconds]
//                                         click the button, wait for the panel, then for the
//                                         caption to read the text; print both times in seconds
//   hkdrive settext-time <id> <text> [seconds]
//                                         set an edit's text and print how long the program's
//                                         change handler took, in seconds
//   hkdrive ask-close [alt-f4]            close the main window as its close box does (or Alt+F4)
//                                         and return at once: a job asks before it stops
//   hkdrive wait-exit [seconds]           wait until the program has ended (at once when none runs)
//
// Exit code 0 on success, 1 when the window or control is missing or a wait runs out, 2 on a
// wrong command line.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "ProgramDriver.h"

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "hkdrive: %s\n", message);
    return 1;
}

DWORD Seconds(int argc, char** argv, int index, int fallback) {
    return 1000 * static_cast<DWORD>(argc > index ? std::atoi(argv[index]) : fallback);
}

// Waits until cond holds for a control of the visible main window. The control is looked for
// again only once it is gone: a search walks every window of the program, and a wait that did
// so every poll would take the wineserver's time from the program it waits on.
template <typename Condition>
bool WaitOnControl(int id, DWORD timeoutMs, Condition cond, DWORD intervalMs = 20) {
    HWND control = nullptr;
    return drive::WaitFor(
        [&] {
            if (!control || !IsWindow(control)) control = drive::FindControl(drive::FindMainWindow(), id);
            return control && IsWindowVisible(GetAncestor(control, GA_ROOT)) && cond(control);
        },
        timeoutMs, intervalMs);
}

double SecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Clicks the button that starts a job and times the job from here, with no process start in
// the figures: the listing, until the job panel shows, then the copy, until the caption reads
// the finished text. Prints both, in seconds.
int TimeJob(HWND button, int panel, int caption, const std::string& finished, DWORD timeoutMs) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    drive::Click(button);
    if (!WaitOnControl(panel, timeoutMs, drive::IsVisible, 5)) return Fail("the job panel is not shown");
    const double listing = SecondsSince(start);
    if (!WaitOnControl(caption, timeoutMs, [&](HWND w) { return drive::Text(w) == finished; }, 5))
        return Fail("the job does not finish");
    std::printf("%.2f %.2f\n", listing, SecondsSince(start) - listing);
    return 0;
}

int Close(DWORD timeoutMs) {
    HWND main = drive::FindMainWindow();
    if (!main) return Fail("no visible main window to close");
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!process) return Fail("cannot wait for the program to end");
    int rc = 0;
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        rc = Fail("the program did not end on WM_CLOSE; it was terminated");
    }
    CloseHandle(process);
    return rc;
}

DWORD ProgramPid(HWND main) {
    DWORD pid = 0;
    if (main) GetWindowThreadProcessId(main, &pid);
    return pid;
}

int PeakMemory(HWND main) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ProgramPid(main));
    if (!process) return Fail("cannot open the program's process");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    const BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof(counters));
    CloseHandle(process);
    if (!ok) return Fail("the program's memory counters cannot be read");
    std::printf("%llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    return 0;
}

// Commands on one control of the main window.
int ControlCommand(const std::string& command, HWND main, int argc, char** argv) {
    HWND w = drive::FindControl(main, std::atoi(argv[2]));
    if (!w) return Fail("no such control in a visible main window");
    if (command == "click") {
        drive::Click(w);
        return 0;
    }
    if (command == "settext" && argc >= 4) return drive::SetText(w, argv[3]) ? 0 : Fail("the text was not set");
    if (command == "type" && argc >= 4) {
        drive::PostChars(w, argv[3], static_cast<DWORD>(argc > 4 ? std::atoi(argv[4]) : 20));
        return 0;
    }
    if (command == "colours") {
        std::printf("%u\n", static_cast<unsigned>(drive::ScreenColours(w)));
        return 0;
    }
    if (command == "text") {
        std::printf("%s\n", drive::Text(w).c_str());
        return 0;
    }
    if (command == "settext-time" && argc >= 4) {
        // The change handler runs inside WM_SETTEXT, so the sent message returns when it ends.
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        DWORD_PTR set = 0;
        if (!SendMessageTimeoutA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]), SMTO_BLOCK,
                                 Seconds(argc, argv, 4, 600), &set) ||
            !set)
            return Fail("the text was not set in time");
        std::printf("%.2f\n", SecondsSince(start));
        return 0;
    }
    if (command == "job" && argc >= 6)
        return TimeJob(w, std::atoi(argv[3]), std::atoi(argv[4]), argv[5], Seconds(argc, argv, 6, 3600));
    if (command == "check" && argc >= 4) {
        const bool want = std::atoi(argv[3]) != 0;
        for (int tries = 0; tries < 3 && drive::IsChecked(w) != want; ++tries) drive::ClickAndWait(w);
        return drive::IsChecked(w) == want ? 0 : Fail("the check box does not take that state");
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait-window") {
        bool shown = drive::WaitFor([] { return drive::FindMainWindow() != nullptr; }, Seconds(argc, argv, 2, 20));
        return shown ? 0 : Fail("no visible window titled Halvorkeep3");
    }
    if (command == "close") return Close(Seconds(argc, argv, 2, 10));
    HWND main = drive::FindMainWindow();
    if (command == "ask-close") {
        if (!main) return Fail("no visible main window to close");
        if (argc > 2 && std::string(argv[2]) == "alt-f4")
            drive::PostAltF4(main);
        else
            drive::PostClose(main);
        return 0;
    }
    if (command == "wait-exit") {
        // The main window shown or hidden (a job lists its files behind the please-wait window);
        // none at all: the program has ended.
        HWND any = drive::FirstTopWindow(
            0, [](HWND w) { return !GetWindow(w, GW_OWNER) && drive::Text(w) == drive::kMainTitle; });
        if (!any) return 0;
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProgramPid(any));
        if (!process) return Fail("cannot wait for the program to end");
        const bool ended = WaitForSingleObject(process, Seconds(argc, argv, 2, 10)) == WAIT_OBJECT_0;
        CloseHandle(process);
        return ended ? 0 : Fail("the program still runs");
    }
    if (command == "geometry" && argc == 3 && std::string(argv[2]) == "client") {
        if (!main) return Fail("no visible main window");
        RECT c{};
        GetClientRect(main, &c);
        POINT origin{0, 0};
        ClientToScreen(main, &origin);
        std::printf("%ldx%ld+%ld+%ld\n", c.right, c.bottom, origin.x, origin.y);
        return 0;
    }
    if (command == "peak-memory") return main ? PeakMemory(main) : Fail("no visible main window");
    if (command == "dialog" || command == "answer") {
        HWND box = nullptr;
        const DWORD timeout = command == "dialog" ? Seconds(argc, argv, 2, 10) : 0;
        drive::WaitFor([&] { return (box = drive::FindDialog(ProgramPid(drive::FindMainWindow()))) != nullptr; },
                       timeout);
        if (!box) return Fail("no message box of the program is shown");
        if (command == "dialog") {
            std::printf("%s\n", drive::DialogText(box).c_str());
            return 0;
        }
        if (argc < 3) return Fail("which button?");
        drive::PressDialogButton(box, std::atoi(argv[2]));
        return 0;
    }
    if (command == "wait-text" && argc >= 4) {
        // The main window may be hidden for a while (a job lists its files behind the please-wait window).
        const int id = std::atoi(argv[2]);
        const std::string text = argv[3];
        bool shown = WaitOnControl(id, Seconds(argc, argv, 4, 60), [&](HWND w) { return drive::Text(w) == text; });
        return shown ? 0 : Fail("the control does not show that text");
    }
    if (argc >= 3 && command != "wait-visible") {
        const int rc = ControlCommand(command, main, argc, argv);
        if (rc >= 0) return rc;
    }
    if (command == "wait-visible" && argc >= 3) {
        const int id = std::atoi(argv[2]);
        bool shown = WaitOnControl(id, Seconds(argc, argv, 3, 10), drive::IsVisible);
        return shown ? 0 : Fail("the control is not shown");
    }
    std::fputs("usage: hkdrive wait-window [seconds] | geometry client | click <id> | wait-visible <id> [seconds] |\n"
               "               close [seconds] | settext <id> <text> | type <id> <text> [ms] | colours <id> |\n"
               "               text <id> | check <id> <0|1> | job <button-id> <panel-id> <caption-id> <text> [seconds] |\n"
               "               wait-text <id> <text> [seconds] | dialog [seconds] | answer <button-id> | peak-memory |\n"
               "               ask-close [alt-f4] | wait-exit [seconds] | settext-time <id> <text> [seconds]\n",
               stderr);
    return 2;
}
