// Helpers of the control tests: a hidden window to hold controls, and a user's clicks and keys
// as the system sends them.
#pragma once
#include <windows.h>
#include "ui/Form.h"
#include "ui/MessagePump.h"

namespace uitest {

struct HostForm : ui::Form {
    HostForm() {
        Options options;
        options.clientWidth = options.clientHeight = 400;
        CreateForm(options);
    }
};

inline void ClickAt(HWND w, int x, int y) {
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline void PressKey(HWND w, int vk) { SendMessageA(w, WM_KEYDOWN, static_cast<WPARAM>(vk), 1); }

}  // namespace uitest
