#include "ui/Controls.h"
#include <algorithm>
#include "ui/UiText.h"

namespace ui {

namespace {

// The controls that paint in frames, when the last frame was painted, and how long it took.
std::vector<Control*> pacedControls;
DWORD lastFrame = 0;
DWORD lastFrameCost = 0;
// Frames take at most about this share of the time, however slow the screen is to paint.
const DWORD kFrameShare = 40;

// The property that ties a window to its Control object. A global atom, so a foreign window
// can never be taken for one of ours.
LPCSTR ControlProperty() {
    static ATOM atom = GlobalAddAtomA("Halvorkeep3.Control");
    return MAKEINTATOM(atom);
}

// Pictures lie under every other control of their parent, the later ones over the earlier
// ones: a new window goes just over the topmost picture.
void PlaceOverPictures(HWND w) {
    for (HWND s = GetWindow(w, GW_HWNDFIRST); s; s = GetWindow(s, GW_HWNDNEXT)) {
        if (s == w || !dynamic_cast<Picture*>(Control::FromHandle(s))) continue;
        HWND above = GetWindow(s, GW_HWNDPREV);
        if (above != w)
            SetWindowPos(w, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
}

// The dialog keys make a push button that Tab reaches the default button of its window, and the
// one that was the default a plain button again; Enter then presses the button that holds the
// focus. A focus given by the program makes the same change, or Enter would do nothing there.
BOOL CALLBACK PlainUnlessFocused(HWND w, LPARAM focus) {
    if (w != reinterpret_cast<HWND>(focus) && (SendMessageA(w, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
        SendMessageA(w, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    return TRUE;
}

}  // namespace

void Control::GiveFocus(HWND w) {
    if (!w) return;
    // A window that is not shown is not given the focus: that would make it the active window.
    const HWND root = GetAncestor(w, GA_ROOT);
    if (!IsWindowVisible(root)) return;
    SetFocus(w);
    EnumChildWindows(root, PlainUnlessFocused, reinterpret_cast<LPARAM>(w));
    if (SendMessageA(w, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)
        SendMessageA(w, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

Control::~Control() {
    if (paced_) pacedControls.erase(std::remove(pacedControls.begin(), pacedControls.end(), this), pacedControls.end());
    if (wnd_ && IsWindow(wnd_.get())) RemovePropA(wnd_.get(), ControlProperty());
}

int Control::id() const { return GetDlgCtrlID(hwnd()); }

Control* Control::FromHandle(HWND w) {
    if (!w) return nullptr;
    return static_cast<Control*>(GetPropA(w, ControlProperty()));
}

void Control::Attach(HWND w) {
    wnd_.reset(w);
    if (w) SetPropA(w, ControlProperty(), this);
}

void Control::Detach() {
    if (wnd_) RemovePropA(wnd_.get(), ControlProperty());
    wnd_.release();
}

bool Control::CreateChild(Container& parent, int id, const char* className, DWORD style, DWORD exStyle,
                          const Rect& r, const std::string& text, bool unicode) {
    return CreateIn(parent.hwnd(), id, className, style, exStyle, r, text, unicode);
}

bool Control::CreateIn(HWND parent, int id, const char* className, DWORD style, DWORD exStyle, const Rect& r,
                       const std::string& text, bool unicode) {
    if (!parent) return false;
    unicode_ = unicode;
    HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HWND w;
    if (unicode) {
        w = CreateWindowExW(exStyle, Widen(className).c_str(), Widen(text).c_str(), style | WS_CHILD, r.x, r.y, r.w,
                            r.h, parent, menu, ModuleInstance(), nullptr);
    } else {
        w = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, r.x, r.y, r.w, r.h, parent, menu,
                            ModuleInstance(), nullptr);
    }
    if (!w) return false;
    Attach(w);
    PlaceOverPictures(w);
    auto font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    ApplyFont(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return true;
}

void Control::SetFont(HFONT font) {
    ownFont_ = true;
    ApplyFont(font);
}

void Control::ApplyFont(HFONT font) {
    font_ = font;
    if (!hwnd()) return;
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Control* child = FromHandle(c);
        if (child && !child->ownFont_) child->ApplyFont(font);
    }
}

void Control::SetVisible(bool visible) {
    if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
}

bool Control::Visible() const { return hwnd() && (GetWindowLongA(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::SetEnabled(bool enabled) {
    if (hwnd() && Enabled() != enabled) EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}

bool Control::Enabled() const { return hwnd() && (GetWindowLongA(hwnd(), GWL_STYLE) & WS_DISABLED) == 0; }

void Control::SetText(const std::string& text) { SetWindowTextAnsi(hwnd(), text, unicode_); }

std::string Control::Text() const { return WindowText(hwnd(), unicode_); }

void Control::Repaint() { Changed(); }

void Control::PaintNow() {
    if (hwnd()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Control::Changed() {
    if (!paced_) {
        PaintNow();
        return;
    }
    pending_ = true;
    PaintPacedIfDue();
}

void Control::PaintPacedIfDue() {
    if (GetTickCount() - lastFrame >= std::max<DWORD>(kPaceInterval, kFrameShare * lastFrameCost)) PaintPacedNow();
}

void Control::PaintPacedBefore(DWORD waitMs) {
    if (waitMs >= kFrameShare * std::max<DWORD>(lastFrameCost, 1))
        PaintPacedNow();
    else
        PaintPacedIfDue();
}

void Control::PaintPacedNow() {
    const DWORD start = GetTickCount();
    for (Control* c : pacedControls) {
        if (!c->pending_) continue;
        c->pending_ = false;
        c->PaintNow();
    }
    lastFrame = GetTickCount();
    lastFrameCost = lastFrame - start;
}

void Control::SetPaced(bool paced) {
    if (paced == paced_) return;
    if (paced) {
        pacedControls.push_back(this);
        paced_ = true;
        OnPacingChanged();
        return;
    }
    pacedControls.erase(std::remove(pacedControls.begin(), pacedControls.end(), this), pacedControls.end());
    paced_ = false;
    OnPacingChanged();
    if (pending_) {
        pending_ = false;
        PaintNow();
    }
}

void Control::SetBounds(const Rect& r) {
    if (hwnd()) MoveWindow(hwnd(), r.x, r.y, r.w, r.h, TRUE);
}

Rect Control::Bounds() const {
    RECT rc{};
    if (!hwnd()) return {};
    GetWindowRect(hwnd(), &rc);
    MapWindowPoints(nullptr, GetAncestor(hwnd(), GA_PARENT), reinterpret_cast<POINT*>(&rc), 2);
    return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

Container* Control::ParentContainer() const {
    if (!hwnd() || !(GetWindowLongA(hwnd(), GWL_STYLE) & WS_CHILD)) return nullptr;
    return dynamic_cast<Container*>(FromHandle(GetParent(hwnd())));
}

}  // namespace ui
