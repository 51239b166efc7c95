// The real program, started as the user starts it: Halvorkeep3.exe in the built program folder
// (app\ beside this test, copied afresh for every run), driven from this process. The checks are
// what the user sees and what lands in Halvorkeep.ini beside the exe.
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;  // how long the window may take to react, on a busy machine

const int kBackupSheets[] = {IDC_BackupTabSheet1, IDC_BackupTabSheet2, IDC_BackupTabSheet3,
                             IDC_BackupTabSheet4, IDC_BackupTabSheet5, IDC_BackupTabSheet6};
const int kBackupNext[] = {IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next};
const int kBackupPrevious[] = {IDC_Backup1Previous, IDC_Backup2Previous, IDC_Backup3Previous,
                               IDC_Backup4Previous, IDC_Backup5Previous, IDC_Backup6Previous};

std::string ReadIni(const std::string& file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof(value), file.c_str());
    return value;
}

class ProgramTest : public test::ProgramFolderTest {
protected:
    bool Visible(int id) { return drive::IsVisible(Control(id)); }
    bool Enabled(int id) { return drive::IsEnabled(Control(id)); }
    void Press(int id) { EXPECT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    bool BecomesVisible(int id) {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::IsVisible(w); }, kReactMs);
    }
    bool BecomesEnabled(int id, bool enabled = true) {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::IsEnabled(w) == enabled; }, kReactMs);
    }
};

TEST_F(ProgramTest, FirstStartWalksTheBackupAndRestorePagesAndQuits) {
    test::ScratchFolder storage("Storage"), set("Set");
    test::WriteFile(set / "Archive\\Documents\\letter.txt", "Dear Sir,");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ReadIni(Ini(), "CONFIG", "LastLanguage"), "English");
    EXPECT_TRUE(Visible(IDC_WelcomePanel));
    EXPECT_FALSE(Enabled(IDC_WelcomeNext)) << "Next without a storage folder";

    // An existing folder typed in enables Next; Next walks the six backup pages, Previous back.
    ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage.path()));
    ASSERT_TRUE(BecomesEnabled(IDC_WelcomeNext)) << "an existing storage folder did not enable Next";
    Press(IDC_WelcomeNext);
    ASSERT_TRUE(BecomesVisible(IDC_BackupTabSheet1)) << "Next on the welcome page";
    EXPECT_FALSE(Visible(IDC_WelcomePanel));
    for (int page = 1; page < 6; ++page) {
        Press(kBackupNext[page - 1]);
        ASSERT_TRUE(BecomesVisible(kBackupSheets[page])) << "Next on backup page " << page;
        EXPECT_FALSE(Visible(kBackupSheets[page - 1]));
    }
    for (int page = 5; page >= 0; --page) {
        Press(kBackupPrevious[page]);
        ASSERT_TRUE(BecomesVisible(page > 0 ? kBackupSheets[page - 1] : IDC_WelcomePanel))
            << "Previous on backup page " << page + 1;
        EXPECT_FALSE(Visible(kBackupSheets[page]));
    }

    // In restore mode a folder holding Archive\Documents is a backup set, and Next leads on.
    Press(IDC_RestoreData);
    ASSERT_TRUE(BecomesVisible(IDC_BackupPath));
    EXPECT_FALSE(Visible(IDC_StoragePath));
    EXPECT_TRUE(BecomesEnabled(IDC_WelcomeNext, false)) << "Next in restore mode without a backup set";
    ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set.path()));
    ASSERT_TRUE(BecomesEnabled(IDC_WelcomeNext)) << "the backup set was not recognised";
    Press(IDC_WelcomeNext);
    ASSERT_TRUE(BecomesVisible(IDC_RestoreTabSheet1)) << "Next in restore mode";
    EXPECT_FALSE(Visible(IDC_BackupTabs));
    Press(IDC_Restore1Next);
    EXPECT_TRUE(BecomesVisible(IDC_RestoreTabSheet2));

    // Quit, here from the second restore page, ends the program with exit code 0.
    drive::Click(Control(IDC_Restore2Quit));
    DWORD code = 99;
    ASSERT_TRUE(program_->WaitForExit(kReactMs, code)) << "Quit did not end the program";
    EXPECT_EQ(code, 0u);
}

TEST_F(ProgramTest, RememberedFrenchIsReadFromItsFileAndAKeyClosesTheAboutWindow) {
    const std::string next = ReadIni(App() + "\\language\\French.ini", "BUTTONS", "Next");
    ASSERT_NE(next, "") << "no BUTTONS/Next in language\\French.ini";
    ASSERT_NE(next, "Next");
    ASSERT_TRUE(WritePrivateProfileStringA("CONFIG", "LastLanguage", "French", Ini().c_str()));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(drive::Text(Control(IDC_WelcomeNext)), next);

    // The about picture opens the about window, which blocks the main window until a key.
    const HWND main = program_->Main();
    drive::Click(Control(IDC_Image28));
    HWND about = nullptr;
    ASSERT_TRUE(drive::WaitFor([&] { return (about = program_->OtherVisibleWindow()) != nullptr; }, kReactMs))
        << "a click on the about picture showed no window";
    EXPECT_TRUE(drive::WaitFor([&] { return !IsWindowEnabled(main); }, kReactMs)) << "the about window is not modal";
    drive::PressKey(about, 'Q');
    EXPECT_TRUE(drive::WaitFor([&] { return !IsWindowVisible(about); }, kReactMs)) << "a key left it open";
    EXPECT_TRUE(drive::WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, kReactMs));
}

}  // namespace
