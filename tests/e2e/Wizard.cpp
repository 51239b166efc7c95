#include "Wizard.h"
#include "TestSupport.h"
#include "app/Environment.h"
#include "resource.h"

namespace e2e {

std::string AppFolder() { return test::ExeFolder() + "\\app"; }

namespace {

constexpr DWORD kReactMs = 30000;

}  // namespace

testing::AssertionResult Wizard::Start() {
    day_ = TodayAsText();
    program_ = std::make_unique<drive::Program>(AppFolder() + "\\Halvorkeep3.exe");
    const std::string error = program_->Start(60000);
    if (!error.empty()) return testing::AssertionFailure() << error;
    return testing::AssertionSuccess();
}

HWND Wizard::Control(int id) const { return program_ ? program_->Control(id) : nullptr; }
std::string Wizard::Text(int id) const { return drive::Text(Control(id)); }
bool Wizard::Ticked(int id) const { return drive::IsChecked(Control(id)); }
bool Wizard::Enabled(int id) const { return drive::IsEnabled(Control(id)); }
std::vector<std::string> Wizard::Items(int id) const { return drive::ListItems(Control(id)); }
std::vector<bool> Wizard::Checks(int id) const { return drive::ListChecks(Control(id)); }

testing::AssertionResult Wizard::Press(int id) {
    HWND w = Control(id);
    if (!w) return testing::AssertionFailure() << "no control " << id;
    if (!drive::ClickAndWait(w)) return testing::AssertionFailure() << "control " << id << " did not answer";
    return testing::AssertionSuccess();
}

void Wizard::PressAndGoOn(int id) { drive::Click(Control(id)); }

testing::AssertionResult Wizard::Type(int id, const std::string& text) {
    if (!drive::SetText(Control(id), text)) return testing::AssertionFailure() << "control " << id << " took no text";
    return testing::AssertionSuccess();
}

testing::AssertionResult Wizard::WaitUntilShown(int id) {
    if (drive::WaitFor([&] { return drive::IsVisible(Control(id)); }, kReactMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "control " << id << " is not shown";
}

testing::AssertionResult Wizard::WaitUntilEnabled(int id) {
    if (drive::WaitFor([&] { return Enabled(id); }, kReactMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "control " << id << " stays disabled";
}

testing::AssertionResult Wizard::WaitForText(int id, const std::string& text, DWORD timeoutMs) {
    std::string seen;
    if (drive::WaitFor([&] { return (seen = Text(id)) == text; }, timeoutMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "control " << id << " shows \"" << seen << "\", not \"" << text << "\"";
}

testing::AssertionResult Wizard::GoThrough(const std::vector<std::pair<int, int>>& nextAndPage) {
    for (const auto& step : nextAndPage) {
        testing::AssertionResult pressed = Press(step.first);
        if (!pressed) return pressed;
        testing::AssertionResult shown = WaitUntilShown(step.second);
        if (!shown) return shown << " after Next " << step.first;
    }
    return testing::AssertionSuccess();
}

HWND Wizard::WaitForDialog() {
    HWND box = nullptr;
    drive::WaitFor([&] { return (box = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs);
    return box;
}

testing::AssertionResult Wizard::PickFile(int button, const std::string& path) {
    drive::Click(Control(button));
    HWND dialog = WaitForDialog();
    if (!dialog) return testing::AssertionFailure() << "no file dialog after button " << button;
    // The name field: the edit edt1, or the combo box cmb13 of the newer dialog.
    HWND name = GetDlgItem(dialog, 0x480);
    if (!drive::SetText(name ? name : GetDlgItem(dialog, 0x47c), path))
        return testing::AssertionFailure() << "the file dialog took no name";
    drive::PressDialogButton(dialog, IDOK);
    if (!drive::WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kReactMs))
        return testing::AssertionFailure() << "the file dialog stays open with " << path;
    return testing::AssertionSuccess();
}

testing::AssertionResult Wizard::PickFolder(int button, const std::string& folder) {
    drive::Click(Control(button));
    HWND browser = WaitForDialog();
    if (!browser) return testing::AssertionFailure() << "no folder browser after button " << button;
    if (!drive::SelectFolderInBrowser(program_->Process(), browser, folder))
        return testing::AssertionFailure() << "the folder browser did not take " << folder;
    drive::PressDialogButton(browser, IDOK);
    if (!drive::WaitFor([&] { return !IsWindow(browser) || !IsWindowVisible(browser); }, kReactMs))
        return testing::AssertionFailure() << "the folder browser stays open with " << folder;
    return testing::AssertionSuccess();
}

testing::AssertionResult Wizard::Exit() {
    if (!Enabled(IDC_JobQuitButton)) return testing::AssertionFailure() << "Exit is disabled";
    drive::Click(Control(IDC_JobQuitButton));
    DWORD code = 0;
    if (!program_->WaitForExit(kReactMs, code)) return testing::AssertionFailure() << "the program did not end on Exit";
    return testing::AssertionSuccess();
}

}  // namespace e2e
