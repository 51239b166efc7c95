#include "ui/Controls.h"

namespace ui {

namespace {

const int kPictureSize = 16;

}  // namespace

bool LogList::Create(Container& parent, int id, const Rect& r) {
    return CreateWithStyle(parent, id, r, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true);
}

void LogList::ApplyFont(HFONT font) {
    ListBox::ApplyFont(font);
    FitItemHeight(kPictureSize + 2);
}

int LogList::AddLine(const std::string& text, HBITMAP picture) {
    int index = ListBox::AddItem(text);
    if (index >= 0) SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(picture));
    if (Paced()) Changed();
    return index;
}

void LogList::OnPacingChanged() {
    if (hwnd()) SendMessageA(hwnd(), WM_SETREDRAW, Paced() ? FALSE : TRUE, 0);
}

void LogList::PaintNow() {
    if (!hwnd()) return;
    if (selectLast_) {
        selectLast_ = false;
        if (Count() > 0) SetItemIndex(Count() - 1);
    }
    if (Paced()) SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    if (Paced()) SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
}

HBITMAP LogList::LinePicture(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return reinterpret_cast<HBITMAP>(SendMessageA(hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void LogList::SelectLast() {
    // Selecting scrolls the list; while paced that waits for the frame, like the painting.
    if (Paced()) {
        selectLast_ = true;
        Changed();
        return;
    }
    int n = Count();
    if (n > 0) SetItemIndex(n - 1);
}

bool LogList::OnDrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    if (dis->itemID == static_cast<UINT>(-1)) {
        if (dis->itemState & ODS_FOCUS) DrawFocusRect(dc, &dis->rcItem);
        return true;
    }
    int index = static_cast<int>(dis->itemID);
    RECT rc = dis->rcItem;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    int height = rc.bottom - rc.top;
    DrawBitmapKeyed(dc, LinePicture(index), rc.left + 2, rc.top + (height - kPictureSize) / 2, kPictureSize,
                    kPictureSize);

    // The log stays readable while it is disabled during a job.
    RECT text = rc;
    text.left += kPictureSize + 4;
    DrawItemText(dis, text, true);
    return true;
}

}  // namespace ui
