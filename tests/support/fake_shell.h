#pragma once
// A shell that starts nothing: it records each call as one line of text and
// answers ShellExecuteA with "file not found" for the files a test names.
#include <set>
#include <string>
#include <vector>

#include "platform/shell.h"

class FakeShell : public platform::Shell {
public:
    HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand) override {
        calls.push_back("ShellExecuteA(" + std::string(owner ? "owner" : "null") + ", " + Quoted(verb) + ", " +
                        Quoted(file) + ", " + Quoted(parameters) + ", " + Quoted(directory) + ", " +
                        std::to_string(showCommand) + ")");
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(missing.count(file ? file : "") ? 2 : 42));
    }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::string SystemDirectory() override { return "C:\\WINDOWS\\SYSTEM"; }
    bool StartProgram(const std::string& program, const std::string& commandLine, UINT showCommand) override {
        calls.push_back("StartProgram(" + Quoted(program.c_str()) + ", " + Quoted(commandLine.c_str()) + ", " +
                        std::to_string(showCommand) + ")");
        return true;
    }
    bool IsNtFamily() override { return ntFamily; }

    std::vector<std::string> calls;
    std::set<std::string> missing;
    bool ntFamily = false;

private:
    static std::string Quoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }
};
