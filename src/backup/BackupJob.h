// The phases of the backup job that Launch runs one after the other.
#pragma once
#include <vector>

class TForm1;

// For each item of AdditionalDirectoriesList, whether the running backup's listing left it out
// (missing, or lying in a backup set): the set does not record it as saved. Empty outside Launch.
extern std::vector<bool> ExtraFoldersLeftOut;
// For each item of AdditionalFilesList, whether the running backup's listing left it out (gone
// by Launch, or lying in a backup set or where the set goes): it has no entry in CopyList, yet
// keeps its key in Files.ini. Empty outside Launch.
extern std::vector<bool> ExtraFilesLeftOut;

// Turns the choices of the backup pages into the work list CopyList, behind the please-wait
// window, and remembers them in the settings file. Whatever happens, it ends with the please-wait
// window hidden and the main window shown. Errors met on the way wait in PendingJobErrors.
void ListBackupFiles(TForm1& form);
// The job panel's start state and the two checks; then the panel, the first line and the errors
// of the listing. False when the job stops at a check (with its message box).
bool StartBackupCopy(TForm1& form);
// The first thing the job writes into the storage folder, once it passes its checks: the set's
// log as it stands, so that the set is known as a backup's even when the job never reaches its
// end (killed, its log unsaved). FinishBackupJob writes the whole log over it.
void BeginBackupSetLog(TForm1& form);
// Copies every entry of CopyList into the set, until the list ends or the job is cancelled.
void CopyBackupEntries(TForm1& form);
