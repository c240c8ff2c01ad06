#pragma once
// Shell: starting programs and handing documents and URLs to the shell.
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/files.h"

namespace platform {

// A started program's process handle, closed when it goes; empty when the
// program did not start.
class Process {
public:
    Process() = default;
    explicit Process(HANDLE handle) : handle_(handle) {}
    ~Process();
    Process(Process&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

class Shell {
public:
    virtual ~Shell() = default;
    // True when the shell opened the file.
    virtual bool ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                               const char* directory, int showCommand) = 0;

    // Starts the program at the full path `program`, handing it `commandLine`
    // as its whole command-line text: no search order decides what runs. It
    // starts in `directory`, inheriting no handle. An empty process when it
    // could not be started.
    virtual Process StartProgram(const std::string& program, const std::string& commandLine,
                                 const std::string& directory, UINT showCommand) = 0;
};

Shell& RealShell();

// Keeps a file of `files` open while a program runs: closes it once the
// program has ended, from the system's thread pool, so that no thread of the
// caller waits for it; or when this goes, if that comes first.
class FileHeldWhileRunning {
public:
    FileHeldWhileRunning(Files& files, HANDLE file, Process program);
    ~FileHeldWhileRunning();
    FileHeldWhileRunning(const FileHeldWhileRunning&) = delete;
    FileHeldWhileRunning& operator=(const FileHeldWhileRunning&) = delete;

private:
    static void CALLBACK Ended(void* self, BOOLEAN timedOut);
    // Closes the file the first time only, whichever thread comes first.
    void Release();

    Files& files_;
    std::atomic<HANDLE> file_;
    Process program_;
    HANDLE wait_ = nullptr;
};

}  // namespace platform
