#include "app/Environment.h"
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "ui/MessagePump.h"
#include "win/Handles.h"

std::string WindowsVersionCode;
bool JobOver = false;

namespace {

HWND specialFolderOwner = nullptr;

bool IsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }

// Whether byte i of text starts a character of the ANSI code page (and is not the second byte
// of a double-byte character), so that neither ASCII folding nor a split touches half a character.
std::vector<bool> CharacterStarts(const std::string& text) {
    std::vector<bool> starts(text.size(), false);
    const bool leadBytes = AnsiCodePageHasLeadBytes();
    for (size_t i = 0; i < text.size(); ++i) {
        starts[i] = true;
        if (leadBytes && IsLeadByte(text[i]) && i + 1 < text.size()) ++i;
    }
    return starts;
}

char UpperAsciiChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string DecimalSeparator() {
    char buf[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof(buf)) > 1) return buf;
    return ".";
}

// The "#.##" picture: no leading zeros, at most two decimals rounded half up, trailing zeros
// dropped, nothing at all for zero. Integer arithmetic, so large counts round exactly.
std::string FormatTwoDecimals(long long count, long long unit) {
    bool negative = count < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(count)
                                            : static_cast<unsigned long long>(count);
    unsigned long long u = static_cast<unsigned long long>(unit);
    unsigned long long whole = magnitude / u;
    unsigned long long hundredths = ((magnitude % u) * 100 + u / 2) / u;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    std::string text;
    if (negative && (whole != 0 || hundredths != 0)) text = "-";
    if (whole != 0) text += std::to_string(whole);
    if (hundredths != 0) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02u", static_cast<unsigned>(hundredths));
        std::string decimals = digits;
        if (decimals[1] == '0') decimals.resize(1);
        text += DecimalSeparator() + decimals;
    }
    return text;
}

}  // namespace

bool AnsiCodePageHasLeadBytes() {
    static const bool leadBytes = [] {
        CPINFO info{};
        return GetCPInfo(CP_ACP, &info) && (info.LeadByte[0] != 0 || info.LeadByte[1] != 0);
    }();
    return leadBytes;
}

size_t FirstDelimiter(const std::string& delimiters, const std::string& text, size_t from) {
    if (!AnsiCodePageHasLeadBytes()) return text.find_first_of(delimiters, from);
    for (size_t i = from; i < text.size(); ++i) {
        if (delimiters.find(text[i]) != std::string::npos) return i;
        if (IsLeadByte(text[i])) ++i;
    }
    return std::string::npos;
}

size_t NextBackslash(const std::string& text, size_t from) { return FirstDelimiter("\\", text, from); }

size_t LastDelimiter(const std::string& delimiters, const std::string& text, size_t end) {
    end = std::min(end, text.size());
    if (!AnsiCodePageHasLeadBytes()) return end == 0 ? std::string::npos : text.find_last_of(delimiters, end - 1);
    // A byte's role shows only from the start of the text: a second byte looks like any sign.
    size_t found = std::string::npos;
    for (size_t i = 0; i < end; ++i) {
        if (delimiters.find(text[i]) != std::string::npos)
            found = i;
        else if (IsLeadByte(text[i]))
            ++i;
    }
    return found;
}

bool EndsWithBackslash(const std::string& path) {
    if (path.empty() || path.back() != '\\') return false;
    if (!AnsiCodePageHasLeadBytes()) return true;
    size_t last = 0;
    for (size_t i = 0; i < path.size(); i += IsLeadByte(path[i]) ? 2 : 1) last = i;
    return last == path.size() - 1;
}

long long GetFileSize64(const std::string& path) {
    // A plain path is answered by its attributes (a search costs several times more); a pattern
    // still gets the size of the first match.
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (path.find_first_of("*?") == std::string::npos &&
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        return (static_cast<long long>(attributes.nFileSizeHigh) << 32) + attributes.nFileSizeLow;
    WIN32_FIND_DATAA data;
    win::UniqueFindHandle find(FindFirstFileA(path.c_str(), &data));
    if (!find) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
}

std::string FormatByteSize(long long count) {
    const long long kb = 1024, mb = 1048576, gb = 1073741824;
    if (count > gb) return FormatTwoDecimals(count, gb) + " GB";
    if (count > mb) return FormatTwoDecimals(count, mb) + " MB";
    if (count > kb) return FormatTwoDecimals(count, kb) + " KB";
    return FormatTwoDecimals(count, 1) + " bytes";
}

std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> items;
    if (delimiter.empty()) {
        items.push_back(text);
        return items;
    }
    // Only a delimiter that begins a character counts.
    const std::vector<bool> starts = CharacterStarts(text);
    size_t start = 0;
    for (size_t found = 0; (found = text.find(delimiter, found)) != std::string::npos;) {
        if (!starts[found]) {
            ++found;
            continue;
        }
        items.push_back(text.substr(start, found - start));
        start = found = found + delimiter.size();
    }
    items.push_back(text.substr(start));
    return items;
}

std::string GetCurrentUserName() {
    char buf[256] = {};
    DWORD size = sizeof(buf);
    if (!GetUserNameA(buf, &size)) return "";
    return std::string(buf, strnlen(buf, sizeof(buf)));
}

void RunAndWait(const std::string& program, const std::string& parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    info.hwnd = GetActiveWindow();
    info.lpVerb = "open";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExA(&info)) return;
    // A document handed to a program that already runs gives no process to wait for.
    if (!info.hProcess) return;
    win::UniqueKernelHandle process(info.hProcess);
    // Only a time-out means the program still runs; a failed wait must not spin for ever.
    while (WaitForSingleObject(process.get(), 50) == WAIT_TIMEOUT) ui::PumpMessages();
}

std::string RemoveFileExt(const std::string& path) {
    size_t dot = LastDelimiter(".\\:", path);
    if (dot == std::string::npos || path[dot] != '.') return path;
    return path.substr(0, dot);
}

DWORD CALLBACK CopyProgressCallback(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred,
                                    LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
    ui::PumpMessages();
    if (JobOver) return PROGRESS_STOP;
    if (totalFileSize.QuadPart == 0) return PROGRESS_CONTINUE;
    long long percent = totalBytesTransferred.QuadPart * 100 / totalFileSize.QuadPart;
    ui::PumpMessages();
    if (data) SendMessageA(static_cast<HWND>(data), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    ui::PumpMessages();
    ui::PumpMessages();
    return PROGRESS_CONTINUE;
}

void SetSpecialFolderOwner(HWND owner) { specialFolderOwner = owner; }

std::string GetSpecialFolderPath(int csidl) {
    win::UniqueItemIdList list;
    if (FAILED(SHGetSpecialFolderLocation(specialFolderOwner, csidl, list.put())) || !list) return "";
    char buf[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list.get(), buf)) return "";
    std::string path(buf, strnlen(buf, sizeof(buf)));
    bool driveRoot = path.size() == 3 && path[1] == ':';
    return driveRoot ? path : ExcludeTrailingBackslash(path);
}

std::string VersionCodeFor(const OSVERSIONINFOEXA& info, bool extended) {
    if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) return "";
    DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (major == 5 && minor == 0) return "2K-XP";
    if (!extended || info.wProductType != VER_NT_WORKSTATION) return "";
    if (major == 5 && (minor == 1 || minor == 2)) return "2K-XP";
    if (major == 6 && minor == 0) return "VISTA";
    if (major == 6 && minor == 1) return "SEVEN";
    return "";
}

void DetectWindowsVersion() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    bool extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
    if (!extended) {
        // Systems older than Windows 2000 refuse the extended structure.
        info = OSVERSIONINFOEXA{};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return;
    }
    WindowsVersionCode = VersionCodeFor(info, extended);
}

bool FileExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EntryExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FileIdentity IdentityFromInformation(const BY_HANDLE_FILE_INFORMATION* info) {
    FileIdentity identity;
    if (!info) return identity;
    identity.volume = info->dwVolumeSerialNumber;
    identity.indexHigh = info->nFileIndexHigh;
    identity.indexLow = info->nFileIndexLow;
    identity.known = info->nFileIndexHigh != 0 || info->nFileIndexLow != 0;
    return identity;
}

FileIdentity IdentityOf(std::string path) {
    path = ExcludeTrailingBackslash(path);
    // "C:" alone would name the drive's current folder, not its root.
    if (path.size() == 2 && path[1] == ':') path += '\\';
    // A folder opens only with backup semantics; nothing is read, and any sharing is allowed.
    const HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FileIdentity();
    const win::UniqueKernelHandle held(h);
    BY_HANDLE_FILE_INFORMATION info;
    return IdentityFromInformation(GetFileInformationByHandle(held.get(), &info) ? &info : nullptr);
}

std::string FullPathName(const std::string& path) {
    std::string full(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.assign(length, '\0');
        length = GetFullPathNameA(path.c_str(), length, &full[0], nullptr);
    }
    if (length == 0 || length >= full.size()) return std::string();
    full.resize(length);
    return full;
}

bool ForceDirectories(const std::string& path) {
    std::string folder = ExcludeTrailingBackslash(path);
    if (folder.empty()) return false;
    if (FolderExists(folder)) return true;
    const std::string parent = ParentFolder(folder);
    if (!parent.empty()) ForceDirectories(parent);
    CreateDirectoryA(folder.c_str(), nullptr);
    return FolderExists(folder);
}

std::string ProgramFolder() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
        if (n == 0) return "";
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    return ParentFolder(buf);
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    return EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
}

std::string IncludeTrailingBackslash(const std::string& path) {
    return EndsWithBackslash(path) ? path : path + '\\';
}

std::string ExtractFileName(const std::string& path) {
    const size_t delimiter = LastDelimiter("\\/:", path);
    return delimiter == std::string::npos ? path : path.substr(delimiter + 1);
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = LastDelimiter("\\", path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string TodayAsText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char buf[16];
    std::snprintf(buf, sizeof(buf), "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return buf;
}

std::string UpperAscii(const std::string& text) {
    std::string result = text;
    const bool leadBytes = AnsiCodePageHasLeadBytes();
    for (size_t i = 0; i < result.size(); ++i) {
        // The second byte of a double-byte character is never folded.
        if (leadBytes && IsLeadByte(result[i]) && i + 1 < result.size())
            ++i;
        else
            result[i] = UpperAsciiChar(result[i]);
    }
    return result;
}


std::string ReplaceTextIgnoreCase(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string upperText = UpperAscii(text), upperFrom = UpperAscii(from);
    std::vector<bool> starts = CharacterStarts(text);
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        if (starts[i] && upperText.compare(i, upperFrom.size(), upperFrom) == 0) {
            result += to;
            i += from.size();
        } else {
            result += text[i];
            ++i;
        }
    }
    return result;
}
