#pragma once
// Shell: starting programs and handing documents and URLs to the shell.
#include <windows.h>

#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // True when the shell opened the file.
    virtual bool ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                               const char* directory, int showCommand) = 0;

    // Starts the program at the full path `program`, handing it `commandLine`
    // as its whole command-line text: no search order decides what runs. It
    // starts in `directory`, inheriting no handle. False when it could not be
    // started.
    virtual bool StartProgram(const std::string& program, const std::string& commandLine, const std::string& directory,
                              UINT showCommand) = 0;
};

Shell& RealShell();

}  // namespace platform
