// The real Halvorkeep3.exe of the prefix (in app\ beside this driver, where the test runner puts
// the program folder), worked from this process as a user works it: typing, clicking, the
// system's file and folder dialogs, and waiting for what the program shows. Waits are generous:
// the machine may be busy.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "ProgramDriver.h"

namespace e2e {

// The program's folder, which also holds its settings file.
std::string AppFolder();

class Wizard {
public:
    testing::AssertionResult Start();
    // The day the program started, as it dates its log lines and names a dated sub-folder.
    const std::string& Day() const { return day_; }

    HWND Control(int id) const;
    std::string Text(int id) const;
    bool Ticked(int id) const;
    bool Enabled(int id) const;
    std::vector<std::string> Items(int id) const;
    std::vector<bool> Checks(int id) const;

    // A click that returns once the program has handled it.
    testing::AssertionResult Press(int id);
    // A click posted to the program, for a button whose handler runs a whole job.
    void PressAndGoOn(int id);
    // Sets an edit's text, which runs its change handler.
    testing::AssertionResult Type(int id, const std::string& text);
    testing::AssertionResult WaitUntilShown(int id);
    testing::AssertionResult WaitUntilEnabled(int id);
    testing::AssertionResult WaitForText(int id, const std::string& text, DWORD timeoutMs);
    // Presses Next buttons in turn, each page shown before the next press.
    testing::AssertionResult GoThrough(const std::vector<std::pair<int, int>>& nextAndPage);

    // Picks one file in the file-open dialog that the button opens, by typing its full path.
    testing::AssertionResult PickFile(int button, const std::string& path);
    // Chooses a folder in the folder browser that the button opens.
    testing::AssertionResult PickFolder(int button, const std::string& folder);

    // Exit on the job panel; the program must end.
    testing::AssertionResult Exit();

private:
    HWND WaitForDialog();
    std::unique_ptr<drive::Program> program_;
    std::string day_;
};

}  // namespace e2e
