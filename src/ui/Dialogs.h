// The one seam for modal dialogs and message boxes. The program shows the real dialogs;
// a test installs an Answerer that records what would have been shown and answers at once.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace ui {

class Form;

struct OpenFileRequest {
    std::string initialDir;
    std::string filter;      // "Name (*.x)|*.x|Other|*.*"
    bool multiSelect = false;
    bool fileMustExist = false;
    std::string title;
};

class Answerer {
public:
    virtual ~Answerer() = default;
    virtual void Message(HWND owner, const std::string& text) = 0;
    // The Yes/No confirmation: true for Yes.
    virtual bool Confirm(HWND owner, const std::string& text) = 0;
    // False when cancelled; paths in the order the dialog gives them.
    virtual bool OpenFiles(HWND owner, const OpenFileRequest& request, std::vector<std::string>& paths) = 0;
    virtual bool BrowseFolder(HWND owner, const std::string& title, const std::string& start,
                              std::string& chosen) = 0;
    virtual void RunModal(Form& form) = 0;
};

// The answerer in use; null restores the real dialogs.
void SetAnswerer(Answerer* answerer);

// Plain message box with one text (the program's title as caption).
void ShowMessage(HWND owner, const std::string& text);
// Modal Yes/No box with the confirmation icon, titled "Confirmation".
bool ConfirmYesNo(HWND owner, const std::string& text);
bool OpenFiles(HWND owner, const OpenFileRequest& request, std::vector<std::string>& paths);
// Shell folder browser (new style, whole namespace as root), start selection when not empty.
bool BrowseForFolder(HWND owner, const std::string& title, const std::string& start, std::string& chosen);
void RunModal(Form& form);
// Whether one of the dialogs above is open now, waiting for the user.
bool DialogOpen();

}  // namespace ui
