#pragma once
// Loads a DLL from the system folder only, so that a file of the same name
// beside the program or in the working folder is never picked up.
#include <windows.h>

namespace platform {

// The module, or nullptr when it cannot be loaded. It stays loaded.
HMODULE LoadSystemLibrary(const char* fileName);

// The export `name` of `module` as a function pointer of type F, or nullptr.
template <typename F>
F SystemFunction(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
