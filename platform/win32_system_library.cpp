#include "platform/system_library.h"

#include <string>

namespace platform {

HMODULE LoadSystemLibrary(const char* fileName) {
    const UINT length = GetSystemDirectoryA(nullptr, 0);
    if (length == 0)
        return nullptr;
    std::string path(length, '\0');
    path.resize(GetSystemDirectoryA(path.data(), length));
    path += '\\';
    path += fileName;
    // The full path already rules out other folders; the flag keeps the
    // DLL's own dependencies to the system folder too.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace platform
