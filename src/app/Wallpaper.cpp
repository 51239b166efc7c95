#include "app/Wallpaper.h"
#include "win/Handles.h"

void PaintWallpaper(HWND form, HDC dc, HBITMAP wallpaper) {
    RECT rc;
    GetClientRect(form, &rc);
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!wallpaper) return;
    BITMAP bm{};
    GetObjectA(wallpaper, sizeof(bm), &bm);
    win::MemoryDC mem(dc);
    win::SelectGuard select(mem.dc(), wallpaper);
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem.dc(), 0, 0, SRCCOPY);
}
