#pragma once
// Registry: the few key and value operations the system information page
// reads with. Keys are opened, never created.
#include <windows.h>

#include <memory>
#include <string>

namespace platform {

struct RegistryValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::string data;  // the raw bytes
};

// Tells whether anything under a key changed since the watch began.
class KeyWatch {
public:
    virtual ~KeyWatch() = default;
    virtual bool Changed() = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // The opened key, or nullptr when it does not exist or access is refused.
    virtual HKEY Open(HKEY root, const std::string& path, REGSAM access) = 0;
    virtual void Close(HKEY key) = 0;
    virtual DWORD SubkeyCount(HKEY key) = 0;
    // The name of subkey `index`; empty when there is none at that index.
    virtual std::string SubkeyName(HKEY key, DWORD index) = 0;
    // A missing value, or a read with no key, gives `exists` false.
    virtual RegistryValue Read(HKEY key, const std::string& name) = 0;
    // Watches `path` in `view` (KEY_WOW64_* or 0) and everything below it;
    // nullptr when it cannot be watched. Make it on a thread that outlives it.
    virtual std::unique_ptr<KeyWatch> Watch(HKEY /*root*/, const std::string& /*path*/, REGSAM /*view*/) {
        return nullptr;
    }
};

Registry& RealRegistry();

// An open key, closed through its registry when it goes, also when a read fails.
class RegistryKey {
public:
    explicit RegistryKey(Registry& registry, HKEY key = nullptr) : registry_(registry), key_(key) {}
    RegistryKey(Registry& registry, HKEY root, const std::string& path, REGSAM access)
        : RegistryKey(registry, registry.Open(root, path, access)) {}
    ~RegistryKey() { Reset(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The open key, or nullptr when none is.
    HKEY Get() const { return key_; }
    // Closes the key open now and holds `key` instead.
    void Reset(HKEY key = nullptr) {
        if (key_)
            registry_.Close(key_);
        key_ = key;
    }

private:
    Registry& registry_;
    HKEY key_;
};

}  // namespace platform
