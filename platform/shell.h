#pragma once
// Shell: starting programs and handing documents and URLs to the shell.
#include <windows.h>

#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    virtual HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                                    const char* directory, int showCommand) = 0;
    virtual UINT WinExec(const char* commandLine, UINT showCommand) = 0;
    // The Windows and system folders, without a trailing backslash.
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
};

Shell& RealShell();

}  // namespace platform
