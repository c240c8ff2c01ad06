#include "platform/console.h"

#include <string>

namespace platform {
namespace {

bool IsUsable(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

// The handle of `stream`: the one inherited, or else the console of the
// process that started this one, if it has one.
HANDLE HandleOf(StandardStream stream) {
    const DWORD id = stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    if (HANDLE inherited = GetStdHandle(id); IsUsable(inherited))
        return inherited;
    static const HANDLE parentConsole = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return INVALID_HANDLE_VALUE;
        return CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return parentConsole;
}

bool WriteBytes(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A console shows characters, whatever its own code page.
bool WriteCharacters(HANDLE handle, std::string_view text, UINT codePage) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    DWORD written = 0;
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
           written == wide.size();
}

class Win32Console : public Console {
public:
    bool Write(StandardStream stream, std::string_view text, UINT codePage) override {
        HANDLE handle = HandleOf(stream);
        if (!IsUsable(handle))
            return false;
        DWORD mode = 0;
        if (GetConsoleMode(handle, &mode))
            return WriteCharacters(handle, text, codePage);
        return WriteBytes(handle, text);
    }
};

}  // namespace

Console& RealConsole() {
    static Win32Console console;
    return console;
}

}  // namespace platform
