#include "ui/Controls.h"
#include <algorithm>
#include <cstdint>

namespace ui {

namespace {

const int kPictureSize = 16;

}  // namespace

bool LineList::Create(Container& parent, int id, const Rect& r, bool visible) {
    if (!CreateWithStyle(parent, id, r, LBS_OWNERDRAWFIXED | LBS_NODATA, visible)) return false;
    // Telling the list of every line would cost a round of painting work per line: the count is
    // answered from the lines themselves.
    SetWindowSubclass(hwnd(), &LineList::CountProc, 2, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT CALLBACK LineList::CountProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
    if (msg == LB_GETCOUNT) return static_cast<LRESULT>(reinterpret_cast<LineList*>(self)->lines_.Count());
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, &LineList::CountProc, id);
    return DefSubclassProc(w, msg, wp, lp);
}

void LineList::Clear() {
    lines_.Clear();
    values_.clear();
    values_.shrink_to_fit();
    ListBox::Clear();
}

int LineList::AddItem(const std::string& text) {
    lines_.Add(text);
    if (onAdd) onAdd(text);
    return Count() - 1;
}

int LineList::AddItem(const std::string& text, long long value) {
    values_.resize(lines_.Count(), -1);
    values_.push_back(value);
    return AddItem(text);
}

std::string LineList::Item(int index) const { return index < 0 ? std::string() : lines_.Line(static_cast<size_t>(index)); }

long long LineList::Value(int index) const {
    return index < 0 || static_cast<size_t>(index) >= values_.size() ? -1 : values_[static_cast<size_t>(index)];
}

void LineList::SyncCount() {
    if (hwnd()) SendMessageA(hwnd(), LB_SETCOUNT, static_cast<WPARAM>(lines_.Count()), 0);
}

bool LogList::Create(Container& parent, int id, const Rect& r) { return LineList::Create(parent, id, r, true); }

void LogList::ApplyFont(HFONT font) {
    ListBox::ApplyFont(font);
    FitItemHeight(kPictureSize + 2);
}

void LogList::Clear() {
    pictures_.clear();
    pictures_.shrink_to_fit();
    pictureKinds_.clear();
    selectLast_ = false;
    LineList::Clear();
}

int LogList::AddLine(const std::string& text, HBITMAP picture) {
    lines_.Add(text);
    size_t kind = std::find(pictureKinds_.begin(), pictureKinds_.end(), picture) - pictureKinds_.begin();
    // More pictures than a byte can tell apart: the later ones show as the last one kept.
    if (kind == pictureKinds_.size() && kind <= UINT8_MAX) pictureKinds_.push_back(picture);
    pictures_.push_back(static_cast<uint8_t>(std::min<size_t>(kind, UINT8_MAX)));
    // While paced the window hears of new lines with the next frame.
    if (Paced())
        Changed();
    else
        SyncCount();
    if (onAdd) onAdd(text);
    return Count() - 1;
}

void LogList::OnPacingChanged() {
    if (hwnd()) SendMessageA(hwnd(), WM_SETREDRAW, Paced() ? FALSE : TRUE, 0);
}

void LogList::PaintNow() {
    if (!hwnd()) return;
    SyncCount();
    if (selectLast_) {
        selectLast_ = false;
        if (Count() > 0) SetItemIndex(Count() - 1);
    }
    if (Paced()) SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    if (Paced()) SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
}

HBITMAP LogList::LinePicture(int index) const {
    if (index < 0 || index >= static_cast<int>(pictures_.size())) return nullptr;
    return pictureKinds_[pictures_[static_cast<size_t>(index)]];
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
