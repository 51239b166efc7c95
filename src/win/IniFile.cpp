#include "win/IniFile.h"
#include <windows.h>

namespace win {

namespace {

// The private-profile calls cut an answer that does not fit and say so only by its length:
// a value fills the buffer to size - 1, a list of names to size - 2. The buffer doubles until
// the whole answer fits.
const DWORD kFirstSize = 1024;
const DWORD kLargestSize = 64 * 1024 * 1024;

template <typename Call>
std::string ReadGrowing(Call call, DWORD cutMargin) {
    std::string buf;
    for (DWORD size = kFirstSize;; size *= 2) {
        buf.assign(size, '\0');
        DWORD n = call(&buf[0], size);
        if (n + cutMargin < size || size >= kLargestSize) {
            buf.resize(n < size ? n : size);
            return buf;
        }
    }
}

// A list of names, each ended by a NUL; an empty name ends the list as it does for the platform.
std::vector<std::string> SplitNames(const std::string& list) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start < list.size() && list[start] != '\0') {
        size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string SectionTrim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names as the platform matches them: without regard to letter case.
std::string SectionKey(std::string name) {
    if (!name.empty()) CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

}  // namespace

std::string IniSection::Value(const std::string& key, const std::string& def) const {
    const auto found = first_.find(SectionKey(SectionTrim(key)));
    return found == first_.end() ? def : values_[found->second];
}

IniSection IniFile::ReadSectionValues(const std::string& section) const {
    IniSection read;
    const std::vector<std::string> lines = SplitNames(ReadGrowing(
        [&](char* buf, DWORD size) { return GetPrivateProfileSectionA(section.c_str(), buf, size, fileName_.c_str()); },
        2));
    for (const std::string& line : lines) {
        // A line without "=" has no value, and a comment is no key: neither is listed as a key.
        const size_t equals = line.find('=');
        const std::string key = SectionTrim(line.substr(0, equals));
        if (equals == std::string::npos || key.empty() || key[0] == ';') continue;
        // ReadString takes a value out of the quotes around it.
        std::string value = SectionTrim(line.substr(equals + 1));
        const size_t n = value.size();
        if (n > 1 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0]) value = value.substr(1, n - 2);
        read.first_.emplace(SectionKey(key), read.values_.size());
        read.values_.push_back(std::move(value));
    }
    return read;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    return ReadGrowing(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf, size, fileName_.c_str());
        },
        1);
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str()) != FALSE;
}

std::vector<std::string> IniFile::ReadSections() const {
    return SplitNames(ReadGrowing(
        [&](char* buf, DWORD size) { return GetPrivateProfileSectionNamesA(buf, size, fileName_.c_str()); }, 2));
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    return SplitNames(ReadGrowing(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), nullptr, "", buf, size, fileName_.c_str());
        },
        2));
}

bool IniFile::SectionExists(const std::string& section) const {
    for (const std::string& name : ReadSections())
        if (SameName(name, section)) return true;
    return false;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    for (const std::string& name : ReadSection(section))
        if (SameName(name, key)) return true;
    return false;
}


bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, fileName_.c_str()) != FALSE;
}

}  // namespace win
