#include "app/Form2.h"
#include "app/WindowLook.h"
#include "resource.h"
#include "ui/MessagePump.h"

TForm2* Form2 = nullptr;

bool TForm2::Create(HWND owner) {
    Form2 = this;
    if (!CreateForm(WallpaperFormOptions(owner, 346, 107))) return false;
    SetBackground(RGB(255, 255, 255));
    bool ok = JvFormWallpaper1.Create(*this, IDC_Form2JvFormWallpaper1, {0, 0, 346, 107});
    JvFormWallpaper1.LoadResource(IDB_WAIT_BACKGROUND);
    // The form paints the wallpaper itself, so the labels can draw on it.
    JvFormWallpaper1.Hide();
    ok = Label1.Create(*this, IDC_Form2Label1, {94, 16, 240, 20}) && ok;
    ok = Label2.Create(*this, IDC_Form2Label2, {94, 48, 240, 20}) && ok;
    ok = JvWaitingProgress1.Create(*this, IDC_Form2JvWaitingProgress1, {16, 88, 314, 8}) && ok;
    Label1.SetTransparent(true);
    Label2.SetTransparent(true);
    JvWaitingProgress1.SetLength(2000);
    JvWaitingProgress1.SetRefreshInterval(50);
    JvWaitingProgress1.SetColour(RGB(0xA6, 0xCA, 0xF0));
    JvWaitingProgress1.onEnded = [this] { JvWaitingProgress1Ended(); };

    font_ = CreatePointFont("Tahoma", 8);
    Label1.SetFont(font_.get());
    Label2.SetFont(font_.get());
    return ok;
}

void TForm2::Show() {
    SetVisible(true);
    FormShow();
}

void TForm2::Hide() {
    JvWaitingProgress1.SetActive(false);
    SetVisible(false);
}

// Paints the window before the caller's long work starts, with the bar already moving.
void TForm2::FormShow() {
    ui::PumpMessages();
    JvWaitingProgress1.SetActive(true);
    ui::PumpMessages();
}

// One run of the bar has ended: start the next, so it moves as long as the window is shown.
void TForm2::JvWaitingProgress1Ended() {
    JvWaitingProgress1.SetActive(false);
    JvWaitingProgress1.SetActive(true);
}

bool TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_ERASEBKGND) {
        PaintWallpaper(hwnd(), reinterpret_cast<HDC>(wp), JvFormWallpaper1.Bitmap());
        result = 1;
        return true;
    }
    if (msg == WM_CLOSE && onClose) {
        onClose();
        result = 0;
        return true;
    }
    return Form::HandleMessage(msg, wp, lp, result);
}
