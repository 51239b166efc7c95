// The real program's welcome page in restore mode, driven and read from this process: what the
// screen shows once a backup-set folder is named.
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;

class RedrawProgramTest : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(Ini().c_str()); }
    void TearDown() override {
        program_.reset();
        DeleteFileA(Ini().c_str());
    }
    std::string App() const { return test::ExeFolder() + "\\app"; }
    std::string Ini() const { return App() + "\\Halvorkeep.ini"; }

    // Starts the program and switches the welcome page to restore mode.
    void StartInRestoreMode() {
        program_ = std::make_unique<drive::Program>(App() + "\\Halvorkeep3.exe");
        ASSERT_EQ(program_->Start(20000), "");
        ASSERT_TRUE(drive::ClickAndWait(Control(IDC_RestoreData)));
        HWND edit = Control(IDC_BackupPath);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(edit); }, kReactMs));
        ASSERT_EQ(drive::Text(edit), "");
    }
    HWND Control(int id) const {
        HWND w = program_->Control(id);
        EXPECT_TRUE(w) << "no control " << id;
        return w;
    }
    bool Enabled(int id) const { return drive::IsEnabled(Control(id)); }

    std::unique_ptr<drive::Program> program_;
};

// The welcome page's controls as the screen shows them: each drawn, or the ones that show one
// colour only.
std::string UndrawnControls(const drive::Program& program) {
    const std::pair<int, const char*> controls[] = {
        {IDC_WelcomeNext, "Next"}, {IDC_WelcomeQuit, "Quit"}, {IDC_BackupPath, "the backup-set folder"}};
    std::string undrawn;
    for (const auto& control : controls)
        if (drive::ScreenColours(program.Control(control.first)) < 2) undrawn += std::string(" ") + control.second;
    return undrawn;
}

}  // namespace

TEST_F(RedrawProgramTest, TheWelcomePageStaysDrawnWhenTheBackupSetFolderChanges) {
    test::ScratchFolder scratch("redraw");
    const std::string set = scratch / "Set";
    test::WriteFile(set + "\\Archive\\Documents\\letter.txt", "Dear Sir,");
    ASSERT_NO_FATAL_FAILURE(StartInRestoreMode());
    // The other tests' windows open in the middle of the screen: this one goes to its corner,
    // so the screen shows this program's own controls.
    RECT frame{};
    GetWindowRect(program_->Main(), &frame);
    ASSERT_TRUE(SetWindowPos(program_->Main(), HWND_TOP, GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left),
                             GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top), 0, 0,
                             SWP_NOSIZE | SWP_NOACTIVATE));
    std::string undrawn;
    ASSERT_TRUE(drive::WaitFor([&] { return (undrawn = UndrawnControls(*program_)).empty(); }, kReactMs))
        << "before any folder, not drawn:" << undrawn;

    // A folder that is no set, then the set, each given whole as the folder browser gives it.
    for (const std::string& folder : {scratch.path(), set}) {
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), folder));
        ASSERT_TRUE(drive::WaitFor([&] { return Enabled(IDC_WelcomeNext) == (folder == set); }, kReactMs));
        EXPECT_TRUE(drive::WaitFor([&] { return (undrawn = UndrawnControls(*program_)).empty(); }, 3000))
            << "after " << folder << ", not drawn:" << undrawn;
    }
}
