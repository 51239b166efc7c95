#include "restore/RegistryFileCheck.h"
#include <windows.h>
#include <cwctype>
#include <vector>
#include "win/Handles.h"

namespace {

// Far above any identity or accounts export; a bigger file is not read into memory.
constexpr LONGLONG kLargestFile = 64LL * 1024 * 1024;

bool IsBlank(wchar_t c) { return c != L'\r' && c != L'\n' && std::iswspace(c); }

std::wstring Widened(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    const int count = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (count <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], count);
    return wide;
}

// Splits at every carriage return and line feed, as regedit does.
template <typename Text>
std::vector<Text> SplitLines(const Text& text, typename Text::value_type cr, typename Text::value_type lf) {
    std::vector<Text> lines;
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < text.size() && text[end] != cr && text[end] != lf) ++end;
        lines.push_back(text.substr(start, end - start));
        if (end == text.size()) return lines;
        start = end + 1;
    }
}

// The lines as regedit reads them: UTF-16LE after the byte-order mark FF FE, ANSI otherwise.
// regedit splits an ANSI file at the bytes CR and LF and converts each line on its own; a
// conversion of the whole text would let the lead byte of a double-byte code page (932, 936,
// 949, 950) just before a line break swallow the break, and the next line would hide in this
// one. False for a text that regedit and this check might read differently (a NUL, half a
// UTF-16 unit).
bool ReadLines(const std::string& bytes, std::vector<std::wstring>& lines) {
    lines.clear();
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0) return false;
        std::wstring text;
        for (size_t i = 2; i < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (text.find(L'\0') != std::wstring::npos) return false;
        lines = SplitLines(text, L'\r', L'\n');
        return true;
    }
    if (bytes.find('\0') != std::string::npos) return false;
    for (const std::string& line : SplitLines(bytes, '\r', '\n')) {
        lines.push_back(Widened(line));
        if (lines.back().empty() && !line.empty()) return false;
    }
    return true;
}

std::wstring Trimmed(const std::wstring& line) {
    size_t first = 0, last = line.size();
    while (first < last && IsBlank(line[first])) ++first;
    while (last > first && IsBlank(line[last - 1])) --last;
    return line.substr(first, last - first);
}

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// At or below: the root itself or a key whose name goes on after a backslash. Letter case is
// ignored for ASCII letters only, so nothing that the registry might fold differently is let by.
bool AtOrBelow(const std::wstring& key, const std::wstring& root) {
    if (key.size() < root.size()) return false;
    for (size_t i = 0; i < root.size(); ++i)
        if (AsciiUpper(key[i]) != AsciiUpper(root[i])) return false;
    return key.size() == root.size() || key[root.size()] == L'\\';
}

}  // namespace

bool RegistryTextStaysBelow(const std::string& bytes, const std::string& root) {
    std::vector<std::wstring> lines;
    const std::wstring wideRoot = Widened(root);
    if (wideRoot.empty() || !ReadLines(bytes, lines)) return false;
    const std::wstring header = Trimmed(lines.front());
    if (header != L"Windows Registry Editor Version 5.00" && header != L"REGEDIT4") return false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        size_t at = 0;
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size() || line[at] != L'[') continue;
        // The name runs to the last "]"; without one, to the end of the line. Blanks inside the
        // brackets stay part of it, so "[ HKEY_LOCAL_MACHINE...]" is refused, not read as a root.
        std::wstring key = line.substr(at + 1);
        const size_t close = key.rfind(L']');
        if (close != std::wstring::npos) key.erase(close);
        if (!key.empty() && key[0] == L'-') key.erase(0, 1);
        if (!AtOrBelow(key, wideRoot)) return false;
    }
    return true;
}

bool RegistryFileStaysBelow(const std::string& path, const std::string& root) {
    win::UniqueKernelHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestFile) return false;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return false;
    return RegistryTextStaysBelow(bytes, root);
}
