#include "platform/shell.h"

#include <shellapi.h>

#include <utility>

#include "platform/system_library.h"

namespace platform {
namespace {

// Windows' ERROR_ELEVATION_REQUIRED, which MinGW's headers lack.
constexpr DWORD kElevationRequired = 740;

// The shell32 function `name`, loaded on first use: start-up does not wait
// for the shell's DLLs.
template <typename F>
F ShellFunction(const char* name) {
    return SystemFunction<F>(LoadSystemLibrary("shell32.dll"), name);
}

// A program whose manifest asks for an administrator's rights, started by an
// administrator whose own process is not elevated, is refused by
// CreateProcess; the shell starts the same file after the system's consent
// prompt. The command line's first word is the program's name.
Process StartAfterConsent(const std::string& program, const std::string& commandLine, const std::string& directory,
                          UINT showCommand) {
    static const auto shellExecuteEx = ShellFunction<decltype(&::ShellExecuteExA)>("ShellExecuteExA");
    const size_t space = commandLine.find(' ');
    const std::string parameters = space == std::string::npos ? "" : commandLine.substr(space + 1);
    SHELLEXECUTEINFOA execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpFile = program.c_str();
    execute.lpParameters = parameters.c_str();
    execute.lpDirectory = directory.c_str();
    execute.nShow = static_cast<int>(showCommand);
    if (!shellExecuteEx || !shellExecuteEx(&execute))
        return Process();
    return Process(execute.hProcess);
}

class Win32Shell : public Shell {
public:
    bool ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                       int showCommand) override {
        static const auto shellExecute = ShellFunction<decltype(&::ShellExecuteA)>("ShellExecuteA");
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
            return GetLastError() == kElevationRequired
                       ? StartAfterConsent(program, commandLine, directory, showCommand)
                       : Process();
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
