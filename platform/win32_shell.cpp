#include "platform/shell.h"

#include <shellapi.h>

#include "platform/system_library.h"

namespace platform {
namespace {

class Win32Shell : public Shell {
public:
    bool ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                       int showCommand) override {
        // Loaded on first use: start-up does not wait for the shell's DLLs.
        static const auto shellExecute =
            SystemFunction<decltype(&::ShellExecuteA)>(LoadSystemLibrary("shell32.dll"), "ShellExecuteA");
        if (!shellExecute)
            return false;
        // The shell reports success with a value above 32.
        return reinterpret_cast<INT_PTR>(shellExecute(owner, verb, file, parameters, directory, showCommand)) > 32;
    }

    bool StartProgram(const std::string& program, const std::string& commandLine, const std::string& directory,
                      UINT showCommand) override {
        std::string line = commandLine;  // CreateProcessA may write into it
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                            &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

}  // namespace

Shell& RealShell() {
    static Win32Shell shell;
    return shell;
}

}  // namespace platform
