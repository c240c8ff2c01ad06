#include "platform/shell.h"

#include <shellapi.h>

namespace platform {
namespace {

// A folder path as the platform reports it, without a trailing backslash.
std::string FolderFrom(UINT(WINAPI* query)(LPSTR, UINT)) {
    const UINT needed = query(nullptr, 0);
    if (needed == 0) return {};
    std::string path(needed, '\0');
    const UINT length = query(path.data(), needed);
    path.resize(length < needed ? length : 0);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

class Win32Shell : public Shell {
public:
    HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand) override {
        return ::ShellExecuteA(owner, verb, file, parameters, directory, showCommand);
    }

    std::string WindowsDirectory() override { return FolderFrom(&::GetWindowsDirectoryA); }
    std::string SystemDirectory() override { return FolderFrom(&::GetSystemDirectoryA); }

    bool StartProgram(const std::string& program, const std::string& commandLine, UINT showCommand) override {
        std::string line = commandLine;  // CreateProcessA may write into it
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    bool IsNtFamily() override { return (GetVersion() & 0x80000000u) == 0; }
};

}  // namespace

Shell& RealShell() {
    static Win32Shell shell;
    return shell;
}

}  // namespace platform
