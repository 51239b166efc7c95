#include "categories/ProfilesIniText.h"
#include <windows.h>
#include <fstream>
#include <iterator>
#include "app/Environment.h"

namespace {

bool StartsWith(const std::string& bytes, const char* mark, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
}

bool Utf16ToWide(const std::string& bytes, bool bigEndian, std::wstring& wide) {
    const size_t body = bytes.size() - 2;
    if (body % 2 != 0) return false;  // a cut-off last character
    wide.resize(body / 2);
    for (size_t i = 0; i < wide.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(bytes[2 + 2 * i]);
        unsigned char b = static_cast<unsigned char>(bytes[3 + 2 * i]);
        wide[i] = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return true;
}

bool Utf8ToWide(const std::string& bytes, std::wstring& wide) {
    const char* text = bytes.data() + 3;
    const int length = static_cast<int>(bytes.size() - 3);
    if (length == 0) {
        wide.clear();
        return true;
    }
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (n <= 0) return false;
    wide.resize(static_cast<size_t>(n));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, &wide[0], n) == n;
}

// Only a text that comes back the same is taken: a best-fit letter ("a" for an a with a macron)
// or a "?" in place of a character would change the text. The check holds for every code page,
// UTF-8 included.
bool WideToAnsi(const std::wstring& wide, std::string& ansi) {
    if (wide.empty()) {
        ansi.clear();
        return true;
    }
    const int length = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    std::string out(static_cast<size_t>(n), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &out[0], n, nullptr, nullptr) != n) return false;
    int back = MultiByteToWideChar(CP_ACP, 0, out.data(), n, nullptr, 0);
    std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back <= 0 || MultiByteToWideChar(CP_ACP, 0, out.data(), n, &again[0], back) != back || again != wide)
        return false;
    ansi = out;
    return true;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = LastDelimiter("\\", path);
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Writes the new text beside the file and then puts it in the file's place, so that a failed
// write leaves the old file whole.
bool ReplaceWith(const std::string& path, const std::string& bytes) {
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), "hk", 0, temp)) return false;
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        written = !out.fail();
    }
    if (written && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp);
    return false;
}

}  // namespace

bool IsProfileSection(const std::string& section, const std::string& path) {
    if (path.empty()) return false;
    const std::string upper = UpperAscii(section);
    return upper != "GENERAL" && upper.compare(0, 7, "INSTALL") != 0;
}

TextEncoding EncodingOf(const std::string& bytes) {
    if (StartsWith(bytes, "\xFF\xFE", 2)) return TextEncoding::Utf16LE;
    if (StartsWith(bytes, "\xFE\xFF", 2)) return TextEncoding::Utf16BE;
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) return TextEncoding::Utf8;
    return TextEncoding::Ansi;
}

bool TextToAnsi(const std::string& bytes, std::string& ansi) {
    std::wstring wide;
    switch (EncodingOf(bytes)) {
        case TextEncoding::Ansi:
            ansi = bytes;
            return true;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            if (!Utf16ToWide(bytes, EncodingOf(bytes) == TextEncoding::Utf16BE, wide)) return false;
            break;
        case TextEncoding::Utf8:
            if (!Utf8ToWide(bytes, wide)) return false;
            break;
    }
    return WideToAnsi(wide, ansi);
}

AnsiResave ResaveAsAnsi(const std::string& path) {
    std::string bytes, ansi;
    if (!ReadBytes(path, bytes)) return AnsiResave::LeftAsItIs;
    if (EncodingOf(bytes) == TextEncoding::Ansi) return AnsiResave::AlreadyAnsi;
    if (!TextToAnsi(bytes, ansi) || !ReplaceWith(path, ansi)) return AnsiResave::LeftAsItIs;
    return AnsiResave::Rewritten;
}
