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

// The text as regedit reads it: UTF-16LE after the byte-order mark FF FE, ANSI otherwise. False
// for a text that regedit and this check might read differently (a NUL, half a UTF-16 unit).
bool Decode(const std::string& bytes, std::wstring& text) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0) return false;
        text.clear();
        for (size_t i = 2; i < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
    } else {
        text = Widened(bytes);
        if (text.empty() && !bytes.empty()) return false;
    }
    return text.find(L'\0') == std::wstring::npos;
}

// Lines as regedit splits them: a carriage return or a line feed ends one.
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return lines;
        start = end + 1;
    }
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
    std::wstring text;
    const std::wstring wideRoot = Widened(root);
    if (wideRoot.empty() || !Decode(bytes, text)) return false;
    const std::vector<std::wstring> lines = Lines(text);
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
