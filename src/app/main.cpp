// Halvorkeep3: backs up one user's personal data into a folder of their choice and copies a
// backup set back onto a machine.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include "app/Form1.h"
#include "app/Form2.h"
#include "app/Form3.h"
#include "ui/MessagePump.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // The folder browser's new style needs OLE.
    OleInitialize(nullptr);

    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    if (!form1.Create() || !form2.Create(form1.hwnd()) || !form3.Create(form1.hwnd())) {
        MessageBoxA(nullptr, "The program's windows could not be created.", "Halvorkeep3", MB_OK | MB_ICONERROR);
        OleUninitialize();
        return 1;
    }
    // The please-wait window stands in for the main window while a listing runs.
    form2.onClose = [&form1] { form1.FormCloseQuery(); };
    ShowWindow(form1.hwnd(), show);
    UpdateWindow(form1.hwnd());

    // A request to end that came inside a handler's own pumping takes effect here, once that
    // handler has returned.
    MSG msg{};
    while (!ui::TakeTerminateRequest() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(form1.hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    OleUninitialize();
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}
