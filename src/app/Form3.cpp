#include "app/Form3.h"
#include <shellapi.h>
#include "app/AppState.h"
#include "app/Form1.h"
#include "app/WindowLook.h"
#include "resource.h"

TForm3* Form3 = nullptr;

const char* const kHomePageAddress = "https://www.halvorkeep.org/";
const char* const kLibraryAddress = "https://libjpeg-turbo.org/";

namespace {
// The JPEG library the program is built with, and the attribution its licence asks for.
const char* const kLibraryNotice =
    "This program uses libjpeg-turbo. This software is based in part on the work of the Independent JPEG Group.";
const COLORREF kSkyBlue = RGB(0xA6, 0xCA, 0xF0);
}  // namespace

bool TForm3::Create(HWND owner) {
    Form3 = this;
    if (!CreateForm(WallpaperFormOptions(owner, 346, 150))) return false;
    SetBackground(RGB(255, 255, 255));
    bool ok = JvFormWallpaper1.Create(*this, IDC_Form3JvFormWallpaper1, {0, 0, 346, 150});
    JvFormWallpaper1.LoadResource(IDB_ABOUT_BACKGROUND);
    JvFormWallpaper1.Hide();  // painted by the form as its background
    ok = Label1.Create(*this, IDC_Form3Label1, {20, 12, 280, 18}, "Halvorkeep3") && ok;
    ok = Label4.Create(*this, IDC_Form3Label4, {20, 30, 300, 16}, kHomePageAddress) && ok;
    ok = Image1.Create(*this, IDC_Form3Image1, {318, 12, 16, 16}) && ok;
    Image1.LoadResource(IDB_CLOSE);
    // The library notice carries the JPEG library's attribution: room for three lines.
    ok = Label3.Create(*this, IDC_Form3Label3, {20, 50, 310, 42}, {}, ui::Label::Align::Left, true) && ok;
    ok = Label5.Create(*this, IDC_Form3Label5, {20, 94, 310, 16}) && ok;
    ok = Label6.Create(*this, IDC_Form3Label6, {20, 110, 310, 16}, kLibraryAddress) && ok;
    ok = Label7.Create(*this, IDC_Form3Label7, {20, 128, 310, 16}) && ok;

    font_ = CreatePointFont("Tahoma", 8);
    for (ui::Label* label : {&Label1, &Label3, &Label4, &Label5, &Label6, &Label7}) {
        label->SetTransparent(true);
        label->SetFont(font_.get());
    }
    for (ui::Label* link : {&Label4, &Label6}) {
        link->SetTextColor(kSkyBlue);
        link->SetHandCursor(true);
    }
    Image1.SetHandCursor(true);
    Image1.onClick = [this] { Image1Click(); };
    Label4.onClick = [this] { Label4Click(); };
    Label6.onClick = [this] { Label6Click(); };
    return ok;
}

void TForm3::FormKeyPress() { Close(); }

void TForm3::Image1Click() { Close(); }

void TForm3::Label4Click() { ShellExecuteA(hwnd(), "open", kHomePageAddress, nullptr, nullptr, SW_SHOWDEFAULT); }

void TForm3::Label6Click() { ShellExecuteA(hwnd(), "open", kLibraryAddress, nullptr, nullptr, SW_SHOWDEFAULT); }

bool TForm3::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_CHAR:
        FormKeyPress();
        result = 0;
        return true;
    case WM_ERASEBKGND: {
        PaintWallpaper(hwnd(), reinterpret_cast<HDC>(wp), JvFormWallpaper1.Bitmap());
        result = 1;
        return true;
    }
    default:
        return Form::HandleMessage(msg, wp, lp, result);
    }
}

// The about window, filled in the current language each time it opens.
void TForm1::Image28DblClick() {
    Form3->Label3.SetText(LanguageText("MESSAGES", "ProgramContainsJVCL", kLibraryNotice));
    Form3->Label5.SetText(LanguageText("MESSAGES", "JVCLObtention", "libjpeg-turbo can be obtained from") + " :");
    Form3->Label7.SetText(LanguageText("MESSAGES", "TranslatedBy", "Translated by") + " : " +
                          LanguageText("INFO", "Translator", "Anonymous"));
    Form3->ShowModal();
}
