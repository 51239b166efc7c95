// The backup's copy phase: the panel's start, the two checks, and one copy step per entry.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/BackupJob.h"
#include "backup/BackupTarget.h"
#include "backup/CopyStep.h"
#include "backup/JobLog.h"
#include "ui/Dialogs.h"
#include "ui/MessagePump.h"

namespace {

bool StopWithMessage(TForm1& form, const char* key, const char* def) {
    ui::ShowMessage(form.hwnd(), LanguageText("MESSAGES", key, def));
    // No panel will show them.
    PendingJobErrors.clear();
    PendingJobWarnings.clear();
    return false;
}

void CopyBackupEntry(TForm1& form, const std::string& entry, long long size) {
    CurrentTag = entry.substr(0, 10);
    // The tag heads the entry; a file name that holds the tag's text keeps it.
    const std::string source = entry.substr(CurrentTag.size());
    std::string destination;
    if (!form.MapBackupTarget(CurrentTag, source, entry, destination)) {
        form.LogError(LanguageText("MESSAGES", "NoDestination",
                                   "No place to copy this file to. Skipping to next file") + ": \"" + source + "\"");
        return;
    }
    if (CurrentTag == "[ADDDIR--]") {
        const std::string root = BackupSetRoot(form.StoragePath.Text(), BackupSubFolderSuffix);
        CopyFolders.Make(root + "\\Archive\\AdditionalFolders");
    }
    const bool copied = form.CopyStep(source, destination, CurrentTag == "[OUTLOOK-]", size);
    // Files.ini names only files the set holds: a restore looks for every file it names.
    if (copied && CurrentTag == "[ADDFILES]") form.RecordAdditionalFile(source, destination);
}

}  // namespace

bool StartBackupCopy(TForm1& form) {
    form.StartJobPanel();
    AdditionalFileNumber = 0;
    CopyCount = form.CopyList.Count();
    if (CopyCount < 1) return StopWithMessage(form, "ChooseItemToBackup", "Please choose something to backup !");
    if (form.StoragePathWrong.Visible())
        return StopWithMessage(form, "ChooseValidBackupLocation", "Please choose a valid backup location !");
    CopyCount = form.CopyList.Count();
    form.ShowPage(form.JobPanel);
    form.PaceJobPanel(true);
    form.LogInfo(kBackupStartLine);
    for (const std::string& error : PendingJobErrors) form.LogError(error);
    PendingJobErrors.clear();
    for (const std::string& warning : PendingJobWarnings) form.LogWarning(warning);
    PendingJobWarnings.clear();
    return true;
}

void CopyBackupEntries(TForm1& form) {
    const LanguageTextsHeld texts;
    CopyIndex = 0;
    while (CopyIndex < CopyCount && !JobOver) {
        form.Log.SetEnabled(false);
        // The Cancel button acts here, between two files.
        ui::KeepResponsive();
        // A cancel confirmed just now takes no further file.
        if (JobOver) break;
        CopyBackupEntry(form, form.CopyList.Item(CopyIndex), form.CopyList.Value(CopyIndex));
        ++CopyIndex;
        form.Log.SelectLast();
    }
}
