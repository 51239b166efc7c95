#include "ui/Form.h"
#include <algorithm>
#include "ui/Dialogs.h"
#include "ui/UiText.h"

namespace ui {

namespace {

const char kFormClass[] = "Halvorkeep3.Form";

RECT WorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void SetIcon(HWND w, int iconId) {
    auto big = static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    auto small = static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    if (big) SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) SendMessageA(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace

bool Form::CreateForm(const Options& options) {
    if (!RegisterWindowClass(kFormClass, &Form::WndProc)) return false;
    const bool layered = options.transparentColour != CLR_INVALID;
    DWORD exStyle = options.exStyle | WS_EX_CONTROLPARENT | (layered ? WS_EX_LAYERED : 0);
    RECT frame{0, 0, options.clientWidth, options.clientHeight};
    AdjustWindowRectEx(&frame, options.style, FALSE, exStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;

    RECT work = WorkArea();
    RECT around = work;
    if (options.centreOnOwner && options.owner) GetWindowRect(options.owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));

    HWND w = CreateWindowExA(exStyle, kFormClass, options.title.c_str(), options.style, x, y, width, height,
                             options.owner, nullptr, ModuleInstance(), this);
    if (!w) return false;
    if (layered) SetLayeredWindowAttributes(w, options.transparentColour, 0, LWA_COLORKEY);
    if (options.iconId) SetIcon(w, options.iconId);
    ApplyFont(font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return true;
}

void Form::ShowModal() { RunModal(*this); }

void Form::Close() {
    if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

bool Form::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Form::WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        if (msg == WM_NCCREATE) {
            auto* creating = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
            if (creating) creating->Attach(w);
        }
        if (auto* self = dynamic_cast<Form*>(FromHandle(w))) {
            LRESULT result = 0;
            if (Reflect(w, msg, wp, lp, result)) return result;
            if (msg == WM_NCDESTROY) {
                self->Detach();  // destroyed with its owner
            } else {
                if (self->HandleMessage(msg, wp, lp, result)) return result;
                if (self->CommonMessage(msg, wp, lp, result)) return result;
                if (msg == WM_CLOSE) {
                    self->Close();
                    return 0;
                }
            }
        }
    } catch (...) {
        // Nothing may leave a window procedure; the message gets its default handling.
    }
    return DefWindowProcA(w, msg, wp, lp);
}

void RunModalLoop(Form& form) {
    HWND w = form.hwnd();
    if (!w) return;
    HWND owner = GetWindow(w, GW_OWNER);
    const bool blockOwner = owner && IsWindowEnabled(owner);
    if (blockOwner) EnableWindow(owner, FALSE);
    ShowWindow(w, SW_SHOW);
    // No IsDialogMessage here: the form's keys must reach it as characters.
    MSG msg{};
    while (IsWindow(w) && (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE)) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the request to the main loop and close the form.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (IsWindow(w)) ShowWindow(w, SW_HIDE);
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (blockOwner && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

}  // namespace ui
