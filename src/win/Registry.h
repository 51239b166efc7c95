// Registry keys, closed on scope exit.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "win/Handles.h"

namespace win {

class RegistryKey {
public:
    RegistryKey() = default;
    // Paths are relative to the root; a leading backslash is allowed and ignored.
    // Opens an existing key; false when it is missing or access is refused.
    bool Open(HKEY root, const std::string& path, REGSAM access = KEY_READ);
    // Opens the key, creating it and its missing parents.
    bool Create(HKEY root, const std::string& path, REGSAM access = KEY_READ | KEY_WRITE);
    void Close() { key_.reset(); }
    bool IsOpen() const { return static_cast<bool>(key_); }
    HKEY get() const { return key_.get(); }

    // String (REG_SZ or REG_EXPAND_SZ, not expanded) value; empty when missing.
    // An empty name reads the key's default value.
    std::string ReadString(const std::string& name) const;
    bool ValueExists(const std::string& name) const;
    bool WriteString(const std::string& name, const std::string& value);
    bool WriteExpandString(const std::string& name, const std::string& value);
    std::vector<std::string> SubKeyNames() const;
    std::vector<std::string> ValueNames() const;
    // Whether the open key has a sub-key of that name (or relative path).
    bool HasSubKey(const std::string& name) const;

private:
    UniqueRegKey key_;
};

bool RegistryKeyExists(HKEY root, const std::string& path);

}  // namespace win
