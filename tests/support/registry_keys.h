#pragma once
// Puts keys and values under HKEY_LOCAL_MACHINE of the test prefix, or under
// another root such as a ScratchRegistry's.
#include <windows.h>

#include <string>

namespace registry_keys {

inline const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

inline void SetString(const std::string& path, const std::string& name, const std::string& value,
                      HKEY root = HKEY_LOCAL_MACHINE) {
    RegSetKeyValueA(root, path.c_str(), name.c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

inline void SetDword(const std::string& path, const std::string& name, DWORD value, HKEY root = HKEY_LOCAL_MACHINE) {
    RegSetKeyValueA(root, path.c_str(), name.c_str(), REG_DWORD, &value, sizeof(value));
}

inline void CreateKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

inline void DeleteValue(const std::string& path, const std::string& name, HKEY root = HKEY_LOCAL_MACHINE) {
    RegDeleteKeyValueA(root, path.c_str(), name.c_str());
}

inline void DeleteTree(const std::string& path, HKEY root = HKEY_LOCAL_MACHINE) { RegDeleteTreeA(root, path.c_str()); }

}  // namespace registry_keys
