// A top-level window that hosts controls: the base of the program's three windows.
#pragma once
#include "ui/Controls.h"

namespace ui {

class Form : public Container {
public:
    struct Options {
        std::string title;
        int clientWidth = 0, clientHeight = 0;
        DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        DWORD exStyle = 0;
        HWND owner = nullptr;
        bool centreOnOwner = false;    // else centred on the screen
        COLORREF transparentColour = CLR_INVALID;  // colour-keyed layered window when set
        int iconId = 0;
    };
    bool CreateForm(const Options& options);

    // Shows the window modally: the owner is disabled and a message loop runs until the
    // window is hidden or destroyed. Goes through the dialog service, so tests can answer.
    void ShowModal();
    void Close();  // hides the window, which ends a modal run

protected:
    // The form's own messages; return true when handled (result set).
    virtual bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    static LRESULT CALLBACK WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

// The real modal loop (the dialog service's default for ShowModal).
void RunModalLoop(Form& form);

}  // namespace ui
