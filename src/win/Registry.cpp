#include "win/Registry.h"

namespace win {

namespace {

// "\Software\..." names the same key as "Software\..."; the registry itself refuses the first.
const char* RelativePath(const std::string& path) {
    return (!path.empty() && path[0] == '\\') ? path.c_str() + 1 : path.c_str();
}

bool WriteText(HKEY key, const std::string& name, const std::string& value, DWORD type) {
    if (!key) return false;
    return RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Enumerates names by index, growing the buffer when one does not fit.
template <typename Call>
std::vector<std::string> EnumerateNames(Call call) {
    std::vector<std::string> names;
    std::string buf(256, '\0');
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buf.size());
        LONG rc = call(index, &buf[0], &length);
        if (rc == ERROR_MORE_DATA && buf.size() < 65536) {
            buf.assign(buf.size() * 2, '\0');
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buf.c_str(), length < buf.size() ? length : buf.size());
        ++index;
    }
    return names;
}

}  // namespace

bool RegistryKey::Open(HKEY root, const std::string& path, REGSAM access) {
    Close();
    return RegOpenKeyExA(root, RelativePath(path), 0, access, key_.put()) == ERROR_SUCCESS;
}

bool RegistryKey::Create(HKEY root, const std::string& path, REGSAM access) {
    Close();
    return RegCreateKeyExA(root, RelativePath(path), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                           key_.put(), nullptr) == ERROR_SUCCESS;
}

std::string RegistryKey::ReadString(const std::string& name) const {
    if (!key_) return "";
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    for (;;) {
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return "";
        // One byte more than asked, so that data stored without its NUL still ends in one.
        std::string buf(size + 1, '\0');
        DWORD got = size;
        rc = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &got);
        if (rc == ERROR_MORE_DATA) {
            // The value grew since its size was asked.
            size = got;
            continue;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return "";
        buf.resize(got < size ? got : size);
        size_t nul = buf.find('\0');
        if (nul != std::string::npos) buf.resize(nul);
        return buf;
    }
}

bool RegistryKey::ValueExists(const std::string& name) const {
    if (!key_) return false;
    return RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::WriteString(const std::string& name, const std::string& value) {
    return WriteText(key_.get(), name, value, REG_SZ);
}

bool RegistryKey::WriteExpandString(const std::string& name, const std::string& value) {
    return WriteText(key_.get(), name, value, REG_EXPAND_SZ);
}

std::vector<std::string> RegistryKey::SubKeyNames() const {
    if (!key_) return {};
    HKEY key = key_.get();
    return EnumerateNames([key](DWORD index, char* buf, DWORD* length) {
        return RegEnumKeyExA(key, index, buf, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> RegistryKey::ValueNames() const {
    if (!key_) return {};
    HKEY key = key_.get();
    return EnumerateNames([key](DWORD index, char* buf, DWORD* length) {
        return RegEnumValueA(key, index, buf, length, nullptr, nullptr, nullptr, nullptr);
    });
}

bool RegistryKey::HasSubKey(const std::string& name) const {
    if (!key_) return false;
    RegistryKey sub;
    return sub.Open(key_.get(), name, KEY_QUERY_VALUE);
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
    RegistryKey key;
    return key.Open(root, path, KEY_QUERY_VALUE);
}

}  // namespace win
