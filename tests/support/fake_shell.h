#pragma once
// A shell that starts nothing: it records each call as one line of text and
// answers ShellExecuteA with a failure for the files a test names. A program
// it "starts" is an event that runs until EndPrograms.
#include <set>
#include <string>
#include <vector>

#include "platform/shell.h"

class FakeShell : public platform::Shell {
public:
    ~FakeShell() override {
        for (HANDLE program : programs_)
            CloseHandle(program);
    }

    bool ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                       int showCommand) override {
        calls.push_back("ShellExecuteA(" + std::string(owner ? "owner" : "null") + ", " + Quoted(verb) + ", " +
                        Quoted(file) + ", " + Quoted(parameters) + ", " + Quoted(directory) + ", " +
                        std::to_string(showCommand) + ")");
        return missing.count(file ? file : "") == 0;
    }
    platform::Process StartProgram(const std::string& program, const std::string& commandLine,
                                   const std::string& directory, UINT showCommand) override {
        calls.push_back("StartProgram(" + Quoted(program.c_str()) + ", " + Quoted(commandLine.c_str()) + ", " +
                        Quoted(directory.c_str()) + ", " + std::to_string(showCommand) + ")");
        HANDLE running = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE handed = nullptr;
        DuplicateHandle(GetCurrentProcess(), running, GetCurrentProcess(), &handed, 0, FALSE, DUPLICATE_SAME_ACCESS);
        programs_.push_back(running);
        return platform::Process(handed);
    }

    // Every program started so far ends.
    void EndPrograms() {
        for (HANDLE program : programs_)
            SetEvent(program);
    }

    std::vector<std::string> calls;
    std::set<std::string> missing;

private:
    static std::string Quoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

    std::vector<HANDLE> programs_;
};
