#include "ui/Controls.h"
#include "ui/UiText.h"

namespace ui {

namespace {

const char kContainerClass[] = "Halvorkeep3.Container";

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH lb{};
    GetObjectA(brush, sizeof(lb), &lb);
    return lb.lbColor;
}

}  // namespace

bool Container::Reflect(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        Control* c = FromHandle(reinterpret_cast<HWND>(lp));
        if (!c) return false;  // menus and accelerators
        c->OnCommand(HIWORD(wp));
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        Control* c = hdr ? FromHandle(hdr->hwndFrom) : nullptr;
        if (!c) return false;
        result = 0;
        return c->OnNotify(hdr, result);
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (!dis || dis->CtlType == ODT_MENU) return false;
        Control* c = FromHandle(dis->hwndItem);
        if (!c || !c->OnDrawItem(dis)) return false;
        result = TRUE;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (!mis || mis->CtlType == ODT_MENU) return false;
        Control* c = FromHandle(GetDlgItem(w, static_cast<int>(mis->CtlID)));
        if (!c || !c->OnMeasureItem(mis)) return false;
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        auto dc = reinterpret_cast<HDC>(wp);
        Control* c = FromHandle(reinterpret_cast<HWND>(lp));
        HBRUSH brush = c ? c->OnCtlColor(dc) : nullptr;
        if (!brush && (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN)) {
            // Labels, check boxes and radio buttons sit on the container's own colour.
            auto* self = dynamic_cast<Container*>(FromHandle(w));
            if (self && self->BackgroundBrush()) brush = self->ChildBrush(dc);
        }
        if (!brush) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    case WM_VKEYTOITEM: {
        Control* c = FromHandle(reinterpret_cast<HWND>(lp));
        if (!c) return false;
        result = c->OnVKeyToItem(LOWORD(wp), HIWORD(wp));
        return true;
    }
    default:
        return false;
    }
}

void Container::SetBackground(COLORREF colour) {
    background_.reset(CreateSolidBrush(colour));
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

HBRUSH Container::ChildBrush(HDC dc) const {
    HBRUSH brush = background_ ? background_.get() : GetSysColorBrush(COLOR_BTNFACE);
    SetBkColor(dc, BrushColour(brush));
    return brush;
}

void Container::FocusFirstControl() {
    if (!hwnd()) return;
    HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
    GiveFocus(first && IsChild(hwnd(), first) ? first : hwnd());
}

void Container::PaintBehind(HDC dc, const Control& child) const {
    RECT rc{};
    GetClientRect(child.hwnd(), &rc);
    POINT origin{0, 0};
    MapWindowPoints(child.hwnd(), hwnd(), &origin, 1);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    POINT oldOrigin{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &oldOrigin);
    SendMessageA(hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    // The pictures below the child, from the bottom up.
    for (HWND s = GetWindow(child.hwnd(), GW_HWNDLAST); s && s != child.hwnd(); s = GetWindow(s, GW_HWNDPREV)) {
        auto* picture = dynamic_cast<Picture*>(FromHandle(s));
        if (!picture || !picture->Visible()) continue;
        Rect b = picture->Bounds();
        picture->DrawAt(dc, b.x, b.y);
    }
    RestoreDC(dc, saved);
}

bool Container::CreateContainer(HWND parent, int id, const Rect& r, DWORD style) {
    if (!RegisterWindowClass(kContainerClass, &Container::ContainerProc)) return false;
    return CreateIn(parent, id, kContainerClass, style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, r,
                    {}, false);
}

bool Container::CommonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc{};
        GetClientRect(hwnd(), &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, background_ ? background_.get() : GetSysColorBrush(COLOR_BTNFACE));
        result = 1;
        return true;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        result = 0;
        return true;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(font_);
        return true;
    case WM_SETCURSOR: {
        Control* c = FromHandle(reinterpret_cast<HWND>(wp));
        if (c && c != this && c->HandCursor() && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            result = TRUE;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool Container::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return CommonMessage(msg, wp, lp, result);
}

LRESULT CALLBACK Container::ContainerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        LRESULT result = 0;
        if (Reflect(w, msg, wp, lp, result)) return result;
        if (auto* self = dynamic_cast<Container*>(FromHandle(w))) {
            if (msg == WM_NCDESTROY) self->Detach();  // destroyed with its parent
            else if (self->ContainerMessage(msg, wp, lp, result)) return result;
        }
    } catch (...) {
        // Nothing may leave a window procedure; the message gets its default handling.
    }
    return DefWindowProcA(w, msg, wp, lp);
}

bool Panel::Create(Container& parent, int id, const Rect& r, bool framed, const std::string& caption) {
    framed_ = framed;
    if (!CreateContainer(parent.hwnd(), id, r, WS_VISIBLE)) return false;
    if (!caption.empty()) SetText(caption);
    return true;
}

void Panel::SetText(const std::string& text) {
    Control::SetText(text);
    if (framed_ && hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

bool Panel::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_PAINT || !framed_) return Container::ContainerMessage(msg, wp, lp, result);
    // A group box: an etched frame, its caption over the top edge.
    win::PaintDC paint(hwnd());
    HDC dc = paint.dc();
    win::SelectGuard font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    RECT frame = rc;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string caption = Text();
    if (!caption.empty()) {
        ChildBrush(dc);
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT text{8, 0, rc.right - 8, tm.tmHeight};
        DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
    }
    result = 0;
    return true;
}

}  // namespace ui
