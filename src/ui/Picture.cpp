#include "ui/Controls.h"
#include "ui/UiText.h"
#include <algorithm>
#include <cstdlib>

namespace ui {

void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight) {
    if (!bitmap) return;
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof(bm), &bm)) return;
    int w = std::min(static_cast<int>(bm.bmWidth), maxWidth);
    int h = std::min(std::abs(static_cast<int>(bm.bmHeight)), maxHeight);
    if (w <= 0 || h <= 0) return;
    win::MemoryDC mem(dc);
    win::SelectGuard select(mem.dc(), bitmap);
    TransparentBlt(dc, x, y, w, h, mem.dc(), 0, 0, w, h, Picture::kSeeThrough);
}

bool Picture::Create(Container& parent, int id, const Rect& r) {
    return CreateChild(parent, id, "Static", WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOTIFY, 0, r);
}

bool Picture::LoadResource(int bitmapId) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    SetBitmap(win::UniqueBitmap(bitmap));
    return true;
}

void Picture::SetBitmap(win::UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    RepaintArea();
}

void Picture::SetTransparent(bool transparent) {
    transparent_ = transparent;
    RepaintArea();
}

void Picture::DrawAt(HDC dc, int x, int y) const {
    if (!bitmap_) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (transparent_) {
        DrawBitmapKeyed(dc, bitmap_.get(), x, y, rc.right, rc.bottom);
        return;
    }
    win::MemoryDC mem(dc);
    win::SelectGuard select(mem.dc(), bitmap_.get());
    BitBlt(dc, x, y, rc.right, rc.bottom, mem.dc(), 0, 0, SRCCOPY);
}

bool Picture::OnDrawItem(DRAWITEMSTRUCT* dis) {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return true;
    // Composed off screen: what lies behind, then the bitmap, so nothing flickers.
    win::MemoryDC mem(dis->hDC);
    win::UniqueBitmap canvas(CreateCompatibleBitmap(dis->hDC, rc.right, rc.bottom));
    win::SelectGuard select(mem.dc(), canvas.get());
    if (Container* parent = ParentContainer()) parent->PaintBehind(mem.dc(), *this);
    else FillRect(mem.dc(), &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawAt(mem.dc(), 0, 0);
    BitBlt(dis->hDC, 0, 0, rc.right, rc.bottom, mem.dc(), 0, 0, SRCCOPY);
    return true;
}

void Picture::OnCommand(int code) {
    if (code == STN_CLICKED && onClick) onClick();
    else if (code == STN_DBLCLK && onDblClick) onDblClick();
}

void Picture::SetVisible(bool visible) {
    Control::SetVisible(visible);
    RepaintArea();
}

// The controls over the picture show it through their see-through parts, so they are
// repainted with it.
void Picture::RepaintArea() {
    if (!hwnd()) return;
    HWND parent = GetParent(hwnd());
    if (!parent || !(GetWindowLongA(hwnd(), GWL_STYLE) & WS_CHILD)) return;
    Rect b = Bounds();
    RECT rc{b.x, b.y, b.x + b.w, b.y + b.h};
    RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace ui
