#include "backup/JobLog.h"
#include "app/AppState.h"

int ErrorCount = 0;
int WarningCount = 0;

std::string DatedLine(const SYSTEMTIME& time, const std::string& message) {
    char clock[64] = {};
    // No format given: the locale's own long time format, separators and AM/PM included.
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof(clock));
    return TodayText + " - " + clock + " : " + message;
}
