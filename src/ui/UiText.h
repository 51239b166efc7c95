// Small helpers shared by the control files: the module, text conversions, window texts.
#pragma once
#include <windows.h>
#include <string>

namespace ui {

HINSTANCE ModuleInstance();
// Registers a window class of the program's own once (arrow cursor, no background brush).
bool RegisterWindowClass(const char* name, WNDPROC proc);
// ANSI (the system code page) to UTF-16 and back.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
// The window's text as ANSI; a Unicode window's text is converted.
std::string WindowText(HWND w, bool unicode);
void SetWindowTextAnsi(HWND w, const std::string& text, bool unicode);

}  // namespace ui
