#include "ui/Controls.h"
#include <algorithm>

namespace ui {

bool ProgressBar::Create(Container& parent, int id, const Rect& r) {
    if (!CreateChild(parent, id, PROGRESS_CLASSA, WS_VISIBLE, 0, r)) return false;
    SendMessageA(hwnd(), PBM_SETRANGE32, 0, 100);
    return true;
}

void ProgressBar::SetPosition(int position) {
    SendMessageA(hwnd(), PBM_SETPOS, static_cast<WPARAM>(std::clamp(position, 0, 100)), 0);
}

int ProgressBar::Position() const { return static_cast<int>(SendMessageA(hwnd(), PBM_GETPOS, 0, 0)); }

}  // namespace ui
