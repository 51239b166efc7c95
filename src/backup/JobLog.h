// The job log shared by the backup and the restore: counters and the dated line text.
#pragma once
#include <windows.h>
#include <string>
#include "ui/LineStore.h"

// Errors and warnings of the running job.
extern int ErrorCount;
extern int WarningCount;

// TodayText, " - ", the time in the user's long time format, " : " and the message.
std::string DatedLine(const SYSTEMTIME& time, const std::string& message);

// Writes the text log's lines, each ended by CR LF, over the file; false when it was not
// written whole.
bool SaveTextLog(const std::string& path, const ui::LineStore& lines);
