// The job log shared by the backup and the restore: counters and the dated line text.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "ui/LineStore.h"

// Errors and warnings of the running job.
extern int ErrorCount;
extern int WarningCount;

// The first line of every backup log after its date and time, the same in every language
// (Windows-1252 text).
extern const char kBackupStartLine[];

// TodayText, " - ", the time in the user's long time format, " : " and the message.
std::string DatedLine(const SYSTEMTIME& time, const std::string& message);

// Writes the text log's lines, each ended by CR LF, over the file; false when it was not
// written whole.
bool SaveTextLog(const std::string& path, const ui::LineStore& lines);

// Whether text begins with a date as yyyy-mm-dd, the form of TodayText.
bool BeginsWithDate(const std::string& text);

// Whether the file is the log of a backup: its first line is a dated line (yyyy-mm-dd, " - ",
// the time, " : ") of the backup's start. A file of the same name that the user keeps is not.
bool IsBackupLog(const std::string& path);

// The names of the backup logs right in folder, "Log.txt" first, then the free names a log takes
// beside a file of the user's that bears its name ("Log#1.txt", "Log#2.txt"...), each only when
// it is a backup's log. A set that a backup began holds one from the job's start on, whether or
// not the job reached its end.
std::vector<std::string> BackupLogsIn(const std::string& folder);
