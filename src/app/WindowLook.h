// What the program's windows share in their looks: fonts and the borderless wallpaper windows.
#pragma once
#include <windows.h>
#include "ui/Form.h"
#include "win/Handles.h"

// A font of the given face and size in points for this screen.
win::UniqueFont CreatePointFont(const char* face, int points);

// A borderless window centred on its owner, whose fuchsia pixels are see-through.
ui::Form::Options WallpaperFormOptions(HWND owner, int width, int height);

// Paints a borderless window's wallpaper picture over its client area (white where it has none).
void PaintWallpaper(HWND form, HDC dc, HBITMAP wallpaper);
