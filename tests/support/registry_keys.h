#pragma once
// Puts keys and values under HKEY_LOCAL_MACHINE of the test prefix, or under
// another root such as a ScratchRegistry's, or into a named hive and view.
#include <windows.h>

#include <string>

namespace registry_keys {

inline const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

inline void SetString(const std::string& path, const std::string& name, const std::string& value,
                      HKEY root = HKEY_LOCAL_MACHINE) {
    RegSetKeyValueA(root, path.c_str(), name.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
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

// A root and registry view: HKEY_LOCAL_MACHINE of 64-bit or 32-bit programs,
// or the user's HKEY_CURRENT_USER.
struct Hive {
    HKEY root;
    REGSAM view;
};
inline const Hive kMachine64{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};
inline const Hive kMachine32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
inline const Hive kUser{HKEY_CURRENT_USER, 0};

inline void SetString(const Hive& hive, const std::string& path, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(hive.root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | hive.view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

inline void DeleteTree(const Hive& hive, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(hive.root, path.c_str(), 0, KEY_ALL_ACCESS | hive.view, &key) != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(hive.root, path.c_str(), hive.view, 0);
}

}  // namespace registry_keys
