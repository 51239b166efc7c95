#include "ui/MessagePump.h"
#include <windows.h>
#include "ui/Controls.h"

namespace ui {

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // A long copy pumps too: paced controls keep painting their frames meanwhile.
    Control::PaintPacedIfDue();
}

namespace {

const DWORD kResponsiveInterval = 40;
DWORD lastPump = 0;

}  // namespace

void KeepResponsive() {
    const DWORD now = GetTickCount();
    if (now - lastPump < kResponsiveInterval) return;
    PumpMessages();
    lastPump = GetTickCount();
}

void Terminate() { PostQuitMessage(0); }

}  // namespace ui
