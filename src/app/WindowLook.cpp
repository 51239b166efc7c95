#include "app/WindowLook.h"

win::UniqueFont CreatePointFont(const char* face, int points) {
    win::WindowDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(screen.dc(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return win::UniqueFont(CreateFontIndirectA(&lf));
}

ui::Form::Options WallpaperFormOptions(HWND owner, int width, int height) {
    ui::Form::Options options;
    options.title = "Halvorkeep3";
    options.clientWidth = width;
    options.clientHeight = height;
    options.style = WS_POPUP;
    options.owner = owner;
    options.centreOnOwner = true;
    options.transparentColour = RGB(255, 0, 255);
    return options;
}

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
