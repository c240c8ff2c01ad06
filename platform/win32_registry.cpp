#include "platform/registry.h"

namespace platform {
namespace {

class Win32Registry : public Registry {
public:
    HKEY Open(HKEY root, const std::string& path, REGSAM access) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
        return key;
    }

    void Close(HKEY key) override { RegCloseKey(key); }

    DWORD SubkeyCount(HKEY key) override {
        DWORD count = 0;
        if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        return count;
    }

    std::string SubkeyName(HKEY key, DWORD index) override {
        DWORD longest = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
        std::string name(longest + 1, '\0');
        DWORD length = longest + 1;
        if (RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return {};
        name.resize(length);
        return name;
    }

    RegistryValue Read(HKEY key, const std::string& name) override {
        RegistryValue value;
        DWORD size = 0;
        if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            return value;
        value.data.resize(size);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()),
                             &size) != ERROR_SUCCESS)
            return {};
        value.data.resize(size);
        value.exists = true;
        return value;
    }
};

}  // namespace

Registry& RealRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace platform
