// The real program in restore mode, driven from this process: a backup set chosen on the welcome
// page, and what LaunchRestore shows the user.
#include <windows.h>
#include <sstream>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <memory>
#include <string>
#include "ProgramDriver.h"
#include "RestoreFixture.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;

// The lines of one of the program's list boxes. Read in UTF-16: under Wine an ANSI read of a list
// box of another process gets UTF-16 text back, twice the size the ANSI length announced.
std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_BLOCK, 5000, &count)) return lines;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_BLOCK, 5000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]), SMTO_BLOCK, 5000, &copied);
        text.resize(copied <= length ? copied : length);
        std::string line(text.size() * 2 + 1, '\0');
        const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &line[0],
                                          static_cast<int>(line.size()), nullptr, nullptr);
        line.resize(n > 0 ? static_cast<size_t>(n) : 0);
        lines.push_back(line);
    }
    return lines;
}

class RestoreProgramTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteFileA((App() + "\\Halvorkeep.ini").c_str());
        // A restore job saves its log beside the desktop folder: it comes back as it was.
        seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
    }
    void TearDown() override {
        program_.reset();
        DeleteFileA((App() + "\\Halvorkeep.ini").c_str());
    }
    std::string App() const { return test::ExeFolder() + "\\app"; }

    HWND Control(int id) {
        HWND w = program_->Control(id);
        EXPECT_TRUE(w) << "no control " << id;
        return w;
    }
    void Press(int id) { EXPECT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    // The control's own visibility, whichever page shows.
    bool Shown(int id) { return (GetWindowLongA(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }

    // Starts the program, chooses the set in restore mode and goes to the last restore page.
    void StartOnTheLastPage(const std::string& set) {
        program_ = std::make_unique<drive::Program>(App() + "\\Halvorkeep3.exe");
        ASSERT_EQ(program_->Start(20000), "");
        Press(IDC_RestoreData);
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        Press(IDC_WelcomeNext);
        for (int id : {IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next, IDC_Restore5Next})
            Press(id);
        HWND launch = Control(IDC_LaunchRestore);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(launch); }, kReactMs)) << "no last restore page";
    }
    // Waits for a message box, reads it and presses OK.
    std::string AnswerMessage() {
        HWND box = nullptr;
        if (!drive::WaitFor([&] { return (box = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs))
            return "<no message box>";
        const std::string text = drive::DialogText(box);
        drive::PressDialogButton(box, IDOK);
        drive::WaitFor([&] { return !IsWindowVisible(box); }, kReactMs);
        return text;
    }

    test::Seed seed;
    test::ScratchFolder scratch{"restore program"};
    std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
    std::unique_ptr<drive::Program> program_;
};

}  // namespace

TEST_F(RestoreProgramTest, ExtrasNeedTheirOtherFolderAndATamperedRecordIsRefusedWithAnErrorLine) {
    test::WriteFile(scratch / "outside\\secret.txt", "not yours");
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    restoretest::IniText({"[FROM]", "1=C:\\Data\\notes.txt", "[SAVED]",
                                          "1=..\\..\\..\\..\\outside\\secret.txt"}));
    ASSERT_NO_FATAL_FAILURE(StartOnTheLastPage(set));
    EXPECT_EQ(ListLines(Control(IDC_restoreAdditionalFilesList)), std::vector<std::string>{"C:\\Data\\notes.txt"});
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreAdditionalFilesList)), std::vector<bool>{true});

    // To another folder, with no folder named: asked for, and nothing started.
    Press(IDC_RestoreFilesOther);
    drive::Click(Control(IDC_LaunchRestore));
    EXPECT_EQ(AnswerMessage(), "Please choose the folder to restore to !");
    EXPECT_TRUE(drive::IsVisible(Control(IDC_LaunchRestore)));
    EXPECT_FALSE(Shown(IDC_JobPanel));

    // Back where they came from: the record leads outside the set, so nothing is listed and the
    // job log says why.
    Press(IDC_RestoreFilesOrigin);
    drive::Click(Control(IDC_LaunchRestore));
    HWND panel = Control(IDC_JobPanel);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(panel); }, kReactMs)) << "no job panel";
    EXPECT_TRUE(ListLines(Control(IDC_RestoreCopyList)).empty());
    // The text log as the finished job saves it, beside the desktop folder.
    ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(Control(IDC_CopyProgress)) == "Restoration job is finished!"; },
                               kReactMs));
    std::vector<std::string> log;
    std::istringstream saved(test::ReadFile(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt"));
    for (std::string line; std::getline(saved, line);) log.push_back(line.substr(0, line.find('\r')));
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[0].find(" : D\xe9marrage de la restauration"), std::string::npos) << log[0];
    EXPECT_EQ(log[1].rfind("[ERROR] ", 0), 0u) << log[1];
    EXPECT_NE(log[1].find(" : This entry of the backup set leads outside its folder. Skipping it: "
                          "\"..\\..\\..\\..\\outside\\secret.txt\""),
              std::string::npos)
        << log[1];
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreAdditionalFilesList)), std::vector<bool>{false});
}
