// An INI file read and written through the platform's private-profile functions.
// Every write goes straight to the file, so nothing needs flushing.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

namespace win {

// One section of an INI file with its values, read in one call. The platform reads the whole
// file for every value it is asked for: a section of many keys is read this way once.
class IniSection {
public:
    // The value of the first key of that name, letter case ignored, as ReadString gives it; def
    // when the section has no such key.
    std::string Value(const std::string& key, const std::string& def) const;
    // The number of keys, as ReadSection lists them.
    size_t KeyCount() const { return values_.size(); }

private:
    friend class IniFile;
    std::vector<std::string> values_;                // of each key, in file order
    std::unordered_map<std::string, size_t> first_;  // a key in capitals -> its first value
};

class IniFile {
public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // The value, or def when the file, the section or the key is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // False when the platform could not write (a missing folder, no access).
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Section names in file order.
    std::vector<std::string> ReadSections() const;
    // Key names of a section in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // A section is there when the file lists it, with or without keys.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    bool DeleteKey(const std::string& section, const std::string& key);
    // A whole section with its values (empty when the file or the section is missing).
    IniSection ReadSectionValues(const std::string& section) const;

private:
    std::string fileName_;
};

}  // namespace win
