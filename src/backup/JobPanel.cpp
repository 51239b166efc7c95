// The job panel both jobs show while they copy: its log lines, counters and three buttons.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "app/Form2.h"
#include <initializer_list>
#include "backup/CopyStep.h"
#include "backup/JobLog.h"
#include "ui/Dialogs.h"
#include "ui/MessagePump.h"

namespace {

// A counter of the panel back at zero: its sign hidden, its label as the language gives it.
void ResetCount(ui::Picture& sign, ui::Label& label, const char* key) {
    sign.Hide();
    label.SetText(LanguageText("INTERFACE", key, key) + " : 0");
}

// The job whose button's handler runs, from its listing to its finish.
bool jobRunning = false;
// That job has reached its panel: its log is there and its copy loop follows.
bool jobPanelStarted = false;
// The user confirmed a close while the job listed its files: it stops as soon as it copies.
bool stopAtPanelStart = false;

}  // namespace

void TForm1::RunJob(void (TForm1::*job)()) {
    // One job at a time: a Launch that reaches a running job's pumps is not a second job.
    ui::ReentryGuard guard(jobRunning);
    if (!guard.Entered()) return;
    jobPanelStarted = false;
    stopAtPanelStart = false;
    (this->*job)();
}

void TForm1::StartJobPanel() {
    ErrorCount = 0;
    WarningCount = 0;
    // The counters are shown as they now stand: an earlier job's figures and signs would be taken
    // for this job's until its first warning or error.
    ResetCount(WarningBMP, WarningLabel, "Warnings");
    ResetCount(ErrorBMP, Errorlabel, "Errors");
    TextLog.Clear();
    Log.Clear();
    // The log is disabled while the job copies, as when the panel first shows: the panel gives the
    // focus to Cancel, its one enabled control. Left enabled by an earlier job, the log took the
    // focus and lost it to none at the copy's first step, where no key acts.
    Log.SetEnabled(false);
    JobPreviousButton.SetEnabled(false);
    JobQuitButton.SetEnabled(false);
    JobCancelButton.SetEnabled(true);
    JobOver = false;
    CopyClaims.Clear();
    CopyFolders.Clear();
    jobPanelStarted = true;
    if (stopAtPanelStart) {
        stopAtPanelStart = false;
        // Handled at the copy loop's first step, after the job's first lines: the log reads as
        // for a Cancel pressed there.
        PostMessageA(hwnd(), kStopJobMessage, 0, 0);
        ui::PumpAtNextChance();
    }
}

void TForm1::AddLogLine(const std::string& logText, const std::string& textLogLine, HBITMAP picture) {
    Log.AddLine(logText, picture);
    TextLog.AddItem(textLogLine);
}

namespace {

std::string Now(const std::string& message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DatedLine(now, message);
}

}  // namespace

void TForm1::LogInfo(const std::string& message) {
    const std::string line = Now(message);
    AddLogLine(line, line, ImageInfo.Bitmap());
}

void TForm1::LogWarning(const std::string& message) {
    const std::string line = Now(message);
    AddLogLine(line, "[WARNING] " + line, ImageWarning.Bitmap());
    ShowCount(++WarningCount, WarningBMP, WarningLabel, "Warnings");
}

void TForm1::LogError(const std::string& message) {
    const std::string line = Now(message);
    AddLogLine(line, "[ERROR] " + line, ImageError.Bitmap());
    ShowCount(++ErrorCount, ErrorBMP, Errorlabel, "Errors");
}

// The sign beside a counter and its label: the word, " : " and the count.
void TForm1::ShowCount(int count, ui::Picture& sign, ui::Label& label, const char* key) {
    sign.Show();
    label.SetText(LanguageText("INTERFACE", key, key) + " : " + std::to_string(count));
}

void TForm1::LogCancel(const std::string& message) { AddLogLine(message, "[ERROR] " + message, ImageError.Bitmap()); }

namespace {

// While a box of the program waits for its answer, the main window is disabled: a Cancel or a
// close that still reaches it opens no second box.
bool ConfirmCancel(HWND owner) {
    if (ui::DialogOpen()) return false;
    return ui::ConfirmYesNo(owner, LanguageText("MESSAGES", "CancelJob", "Cancel current operation ?"));
}

}  // namespace

void TForm1::JobCancelButtonClick() {
    if (ConfirmCancel(hwnd())) CancelJob();
}

void TForm1::CancelJob() {
    LogCancel(LanguageText("MESSAGES", "CancelledByUser", "Process cancelled by user"));
    JobOver = true;
    JobPreviousButton.SetEnabled(true);
    JobQuitButton.SetEnabled(true);
}

void TForm1::FormCloseQuery() {
    if (ui::DialogOpen()) return;
    // Once the job is stopping or over, a close ends the program as Exit does, after the job's
    // finish has saved its log.
    if (!jobRunning || (jobPanelStarted && JobOver)) {
        WelcomeQuitClick();
        return;
    }
    // During the listing the please-wait window stands in for the main window.
    const HWND owner = !Visible() && Form2 && Form2->Visible() ? Form2->hwnd() : hwnd();
    if (!ConfirmCancel(owner)) return;
    if (jobPanelStarted)
        CancelJob();
    else
        stopAtPanelStart = true;
    ui::Terminate();
}

void TForm1::StopJobAtPanelStart() {
    if (jobRunning && !JobOver) CancelJob();
}

void TForm1::PaceJobPanel(bool on) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Log, &CopyProgress, &WarningLabel, &Errorlabel})
        c->SetPaced(on);
}

void TForm1::ShowJobEnd(const std::string& finished) {
    Log.SetEnabled(true);
    CopyProgress.SetText(finished);
    PaceJobPanel(false);
    // The finish, of a job done or cancelled, has just disabled Cancel, the control that held the
    // focus: a disabled window loses the focus to none, where no key acts. Exit takes it, so Enter
    // ends the program and Tab walks the panel.
    JobQuitButton.Focus();
}

void TForm1::JobPreviousButtonClick() {
    // Back on the wizard's page where the job was launched: the jobs never change the page.
    ui::TabSheet* page = (BackupData.Checked() ? BackupTabs : RestoreTabs).ActivePage();
    if (page) ShowPage(*page);
}

void TForm1::JobQuitButtonClick() {
    if (JobOver) ui::Terminate();
}
