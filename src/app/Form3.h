// TForm3: the about window, opened from the small picture at the top right of the main window.
#pragma once
#include "ui/Controls.h"
#include "ui/Form.h"

class TForm3 : public ui::Form {
public:
    bool Create(HWND owner);

    ui::Picture JvFormWallpaper1, Image1;
    ui::Label Label1, Label3, Label4, Label5, Label6, Label7;

    void FormKeyPress();
    void Image1Click();
    void Label4Click();
    void Label6Click();

protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    win::UniqueFont font_;
};

extern TForm3* Form3;

// The web addresses the about window opens.
extern const char* const kHomePageAddress;
extern const char* const kLibraryAddress;
