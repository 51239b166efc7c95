// TForm2: the please-wait window the long listings show in place of the main window.
#pragma once
#include <functional>
#include "ui/Controls.h"
#include "ui/Form.h"

class TForm2 : public ui::Form {
public:
    bool Create(HWND owner);

    ui::Picture JvFormWallpaper1;
    ui::Label Label1, Label2;
    ui::WaitingBar JvWaitingProgress1;

    // Shows the window and starts the moving bar; Hide stops it again.
    void Show();
    void Hide();
    void FormShow();
    void JvWaitingProgress1Ended();
    // A close of this window (Alt+F4 while it is shown): the owner decides; unset, it hides.
    std::function<void()> onClose;

protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    win::UniqueFont font_;
};

extern TForm2* Form2;
