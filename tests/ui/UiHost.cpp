#include "UiHost.h"
#include "ui/MessagePump.h"
#include "win/Handles.h"

namespace uitest {

HostForm::HostForm(int width, int height) {
    Options options;
    options.title = "Control test host";
    options.clientWidth = width;
    options.clientHeight = height;
    created = CreateForm(options);
}

void PumpFor(int ms) {
    DWORD start = GetTickCount();
    do {
        ui::PumpMessages();
        Sleep(2);
    } while (GetTickCount() - start < static_cast<DWORD>(ms));
    ui::PumpMessages();
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        ui::PumpMessages();
        Sleep(2);
    }
    return true;
}

void ClickAt(HWND w, int x, int y) {
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ui::PumpMessages();
}

void PressKey(HWND w, int vk) {
    SendMessageA(w, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    SendMessageA(w, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
    ui::PumpMessages();
}

HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixel = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            pixel[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return bitmap;
}

COLORREF DrawnPixel(ui::Control& control, int x, int y, int item, RECT itemRect) {
    RECT rc{};
    GetClientRect(control.hwnd(), &rc);
    win::WindowDC screen(nullptr);
    win::MemoryDC mem(screen.dc());
    win::UniqueBitmap canvas(MakeBitmap(rc.right, rc.bottom, [](int, int) { return RGB(1, 2, 3); }));
    win::SelectGuard select(mem.dc(), canvas.get());
    DRAWITEMSTRUCT dis{};
    char name[32] = {};
    GetClassNameA(control.hwnd(), name, sizeof(name));
    dis.CtlType = lstrcmpiA(name, "ListBox") == 0 ? ODT_LISTBOX : ODT_STATIC;
    dis.CtlID = static_cast<UINT>(control.id());
    dis.itemID = static_cast<UINT>(item);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = control.hwnd();
    dis.hDC = mem.dc();
    dis.rcItem = itemRect.right > itemRect.left ? itemRect : rc;
    control.OnDrawItem(&dis);
    return GetPixel(mem.dc(), x, y);
}

}  // namespace uitest
