#include "backup/JobLog.h"
#include "app/AppState.h"
#include "win/Handles.h"

int ErrorCount = 0;
int WarningCount = 0;

std::string DatedLine(const SYSTEMTIME& time, const std::string& message) {
    char clock[64] = {};
    // No format given: the locale's own long time format, separators and AM/PM included.
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof(clock));
    return TodayText + " - " + clock + " : " + message;
}

bool SaveTextLog(const std::string& path, const ui::LineStore& lines) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    win::UniqueKernelHandle file(handle);
    // Written in pieces: a long job's log is large, and it is never held twice.
    std::string buffer;
    bool ok = true;
    auto flush = [&] {
        DWORD written = 0;
        ok = ok && WriteFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &written, nullptr) &&
             written == buffer.size();
        buffer.clear();
    };
    lines.ForEach([&](const char* text, size_t length) {
        buffer.append(text, length).append("\r\n");
        if (buffer.size() >= 1 << 16) flush();
    });
    flush();
    return ok;
}
