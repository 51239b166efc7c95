#include "ui/Controls.h"
#include "ui/UiText.h"
#include <vector>

namespace ui {

namespace {

// A combo box's window height includes its drop-down list; the closed box takes the height
// its font gives.
const int kDropDownHeight = 200;

}  // namespace

bool ComboBox::Create(Container& parent, int id, const Rect& r, Style style) {
    dropDownList_ = style == Style::DropDownList;
    DWORD s = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | (dropDownList_ ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
    return CreateChild(parent, id, "ComboBox", s, 0, Rect{r.x, r.y, r.w, r.h + kDropDownHeight});
}

void ComboBox::SetBounds(const Rect& r) { Control::SetBounds(Rect{r.x, r.y, r.w, r.h + kDropDownHeight}); }

void ComboBox::Clear() { SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0); }

int ComboBox::AddItem(const std::string& text) {
    return static_cast<int>(SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ComboBox::Count() const { return static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0)); }

std::string ComboBox::Item(int index) const {
    LRESULT n = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) return {};
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    LRESULT got = SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    return got == CB_ERR ? std::string() : std::string(buf.data(), static_cast<size_t>(got));
}

void ComboBox::SetItem(int index, const std::string& text) {
    if (index < 0 || index >= Count()) return;
    int selected = ItemIndex();
    SendMessageA(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    if (selected >= 0) SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ComboBox::SetText(const std::string& text) {
    int found = -1;
    for (int i = 0, n = Count(); i < n && found < 0; ++i)
        if (Item(i) == text) found = i;
    SetItemIndex(found);
    if (found < 0 && !dropDownList_) SetWindowTextA(hwnd(), text.c_str());
}

std::string ComboBox::Text() const { return WindowText(hwnd(), false); }

void ComboBox::SetEditReadOnly(bool readOnly) {
    if (HWND edit = EditWindow()) SendMessageA(edit, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

HWND ComboBox::EditWindow() const { return hwnd() ? FindWindowExA(hwnd(), nullptr, "Edit", nullptr) : nullptr; }

void ComboBox::OnCommand(int code) {
    if (code != CBN_SELCHANGE) return;
    // The edit field shows the picked item only after this notification; the handler reads
    // the text, so put it there first.
    int index = ItemIndex();
    if (!dropDownList_ && index >= 0) SetWindowTextA(hwnd(), Item(index).c_str());
    if (onSelect) onSelect();
}

}  // namespace ui
