// hkdrive: drives a running Halvorkeep3 from the command line (under the program's wineserver),
// for the screenshot maker and the start check of scripts/run.sh. Control IDs are the numbers
// of resource.h.
//
//   hkdrive wait-window [seconds]         wait for the visible main window
//   hkdrive geometry client               print the main window's client area as WxH+X+Y
//   hkdrive click <id>                    click a control (posted: a modal box cannot block)
//   hkdrive wait-visible <id> [seconds]   wait until a control is shown
//   hkdrive close [seconds]               close the main window; end the program if it stays
//
// Exit code 0 on success, 1 when the window or control is missing or a wait runs out, 2 on a
// wrong command line.
#include <windows.h>
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

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait-window") {
        bool shown = drive::WaitFor([] { return drive::FindMainWindow() != nullptr; }, Seconds(argc, argv, 2, 20));
        return shown ? 0 : Fail("no visible window titled Halvorkeep3");
    }
    if (command == "close") return Close(Seconds(argc, argv, 2, 10));
    HWND main = drive::FindMainWindow();
    if (command == "geometry" && argc == 3 && std::string(argv[2]) == "client") {
        if (!main) return Fail("no visible main window");
        RECT c{};
        GetClientRect(main, &c);
        POINT origin{0, 0};
        ClientToScreen(main, &origin);
        std::printf("%ldx%ld+%ld+%ld\n", c.right, c.bottom, origin.x, origin.y);
        return 0;
    }
    if ((command == "click" || command == "wait-visible") && argc >= 3) {
        const int id = std::atoi(argv[2]);
        if (command == "click") {
            HWND w = drive::FindControl(main, id);
            if (!w) return Fail("no such control in a visible main window");
            drive::Click(w);
            return 0;
        }
        bool shown = drive::WaitFor([&] { return drive::IsVisible(drive::FindControl(drive::FindMainWindow(), id)); },
                                    Seconds(argc, argv, 3, 10));
        return shown ? 0 : Fail("the control is not shown");
    }
    std::fputs("usage: hkdrive wait-window [seconds] | geometry client | click <id> | wait-visible <id> [seconds] |\n"
               "               close [seconds]\n",
               stderr);
    return 2;
}
