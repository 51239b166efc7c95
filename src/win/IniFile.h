// An INI file read and written through the platform's private-profile functions.
// Every write goes straight to the file, so nothing needs flushing.
#pragma once
#include <string>
#include <vector>

namespace win {

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

private:
    std::string fileName_;
};

}  // namespace win
