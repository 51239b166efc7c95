#include "ui/MessagePump.h"
#include <windows.h>
#include "ui/Controls.h"

namespace ui {

namespace {

// How many loops other than the main loop are handling messages now: a handler's pump, a box.
int nestedLoops = 0;
bool terminateRequested = false;

}  // namespace

NestedLoop::NestedLoop() { ++nestedLoops; }

NestedLoop::~NestedLoop() { --nestedLoops; }

void PumpMessages() {
    const NestedLoop nested;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left in the queue, a quit would end every box the running handler opens before it
            // returns, as if the user had said No: the main loop ends the program instead.
            terminateRequested = true;
            continue;
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

void PumpAtNextChance() { lastPump = GetTickCount() - kResponsiveInterval; }

void Terminate() {
    terminateRequested = true;
    // Asked from the main loop's own dispatch, the loop ends at once. Inside a handler that pumps
    // or a box, the request waits until control is back in the main loop.
    if (nestedLoops == 0) PostQuitMessage(0);
}

bool TakeTerminateRequest() {
    const bool requested = terminateRequested;
    terminateRequested = false;
    return requested;
}

}  // namespace ui
