#include "ui/Controls.h"

namespace ui {

bool Label::Create(Container& parent, int id, const Rect& r, const std::string& text, Align align, bool wordWrap) {
    DWORD style = WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX;
    switch (align) {
    case Align::Left: style |= wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP; break;
    case Align::Center: style |= SS_CENTER; break;
    case Align::Right: style |= SS_RIGHT; break;
    }
    return CreateChild(parent, id, "Static", style, 0, r, text);
}

void Label::SetText(const std::string& text) {
    if (!Paced()) {
        Control::SetText(text);
        return;
    }
    pendingText_ = text;
    textPending_ = true;
    Changed();
}

std::string Label::Text() const { return textPending_ ? pendingText_ : Control::Text(); }

void Label::PaintNow() {
    if (!textPending_) {
        Control::PaintNow();
        return;
    }
    // A static control paints its new text itself.
    textPending_ = false;
    Control::SetText(pendingText_);
}

void Label::SetTextColor(COLORREF colour) {
    colour_ = colour;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Label::OnCommand(int code) {
    if (code == STN_CLICKED && onClick) onClick();
}

HBRUSH Label::OnCtlColor(HDC dc) {
    Container* parent = ParentContainer();
    if (colour_ != CLR_INVALID) ::SetTextColor(dc, colour_);
    if (transparent_ && parent) {
        // The static asks for its brush while it paints: put what lies behind it into the
        // same device context, then let it write its text over that with no fill.
        parent->PaintBehind(dc, *this);
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    if (colour_ != CLR_INVALID && parent) return parent->ChildBrush(dc);
    return nullptr;
}

}  // namespace ui
