#include "backup/JobLog.h"
#include <algorithm>
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

namespace {

bool SameAscii(const std::string& a, size_t from, size_t length, const char* b) {
    return lstrlenA(b) == static_cast<int>(length) && from + length <= a.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data() + from, static_cast<int>(length), b,
                          static_cast<int>(length)) == CSTR_EQUAL;
}

// The number of a log's name: 0 for "Log.txt", n for "Log#n.txt", -1 for any other name.
long LogNameNumber(const std::string& name) {
    constexpr size_t kHead = 4, kTail = 4;  // "Log#", ".txt"
    if (SameAscii(name, 0, name.size(), "Log.txt")) return 0;
    if (name.size() <= kHead + kTail || !SameAscii(name, 0, kHead, "Log#") ||
        !SameAscii(name, name.size() - kTail, kTail, ".txt"))
        return -1;
    const std::string digits = name.substr(kHead, name.size() - kHead - kTail);
    if (digits.size() > 5 || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(digits);
}

}  // namespace

std::vector<std::string> BackupLogsIn(const std::string& folder) {
    std::vector<std::pair<long, std::string>> logs;
    WIN32_FIND_DATAA found;
    const win::UniqueFindHandle find(FindFirstFileA((folder + "\\Log*.txt").c_str(), &found));
    if (find.get() == INVALID_HANDLE_VALUE) return {};
    do {
        const std::string name = found.cFileName;
        const long number = LogNameNumber(name);
        if (number >= 0 && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsBackupLog(folder + "\\" + name))
            logs.emplace_back(number, name);
    } while (FindNextFileA(find.get(), &found));
    std::sort(logs.begin(), logs.end());
    std::vector<std::string> names;
    for (const auto& log : logs) names.push_back(log.second);
    return names;
}
