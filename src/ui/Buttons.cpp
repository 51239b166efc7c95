#include "ui/Controls.h"

namespace ui {

bool Button::Create(Container& parent, int id, const Rect& r, const std::string& text) {
    return CreateChild(parent, id, "Button", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, r, text);
}

void Button::Click() {
    if (hwnd() && IsWindowEnabled(hwnd()) && onClick) onClick();
}

void Button::OnCommand(int code) {
    if (code == BN_CLICKED && onClick) onClick();
}

bool CheckBox::Create(Container& parent, int id, const Rect& r, const std::string& text, bool unicode) {
    return CreateChild(parent, id, "Button", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, r, text, unicode);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (!hwnd() || Checked() == checked) return;
    SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onClick) onClick();
}

void CheckBox::OnCommand(int code) {
    if (code == BN_CLICKED && onClick) onClick();
}

void CheckBox::SetText(const std::string& text) { Control::SetText(text); }

bool RadioButton::Create(Container& parent, int id, const Rect& r, const std::string& text, bool groupStart,
                         bool unicode) {
    DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (groupStart ? WS_GROUP | WS_TABSTOP : 0);
    return CreateChild(parent, id, "Button", style, 0, r, text, unicode);
}

bool RadioButton::Checked() const { return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetChecked(bool checked) {
    if (!hwnd() || Checked() == checked) return;
    if (checked) {
        // As a click would: the other radio buttons of the group go off. The group runs from
        // the nearest sibling above with WS_GROUP (or the first sibling) to the next one.
        HWND start = hwnd();
        while (!(GetWindowLongA(start, GWL_STYLE) & WS_GROUP)) {
            HWND prev = GetWindow(start, GW_HWNDPREV);
            if (!prev) break;
            start = prev;
        }
        for (HWND s = start; s; s = GetWindow(s, GW_HWNDNEXT)) {
            if (s != start && (GetWindowLongA(s, GWL_STYLE) & WS_GROUP)) break;
            if (s != hwnd() && dynamic_cast<RadioButton*>(FromHandle(s)))
                SendMessageA(s, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && onClick) onClick();
}

void RadioButton::OnCommand(int code) {
    if (code == BN_CLICKED && onClick) onClick();
}

void RadioButton::SetText(const std::string& text) { Control::SetText(text); }

}  // namespace ui
