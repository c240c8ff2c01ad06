#pragma once
// A key of this test program's own under HKEY_CURRENT_USER that stands in for
// HKEY_LOCAL_MACHINE: the page under test reads its usual paths, and this
// registry layer opens them below the scratch key. Test programs that run at
// the same time then never share a value, and the prefix's real keys stay as
// they were.
#include <windows.h>

#include <string>

#include "platform/registry.h"

class ScratchRegistry : public platform::Registry {
public:
    ScratchRegistry() : path_("Software\\QorTest-" + std::to_string(GetCurrentProcessId())) {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr);
    }
    ~ScratchRegistry() override {
        RegCloseKey(root_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // The scratch key, as the root to write the test's keys under.
    HKEY Root() const { return root_; }

    HKEY Open(HKEY root, const std::string& path, REGSAM access) override {
        return real_.Open(root == HKEY_LOCAL_MACHINE ? root_ : root, path, access);
    }
    void Close(HKEY key) override { real_.Close(key); }
    DWORD SubkeyCount(HKEY key) override { return real_.SubkeyCount(key); }
    std::string SubkeyName(HKEY key, DWORD index) override { return real_.SubkeyName(key, index); }
    platform::RegistryValue Read(HKEY key, const std::string& name) override { return real_.Read(key, name); }
    std::unique_ptr<platform::KeyWatch> Watch(HKEY root, const std::string& path, REGSAM view) override {
        return real_.Watch(root == HKEY_LOCAL_MACHINE ? root_ : root, path, view);
    }

private:
    std::string path_;
    HKEY root_ = nullptr;
    platform::Registry& real_ = platform::RealRegistry();
};
