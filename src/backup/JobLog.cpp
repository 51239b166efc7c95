#include "backup/JobLog.h"
#include "app/AppState.h"
#include "win/Handles.h"

int ErrorCount = 0;
int WarningCount = 0;

std::string DatedLine(const SYSTEMTIME& time, const std::string& message) {
    // A job writes many lines a second: the clock's text is made once for each second.
    static SYSTEMTIME shown{};
    static char clock[64] = {};
    if (!clock[0] || time.wSecond != shown.wSecond || time.wMinute != shown.wMinute || time.wHour != shown.wHour ||
        time.wDay != shown.wDay || time.wMonth != shown.wMonth || time.wYear != shown.wYear) {
        // No format given: the locale's own long time format, separators and AM/PM included.
        if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof(clock))) clock[0] = '\0';
        shown = time;
    }
    std::string line;
    line.reserve(TodayText.size() + sizeof(clock) + message.size() + 6);
    return line.append(TodayText).append(" - ").append(clock).append(" : ").append(message);
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
    lines.ForEach([&](const char* head, size_t headLength, const char* text, size_t length) {
        buffer.append(head, headLength).append(text, length).append("\r\n");
        if (buffer.size() >= 1 << 16) flush();
    });
    flush();
    return ok;
}
