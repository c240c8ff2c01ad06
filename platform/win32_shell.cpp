#include "platform/shell.h"

#include <shellapi.h>

#include <utility>

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

    Process StartProgram(const std::string& program, const std::string& commandLine, const std::string& directory,
                         UINT showCommand) override {
        std::string line = commandLine;  // CreateProcessA may write into it
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                            &startup, &process))
            return Process();
        CloseHandle(process.hThread);
        return Process(process.hProcess);
    }
};

}  // namespace

Shell& RealShell() {
    static Win32Shell shell;
    return shell;
}

Process::~Process() {
    if (handle_)
        CloseHandle(handle_);
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

FileHeldWhileRunning::FileHeldWhileRunning(Files& files, HANDLE file, Process program)
    : files_(files), file_(file), program_(std::move(program)) {
    // Without a wait the file stays held until this goes.
    if (!RegisterWaitForSingleObject(&wait_, program_.Get(), &FileHeldWhileRunning::Ended, this, INFINITE,
                                     WT_EXECUTEONLYONCE))
        wait_ = nullptr;
}

FileHeldWhileRunning::~FileHeldWhileRunning() {
    // Returns once a callback already running is over: it only closes a handle.
    if (wait_)
        UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    Release();
}

void CALLBACK FileHeldWhileRunning::Ended(void* self, BOOLEAN) { static_cast<FileHeldWhileRunning*>(self)->Release(); }

void FileHeldWhileRunning::Release() {
    const HANDLE file = file_.exchange(INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE)
        files_.Close(file);
}

}  // namespace platform
