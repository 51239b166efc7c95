#include "ui/Controls.h"
#include <algorithm>

namespace ui {

bool ListBox::Create(Container& parent, int id, const Rect& r, bool visible) {
    if (!CreateWithStyle(parent, id, r, 0, visible)) return false;
    SetExtentFollowsItems(visible);
    return true;
}

bool ListBox::CreateWithStyle(Container& parent, int id, const Rect& r, DWORD extraStyle, bool visible) {
    DWORD style = (visible ? WS_VISIBLE : 0) | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                  LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | extraStyle;
    return CreateChild(parent, id, "ListBox", style, WS_EX_CLIENTEDGE, r);
}

void ListBox::FitItemHeight(int minHeight) {
    if (!hwnd()) return;
    win::WindowDC dc(hwnd());
    win::SelectGuard font(dc.dc(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.dc(), &tm);
    int height = std::max(minHeight, static_cast<int>(tm.tmHeight) + 2);
    SendMessageA(hwnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

void ListBox::SetExtentFollowsItems(bool follows) {
    extentFollowsItems_ = follows;
    RefitExtent();
}

void ListBox::ApplyFont(HFONT font) {
    Control::ApplyFont(font);
    RefitExtent();
}

int ListBox::ItemWidth(const std::string& text) const {
    win::WindowDC dc(hwnd());
    win::SelectGuard font(dc.dc(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx) + ItemMargins();
}

void ListBox::RefitExtent() {
    if (!extentFollowsItems_ || !hwnd()) return;
    int widest = 0;
    for (int i = 0, n = Count(); i < n; ++i) widest = std::max(widest, ItemWidth(Item(i)));
    extent_ = widest;
    SetHorizontalExtent(extent_);
}

void ListBox::WidenExtentFor(const std::string& text) {
    if (!extentFollowsItems_) return;
    const int width = ItemWidth(text);
    if (width > extent_) SetHorizontalExtent(extent_ = width);
}

void ListBox::Clear() {
    SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
    if (extentFollowsItems_) SetHorizontalExtent(extent_ = 0);
}

int ListBox::AddItem(const std::string& text) {
    // Work lists and job logs grow to hundreds of thousands of lines; the list's own storage
    // grows a few lines at a time, which copies it over and over. Room is made ahead, doubling.
    const int count = Count();
    if (count >= 1024 && (count & (count - 1)) == 0) SendMessageA(hwnd(), LB_INITSTORAGE, static_cast<WPARAM>(count), 0);
    const int index = static_cast<int>(SendMessageA(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (index >= 0) WidenExtentFor(text);
    return index;
}

void ListBox::InsertItem(int index, const std::string& text) {
    SendMessageA(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    WidenExtentFor(text);
}

void ListBox::DeleteItem(int index) {
    // Only the widest item's going narrows the list.
    const bool widest = extentFollowsItems_ && index >= 0 && index < Count() && ItemWidth(Item(index)) >= extent_;
    SendMessageA(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    if (widest) RefitExtent();
}

void ListBox::SetItem(int index, const std::string& text) {
    if (index < 0 || index >= Count()) return;
    // The item keeps what it carries (check mark, picture) and its selection.
    LRESULT data = SendMessageA(hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    bool selected = Selected(index);
    LRESULT top = SendMessageA(hwnd(), LB_GETTOPINDEX, 0, 0);
    DeleteItem(index);
    InsertItem(index, text);
    SendMessageA(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (selected) {
        if (GetWindowLongA(hwnd(), GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
            SendMessageA(hwnd(), LB_SETSEL, TRUE, index);
        else
            SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    SendMessageA(hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

int ListBox::Count() const { return hwnd() ? static_cast<int>(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0)) : 0; }

std::string ListBox::Item(int index) const {
    // Read in UTF-16, the list's own form: Wine's ANSI translation of LB_GETTEXT overruns its
    // buffer for lines of more than a few hundred characters.
    LRESULT n = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return {};
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
    if (got == LB_ERR) return {};
    wide.resize(static_cast<size_t>(got));
    if (wide.empty()) return {};
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], bytes, nullptr, nullptr);
    return text;
}

std::vector<std::string> ListBox::Items() const {
    std::vector<std::string> items;
    int n = Count();
    items.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) items.push_back(Item(i));
    return items;
}

int ListBox::IndexOf(const std::string& text) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (Item(i) == text) return i;
    return -1;
}

int ListBox::ItemIndex() const {
    bool multi = (GetWindowLongA(hwnd(), GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    return static_cast<int>(SendMessageA(hwnd(), multi ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
    if (GetWindowLongA(hwnd(), GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageA(hwnd(), LB_SETSEL, FALSE, -1);
        if (index >= 0) SendMessageA(hwnd(), LB_SETSEL, TRUE, index);
        SendMessageA(hwnd(), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    } else {
        SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

bool ListBox::Selected(int index) const {
    if (index < 0 || index >= Count()) return false;
    if (GetWindowLongA(hwnd(), GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
        return SendMessageA(hwnd(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return SendMessageA(hwnd(), LB_GETCURSEL, 0, 0) == index;
}

void ListBox::SetHorizontalExtent(int pixels) {
    SendMessageA(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}

int ListBox::OnVKeyToItem(int vk, int /*caret*/) {
    if (onKeyDown) onKeyDown(vk);
    return -1;
}

void ListBox::DrawItemText(const DRAWITEMSTRUCT* dis, RECT text, bool enabled) const {
    HDC dc = dis->hDC;
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    if (selected) FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    win::SelectGuard font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    RECT inner = text;
    inner.left += 2;
    const std::string s = Item(static_cast<int>(dis->itemID));
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (dis->itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
}

}  // namespace ui
