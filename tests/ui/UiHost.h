// Helpers of the control tests: a hidden window to put controls on, message pumping with a
// time limit, and the user's mouse actions sent the way the system sends them.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "ui/Form.h"

namespace uitest {

// A hidden top-level window, as the system's own control tests use.
class HostForm : public ui::Form {
public:
    explicit HostForm(int width = 420, int height = 320);
    bool created = false;
};

// Handles this thread's messages for the given time.
void PumpFor(int ms);
// Handles messages until the condition holds or the time is up; true when it held.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// A left click at a client point of the window.
void ClickAt(HWND w, int x, int y);

// A key pressed and released in the window.
void PressKey(HWND w, int vk);

// A bitmap of the given size whose pixel (x, y) is colour(x, y).
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour);

// Paints an owner-drawn control's face (its WM_DRAWITEM) into a bitmap of its size and
// returns the colour of one pixel. item is the list item for list boxes.
COLORREF DrawnPixel(ui::Control& control, int x, int y, int item = 0, RECT itemRect = {});

}  // namespace uitest
