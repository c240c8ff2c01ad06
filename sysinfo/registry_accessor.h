#pragma once
// A registry accessor: a root key and at most one open key, closed when the
// accessor goes, also when a read fails.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry.h"

class RegistryAccessor {
public:
    // `view` (KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0 for the program's own)
    // is the registry view every key is opened in.
    RegistryAccessor(platform::Registry& registry, HKEY root, REGSAM view = 0)
        : registry_(registry), root_(root), view_(view), key_(registry) {}
    RegistryAccessor(const RegistryAccessor&) = delete;
    RegistryAccessor& operator=(const RegistryAccessor&) = delete;

    // Opens `path` under the root with `access`, never creating it; closes
    // the key open before. False when it cannot be opened.
    bool OpenKey(const std::string& path, REGSAM access);
    // Tries read, then the narrower masks a restricted key may still grant.
    bool OpenKeyReadOnly(const std::string& path);
    void CloseKey() { key_.Reset(); }
    // The open key, or nullptr: a root for another accessor's relative paths.
    HKEY OpenedKey() const { return key_.Get(); }
    // How many subkeys the open key reports, or 0 without one.
    DWORD KeyCount();
    // A missing or zero-length value, or no open key, reads as "". A value
    // that is not a string throws "Invalid data type for '<name>'".
    std::string ReadString(const std::string& name);
    // Whether the open key has the value `name`.
    bool ValueExists(const std::string& name);

private:
    platform::Registry& registry_;
    HKEY root_;
    REGSAM view_;
    platform::RegistryKey key_;
};
