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

// Files.ini keys of the extra files that the listing left out, from the next key up to the next
// file it listed: key n stands for item n of the list, whatever became of that file.
void RecordExtraFilesLeftOut(TForm1& form) {
    while (AdditionalFileNumber < static_cast<int>(ExtraFilesLeftOut.size()) && ExtraFilesLeftOut[AdditionalFileNumber])
        form.RecordAdditionalFile(form.AdditionalFilesList.Item(AdditionalFileNumber));
}

void CopyBackupEntry(TForm1& form, const std::string& entry, long long size) {
    CurrentTag = entry.substr(0, 10);
    // The tag heads the entry; a file name that holds the tag's text keeps it.
    const std::string source = entry.substr(CurrentTag.size());
    // Recorded before the copy, whatever its outcome: a restore finds the file's keys where the
    // list's order puts them.
    if (CurrentTag == "[ADDFILES]") {
        RecordExtraFilesLeftOut(form);
        form.RecordAdditionalFile(source);
    }
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
    form.CopyStep(source, destination, CurrentTag == "[OUTLOOK-]", size);
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
    // Extra files left out after the last one listed, or with none listed at all.
    if (!JobOver) RecordExtraFilesLeftOut(form);
}
