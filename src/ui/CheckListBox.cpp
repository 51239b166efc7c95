#include "ui/Controls.h"
#include <windowsx.h>
#include <algorithm>

namespace ui {

namespace {

const int kMarkMargin = 2, kMarkSize = 13;

// The check mark's square inside an item's rectangle.
RECT MarkRect(const RECT& item) {
    int size = std::min(kMarkSize, static_cast<int>(item.bottom - item.top) - 2);
    int top = item.top + (item.bottom - item.top - size) / 2;
    return RECT{item.left + kMarkMargin, top, item.left + kMarkMargin + size, top + size};
}

}  // namespace

bool CheckListBox::Create(Container& parent, int id, const Rect& r) {
    if (!CreateWithStyle(parent, id, r, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true)) return false;
    // Clicks on a mark are seen in the list box itself, before it moves the selection.
    SetWindowSubclass(hwnd(), &CheckListBox::MouseProc, 1, 0);
    SetExtentFollowsItems(true);
    return true;
}

// The mark with its margins and the gap before the text, as OnDrawItem and DrawItemText lay them
// out (lines are always tall enough for the whole mark), and a little room after the text.
int CheckListBox::ItemMargins() const { return kMarkMargin + kMarkSize + kMarkMargin + 2 + 2 + 4; }

void CheckListBox::ApplyFont(HFONT font) {
    ListBox::ApplyFont(font);
    FitItemHeight(16);
}

int CheckListBox::AddItem(const std::string& text, bool checked) {
    int index = ListBox::AddItem(text);
    if (index >= 0) SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? 1 : 0);
    return index;
}

bool CheckListBox::Checked(int index) const {
    if (index < 0 || index >= Count()) return false;
    return SendMessageA(hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0) != 0;
}

void CheckListBox::SetChecked(int index, bool checked) {
    if (index < 0 || index >= Count()) return;
    SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? 1 : 0);
    RECT rc{};
    if (SendMessageA(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
        InvalidateRect(hwnd(), &rc, FALSE);
}

void CheckListBox::Toggle(int index) { SetChecked(index, !Checked(index)); }

void CheckListBox::ClickAt(POINT client) {
    LRESULT hit = SendMessageA(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (HIWORD(hit) != 0) return;  // below the last item
    int index = LOWORD(hit);
    RECT item{};
    if (SendMessageA(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        return;
    RECT mark = MarkRect(item);
    if (client.y >= item.top && client.y < item.bottom && client.x >= item.left && client.x < mark.right + kMarkMargin)
        Toggle(index);
}

int CheckListBox::OnVKeyToItem(int vk, int caret) {
    if (vk == VK_SPACE && caret >= 0 && IsWindowEnabled(hwnd())) Toggle(caret);
    return ListBox::OnVKeyToItem(vk, caret);
}

bool CheckListBox::OnDrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    if (dis->itemID == static_cast<UINT>(-1)) {
        if (dis->itemState & ODS_FOCUS) DrawFocusRect(dc, &dis->rcItem);
        return true;
    }
    int index = static_cast<int>(dis->itemID);
    bool enabled = IsWindowEnabled(hwnd()) != FALSE;
    FillRect(dc, &dis->rcItem, GetSysColorBrush(COLOR_WINDOW));

    RECT mark = MarkRect(dis->rcItem);
    UINT state = DFCS_BUTTONCHECK | (Checked(index) ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &mark, DFC_BUTTON, state);

    RECT text = dis->rcItem;
    text.left = mark.right + kMarkMargin + 2;
    DrawItemText(dis, text, enabled);
    return true;
}

LRESULT CALLBACK CheckListBox::MouseProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    try {
        if (msg == WM_NCDESTROY) {
            RemoveWindowSubclass(w, &CheckListBox::MouseProc, id);
        } else if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && IsWindowEnabled(w)) {
            if (auto* self = dynamic_cast<CheckListBox*>(FromHandle(w)))
                self->ClickAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        }
    } catch (...) {
        // Nothing may leave a window procedure.
    }
    return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace ui
