#include "platform/registry.h"

namespace platform {
namespace {

// Registry key names are at most 255 characters.
constexpr DWORD kLongestKeyName = 255;
// Most values fit: one request instead of asking the size first.
constexpr DWORD kUsualValueSize = 512;

class Win32KeyWatch : public KeyWatch {
public:
    Win32KeyWatch(HKEY key, HANDLE changed) : key_(key), changed_(changed) {}
    ~Win32KeyWatch() override {
        RegCloseKey(key_);
        CloseHandle(changed_);
    }
    Win32KeyWatch(const Win32KeyWatch&) = delete;
    Win32KeyWatch& operator=(const Win32KeyWatch&) = delete;
    bool Changed() override { return WaitForSingleObject(changed_, 0) != WAIT_TIMEOUT; }

private:
    HKEY key_;
    HANDLE changed_;
};

class Win32Registry : public Registry {
public:
    HKEY Open(HKEY root, const std::string& path, REGSAM access) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
            return nullptr;
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
        std::string name(kLongestKeyName + 1, '\0');
        DWORD length = kLongestKeyName + 1;
        if (RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return {};
        name.resize(length);
        return name;
    }

    RegistryValue Read(HKEY key, const std::string& name) override {
        RegistryValue value;
        if (!key)
            return value;
        value.data.resize(kUsualValueSize);
        DWORD size = kUsualValueSize;
        LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                                       reinterpret_cast<BYTE*>(value.data.data()), &size);
        if (result == ERROR_MORE_DATA) {
            value.data.resize(size);
            result = RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                                      reinterpret_cast<BYTE*>(value.data.data()), &size);
        }
        if (result != ERROR_SUCCESS)
            return {};
        value.data.resize(size);
        value.exists = true;
        return value;
    }

    std::unique_ptr<KeyWatch> Watch(HKEY root, const std::string& path, REGSAM view) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_NOTIFY | view, &key) != ERROR_SUCCESS)
            return nullptr;
        HANDLE changed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        auto watch = std::make_unique<Win32KeyWatch>(key, changed);
        const DWORD filter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
        if (!changed || RegNotifyChangeKeyValue(key, TRUE, filter, changed, TRUE) != ERROR_SUCCESS)
            return nullptr;
        return watch;
    }
};

}  // namespace

Registry& RealRegistry() {
    // Never destroyed: a worker thread still running at exit may call it.
    static Win32Registry* const registry = new Win32Registry;
    return *registry;
}

}  // namespace platform
