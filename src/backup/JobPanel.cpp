// The job panel both jobs show while they copy: its log lines, counters and three buttons.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
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

}  // namespace

void TForm1::StartJobPanel() {
    ErrorCount = 0;
    WarningCount = 0;
    // The counters are shown as they now stand: an earlier job's figures and signs would be taken
    // for this job's until its first warning or error.
    ResetCount(WarningBMP, WarningLabel, "Warnings");
    ResetCount(ErrorBMP, Errorlabel, "Errors");
    TextLog.Clear();
    Log.Clear();
    JobPreviousButton.SetEnabled(false);
    JobQuitButton.SetEnabled(false);
    JobCancelButton.SetEnabled(true);
    JobOver = false;
    CopyClaims.Clear();
    CopyFolders.Clear();
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

void TForm1::JobCancelButtonClick() {
    if (!ui::ConfirmYesNo(hwnd(), LanguageText("MESSAGES", "CancelJob", "Cancel current operation ?"))) return;
    LogCancel(LanguageText("MESSAGES", "CancelledByUser", "Process cancelled by user"));
    JobOver = true;
    JobPreviousButton.SetEnabled(true);
    JobQuitButton.SetEnabled(true);
}

void TForm1::PaceJobPanel(bool on) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Log, &CopyProgress, &WarningLabel, &Errorlabel})
        c->SetPaced(on);
}

void TForm1::JobPreviousButtonClick() {
    JobPanel.Hide();
    if (BackupData.Checked()) BackupTabs.Show();
    if (RestoreData.Checked()) RestoreTabs.Show();
}

void TForm1::JobQuitButtonClick() {
    if (JobOver) ui::Terminate();
}
