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
    // The Windows and system folders, without a trailing backslash.
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;

    // Starts the program at the full path `program`, handing it `commandLine`
    // as its whole command-line text: no search order decides what runs.
    // False when it could not be started.
    virtual bool StartProgram(const std::string& program, const std::string& commandLine, UINT showCommand) = 0;
    // True on Windows NT and its successors, false on the Windows 9x family.
    virtual bool IsNtFamily() = 0;
};

Shell& RealShell();

}  // namespace platform
