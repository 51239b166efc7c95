// The job panel: log lines of each kind, counters, and the Cancel, Previous and Exit buttons.
#include <regex>
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"
#include "ui/MessagePump.h"

namespace {

// The text the control's window holds, which is what it paints.
std::string WindowText(const ui::Control& control) {
    char text[256] = {};
    GetWindowTextA(control.hwnd(), text, sizeof(text));
    return text;
}

bool QuitRequested() {
    MSG msg;
    bool quit = ui::TakeTerminateRequest();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = true;
    return quit;
}

}  // namespace

TEST(JobLog, DatedLineHasDateTimeAndMessage) {
    TodayText = "2009-05-01";
    SYSTEMTIME t{};
    t.wYear = 2009;
    t.wMonth = 5;
    t.wDay = 1;
    t.wHour = 14;
    t.wMinute = 2;
    t.wSecond = 7;
    const std::string line = DatedLine(t, "File successfully copied");
    // The clock part follows the user's locale; in the test prefixes it is the 24-hour or
    // the 12-hour English clock.
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(2009-05-01 - (14:02:07|2:02:07 PM) : File successfully copied)")))
        << line;
}

TEST_F(MainWindowTest, WarningsAndErrorsAreCountedAndPrefixedInTheTextLog) {
    Start();
    form1->StartJobPanel();
    form1->LogInfo("Starting");
    form1->LogWarning("one");
    form1->LogWarning("two");
    form1->LogError("bad");
    form1->LogWarning("three");
    EXPECT_EQ(form1->WarningLabel.Text(), "Warnings : 3");
    EXPECT_EQ(form1->Errorlabel.Text(), "Errors : 1");
    EXPECT_TRUE(form1->WarningBMP.Visible());
    EXPECT_TRUE(form1->ErrorBMP.Visible());
    ASSERT_EQ(form1->TextLog.Count(), 5);
    ASSERT_EQ(form1->Log.Count(), 5);
    EXPECT_EQ(form1->TextLog.Item(0), form1->Log.Item(0));
    EXPECT_EQ(form1->TextLog.Item(1), "[WARNING] " + form1->Log.Item(1));
    EXPECT_EQ(form1->TextLog.Item(3), "[ERROR] " + form1->Log.Item(3));
    EXPECT_EQ(form1->Log.LinePicture(0), form1->ImageInfo.Bitmap());
    EXPECT_EQ(form1->Log.LinePicture(1), form1->ImageWarning.Bitmap());
    EXPECT_EQ(form1->Log.LinePicture(3), form1->ImageError.Bitmap());
    EXPECT_EQ(form1->Log.Item(0).rfind(TodayText + " - ", 0), 0u);

    // A new job starts from empty logs and zero counts.
    form1->StartJobPanel();
    EXPECT_EQ(form1->Log.Count(), 0);
    EXPECT_EQ(form1->TextLog.Count(), 0);
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_EQ(WarningCount, 0);
    EXPECT_FALSE(JobOver);
    form1->LogWarning("again");
    EXPECT_EQ(form1->WarningLabel.Text(), "Warnings : 1");
}

TEST_F(MainWindowTest, ANewJobShowsItsCountersAtZeroBeforeItsFirstCountedLine) {
    Start();
    // A job with an error and a warning, its counters painted in frames as a running job's are.
    form1->StartJobPanel();
    form1->PaceJobPanel(true);
    form1->LogError("Could not read folder");
    form1->LogWarning("odd");
    form1->PaceJobPanel(false);
    ASSERT_EQ(WindowText(form1->Errorlabel), "Errors : 1");

    // The next job, before any line: what the labels' windows hold is what the screen shows.
    form1->StartJobPanel();
    EXPECT_EQ(WindowText(form1->Errorlabel), "Errors : 0");
    EXPECT_EQ(WindowText(form1->WarningLabel), "Warnings : 0");
    EXPECT_FALSE(form1->ErrorBMP.Visible() || form1->WarningBMP.Visible()) << "an earlier job's signs";
    form1->LogInfo("Starting");
    EXPECT_EQ(WindowText(form1->Errorlabel), "Errors : 0");
    form1->LogError("bad");
    EXPECT_EQ(WindowText(form1->Errorlabel), "Errors : 1");
    EXPECT_TRUE(form1->ErrorBMP.Visible());
    EXPECT_FALSE(form1->WarningBMP.Visible());
}

TEST_F(MainWindowTest, CancelAnsweredNoChangesNothingAndExitWaitsForTheJob) {
    Start();
    form1->StartJobPanel();
    dialogs.confirmAnswers.push_back(false);
    Click(form1->JobCancelButton);
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_EQ(dialogs.confirmations[0], "Cancel current operation ?");
    EXPECT_EQ(form1->Log.Count(), 0);
    EXPECT_FALSE(JobOver);
    EXPECT_FALSE(form1->JobPreviousButton.Enabled());
    EXPECT_FALSE(form1->JobQuitButton.Enabled());
    form1->JobQuitButtonClick();
    EXPECT_FALSE(QuitRequested());
}

TEST_F(MainWindowTest, CancelConfirmedTwiceWritesTwoUndatedErrorLinesWithoutCounting) {
    Start();
    form1->StartJobPanel();
    dialogs.confirmAnswers = {true, true};
    Click(form1->JobCancelButton);
    Click(form1->JobCancelButton);
    ASSERT_EQ(form1->Log.Count(), 2);
    EXPECT_EQ(form1->Log.Item(0), "Process cancelled by user");
    EXPECT_EQ(form1->TextLog.Item(1), "[ERROR] Process cancelled by user");
    EXPECT_EQ(form1->Log.LinePicture(1), form1->ImageError.Bitmap());
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_TRUE(JobOver);
    EXPECT_TRUE(form1->JobPreviousButton.Enabled());
    EXPECT_TRUE(form1->JobQuitButton.Enabled());
    EXPECT_TRUE(form1->JobCancelButton.Enabled());
    // Exit now ends the program.
    Click(form1->JobQuitButton);
    EXPECT_TRUE(QuitRequested());
}

TEST_F(MainWindowTest, PreviousReturnsToTheWizardOfTheMode) {
    test::ScratchFolder storage("storage");
    Start();
    Type(form1->StoragePath, storage.path());
    Click(form1->WelcomeNext);
    form1->BackupTabs.SetActivePage(form1->BackupTabSheet6);
    Click(form1->backup6Next);
    ASSERT_TRUE(form1->JobPanel.Visible());
    form1->StartJobPanel();
    dialogs.confirmAnswers.push_back(true);
    Click(form1->JobCancelButton);
    Click(form1->JobPreviousButton);
    EXPECT_FALSE(form1->JobPanel.Visible());
    EXPECT_TRUE(form1->BackupTabs.Visible());
    EXPECT_EQ(form1->BackupTabs.ActivePage(), &form1->BackupTabSheet6);
    EXPECT_FALSE(form1->RestoreTabs.Visible());

    // In restore mode the restore pages come back.
    form1->BackupTabs.Hide();
    form1->JobPanel.Show();
    form1->RestoreData.SetChecked(true);
    form1->BackupData.SetChecked(false);
    Click(form1->JobPreviousButton);
    EXPECT_TRUE(form1->RestoreTabs.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
}
