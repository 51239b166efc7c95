#pragma once
#include <windows.h>

// Paints a borderless window's wallpaper picture over its client area (white where it has none).
void PaintWallpaper(HWND form, HDC dc, HBITMAP wallpaper);
