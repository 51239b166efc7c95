#include "ui/Controls.h"
#include <vector>

namespace ui {

// The sheets are not children of the tab control but its siblings, laid over its display area
// and just above it in the parent's order, as a property sheet's pages are. The dialog keys treat
// a window as one stop and never enter it unless it holds controls of its own
// (WS_EX_CONTROLPARENT), and such a window is never a stop itself: with the sheets inside the
// tab control, Tab reached the tab strip and never the page. As siblings, Tab goes from the strip
// into the page shown and from the page's last control back to the strip; the strip, clipped
// around its siblings, paints around the sheet as before.
bool PageControl::Create(Container& parent, int id, const Rect& r) {
    return CreateChild(parent, id, WC_TABCONTROLA, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, r);
}

RECT PageControl::DisplayArea() const {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
    // In the parent's coordinates, where the sheets lie.
    MapWindowPoints(hwnd(), GetParent(hwnd()), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool PageControl::AddSheet(TabSheet& sheet, int sheetId, const std::string& caption) {
    if (!hwnd()) return false;
    int index = PageCount();
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    if (SendMessageA(hwnd(), TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != index)
        return false;
    if (SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0) < 0) SendMessageA(hwnd(), TCM_SETCURSEL, 0, 0);
    bool shown = SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0) == index && Visible();
    RECT area = DisplayArea();
    Rect r{area.left, area.top, area.right - area.left, area.bottom - area.top};
    if (!sheet.CreateContainer(GetParent(hwnd()), sheetId, r, shown ? WS_VISIBLE : 0)) {
        SendMessageA(hwnd(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
        return false;
    }
    HWND above = GetWindow(hwnd(), GW_HWNDPREV);
    SetWindowPos(sheet.hwnd(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    sheet.owner_ = this;
    sheet.index_ = index;
    sheets_.push_back(&sheet);
    return true;
}

void PageControl::ShowIndex(int index) {
    if (!Visible()) index = -1;
    if (index >= 0 && index < PageCount()) ShowWindow(sheets_[index]->hwnd(), SW_SHOW);
    for (int i = 0; i < PageCount(); ++i)
        if (i != index) ShowWindow(sheets_[i]->hwnd(), SW_HIDE);
}

void PageControl::SetVisible(bool visible) {
    Control::SetVisible(visible);
    ShowIndex(hwnd() ? static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0)) : -1);
}

void PageControl::SetActivePage(TabSheet& sheet) {
    if (sheet.owner_ != this) return;
    SendMessageA(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(sheet.index_), 0);
    ShowIndex(sheet.index_);
}

TabSheet* PageControl::ActivePage() const {
    int index = hwnd() ? static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0)) : -1;
    return index >= 0 && index < PageCount() ? sheets_[index] : nullptr;
}

bool PageControl::OnNotify(NMHDR* hdr, LRESULT& result) {
    if (hdr->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    ShowIndex(static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0)));
    result = 0;
    if (onChange) onChange();
    return true;
}

void PageControl::LayoutSheets() {
    RECT area = DisplayArea();
    for (TabSheet* sheet : sheets_)
        MoveWindow(sheet->hwnd(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void PageControl::SetBounds(const Rect& r) {
    Control::SetBounds(r);
    LayoutSheets();
}

void PageControl::ApplyFont(HFONT font) {
    Control::ApplyFont(font);
    LayoutSheets();  // the tabs' height follows the font
}

void TabSheet::SetCaption(const std::string& caption) {
    if (!owner_) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(owner_->hwnd(), TCM_SETITEMA, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&item));
}

std::string TabSheet::Caption() const {
    if (!owner_) return {};
    std::vector<char> buf(1024, '\0');
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    if (!SendMessageA(owner_->hwnd(), TCM_GETITEMA, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&item)))
        return {};
    return item.pszText ? std::string(item.pszText) : std::string();
}

}  // namespace ui
