#include "Checks.h"
#include <algorithm>
#include <iterator>
#include <map>
#include "TestSupport.h"

namespace e2e {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void Collect(const std::string& folder, const std::string& relative, std::vector<std::string>& out) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        // A link leads out of the folder (Wine links some of the user's folders into the Linux home).
        if (name == "." || name == ".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Collect(folder + "\\" + name, relative + name + "\\", out);
        else
            out.push_back(relative + name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// A NUL-separated list as the private-profile functions return it.
std::vector<std::string> NulList(const std::vector<char>& buffer, DWORD length) {
    std::vector<std::string> items;
    for (DWORD i = 0; i < length && buffer[i];) {
        std::string item(&buffer[i]);
        i += static_cast<DWORD>(item.size()) + 1;
        items.push_back(item);
    }
    return items;
}

// A log line less its date and time: "[ERROR] message", or an explanation of what is wrong.
bool Message(const std::string& line, const std::string& day, std::string& message) {
    std::string kind;
    std::string rest = line;
    for (const char* prefix : {"[WARNING] ", "[ERROR] "}) {
        if (rest.rfind(prefix, 0) == 0) {
            kind = prefix;
            rest = rest.substr(kind.size());
        }
    }
    const size_t time = rest.find(" : ");
    if (rest.rfind(day + " - ", 0) != 0 || time == std::string::npos) {
        message = "not a line of " + day + ": " + line;
        return false;
    }
    message = kind + rest.substr(time + 3);
    return true;
}

std::string Quote(const std::vector<std::string>& lines, size_t from, size_t count) {
    std::string text;
    for (size_t i = from; i < lines.size() && i < from + count; ++i) text += "\n    " + lines[i];
    return text;
}

}  // namespace

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    Collect(folder, "", files);
    return UpperSorted(files);
}

std::vector<std::string> UpperSorted(std::vector<std::string> paths) {
    for (std::string& path : paths) path = Upper(path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> Added(const std::vector<std::string>& after, const std::vector<std::string>& before) {
    std::vector<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    return added;
}

testing::AssertionResult SameFiles(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    const std::vector<std::string> got = UpperSorted(actual), want = UpperSorted(expected);
    const std::vector<std::string> missing = Added(want, got), extra = Added(got, want);
    if (missing.empty() && extra.empty()) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    if (!missing.empty()) failure << "missing:" << Quote(missing, 0, missing.size()) << "\n";
    if (!extra.empty()) failure << "not expected:" << Quote(extra, 0, extra.size());
    return failure;
}

std::vector<IniSection> IniContents(const std::string& path) {
    std::vector<IniSection> sections;
    std::vector<char> buffer(64 * 1024);
    const DWORD namesLength =
        GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    for (const std::string& name : NulList(buffer, namesLength)) {
        std::vector<char> keys(64 * 1024);
        const DWORD length =
            GetPrivateProfileSectionA(name.c_str(), keys.data(), static_cast<DWORD>(keys.size()), path.c_str());
        IniSection section{name, {}};
        for (const std::string& pair : NulList(keys, length)) {
            const size_t equals = pair.find('=');
            section.second.emplace_back(pair.substr(0, equals),
                                        equals == std::string::npos ? std::string() : pair.substr(equals + 1));
        }
        sections.push_back(section);
    }
    return sections;
}

std::string RegeditExportText(const std::string& path) {
    const std::string bytes = test::ReadFile(path);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return bytes;
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                       static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    std::string text(wide.size() * 2 + 1, '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                      static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::string RegString(HKEY root, const std::string& key, const std::string& name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "";
    char data[2048] = {};
    DWORD size = sizeof(data) - 1, type = 0;
    const LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(data) : std::string();
}

bool RegKeyExists(HKEY root, const std::string& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

std::vector<std::string> FileLines(const std::string& path) {
    const std::string text = test::ReadFile(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> CopiedLines(const std::string& source, const std::string& destination) {
    return {"Copying file: \" " + source + "\" to : \"" + destination + "\"", "File successfully copied"};
}

testing::AssertionResult LogMatches(const std::vector<std::string>& lines, const ExpectedLog& expected,
                                    const std::string& day) {
    std::vector<std::string> got;
    for (const std::string& line : lines) {
        std::string message;
        if (!Message(line, day, message)) return testing::AssertionFailure() << "line " << got.size() << " is " << message;
        got.push_back(message);
    }
    if (got.empty() || got[0] != expected.first)
        return testing::AssertionFailure() << "the first line is" << Quote(got, 0, 1) << "\n  not\n    "
                                           << expected.first;
    std::map<int, std::vector<const ExpectedLog::Group*>> byRank;
    for (const ExpectedLog::Group& group : expected.groups) byRank[group.rank].push_back(&group);
    size_t i = 1;
    for (auto& rank : byRank) {
        std::vector<const ExpectedLog::Group*>& pending = rank.second;
        while (!pending.empty()) {
            auto match = std::find_if(pending.begin(), pending.end(), [&](const ExpectedLog::Group* g) {
                return i < got.size() && got[i] == g->lines.front();
            });
            if (match == pending.end()) {
                std::string wanted;
                for (const ExpectedLog::Group* g : pending) wanted += "\n    " + g->lines.front();
                return testing::AssertionFailure() << "line " << i << " is" << Quote(got, i, 1)
                                                   << "\n  where one of these was due:" << wanted;
            }
            const std::vector<std::string>& want = (*match)->lines;
            for (size_t k = 1; k < want.size(); ++k) {
                if (i + k >= got.size() || got[i + k] != want[k])
                    return testing::AssertionFailure() << "after" << Quote(got, i, 1) << "\n  came"
                                                       << Quote(got, i + k, 1) << "\n  not\n    " << want[k];
            }
            i += want.size();
            pending.erase(match);
        }
    }
    const std::vector<std::string> tail(got.begin() + static_cast<std::ptrdiff_t>(std::min(i, got.size())), got.end());
    if (tail != expected.tail) {
        std::vector<std::string> want = expected.tail;
        return testing::AssertionFailure() << "after the files came" << Quote(tail, 0, tail.size()) << "\n  not"
                                           << Quote(want, 0, want.size());
    }
    return testing::AssertionSuccess();
}

}  // namespace e2e
