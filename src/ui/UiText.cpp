#include "ui/UiText.h"
#include <vector>

namespace ui {

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

bool RegisterWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string WindowText(HWND w, bool unicode) {
    if (!w) return {};
    if (unicode) {
        int n = GetWindowTextLengthW(w);
        std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
        int got = GetWindowTextW(w, buf.data(), n + 1);
        return Narrow(std::wstring(buf.data(), static_cast<size_t>(got > 0 ? got : 0)));
    }
    int n = GetWindowTextLengthA(w);
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    int got = GetWindowTextA(w, buf.data(), n + 1);
    return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void SetWindowTextAnsi(HWND w, const std::string& text, bool unicode) {
    if (!w) return;
    if (unicode) SetWindowTextW(w, Widen(text).c_str());
    else SetWindowTextA(w, text.c_str());
}

}  // namespace ui
