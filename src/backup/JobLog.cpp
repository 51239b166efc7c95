#include "backup/JobLog.h"
#include "app/AppState.h"
#include "win/Handles.h"

const char kBackupStartLine[] = "D\xE9marrage de la sauvegarde";

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

bool BeginsWithDate(const std::string& text) {
    if (text.size() < 10) return false;
    for (size_t i = 0; i < 10; ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

bool IsBackupLog(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    win::UniqueKernelHandle file(handle);
    // The first line is short: the date, the time in any locale's format and the start text.
    char head[256];
    DWORD read = 0;
    if (!ReadFile(file.get(), head, sizeof(head), &read, nullptr)) return false;
    const std::string text(head, read);
    const size_t end = text.find("\r\n");
    if (end == std::string::npos) return false;
    const std::string line = text.substr(0, end), start = std::string(" : ") + kBackupStartLine;
    return BeginsWithDate(line) && line.compare(10, 3, " - ") == 0 && line.size() >= 13 + start.size() &&
           line.compare(line.size() - start.size(), start.size(), start) == 0;
}
