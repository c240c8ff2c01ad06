#pragma once
// Stand-ins for the shell's windows, so that the taskbar toggles can be
// watched without a real taskbar.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/windowing.h"

// A small window tree: windows in creation order, each with a class, a parent
// (null: top-level), an owning process and its visibility.
class FakeWindowing : public platform::Windowing {
public:
    struct Window {
        std::string className;
        HWND parent;
        DWORD process;
        bool visible;
    };
    struct ShowCall {
        HWND window;
        int command;
    };
    struct ParameterCall {
        UINT action, param, winIni;
        bool receivesPrevious;
    };

    HWND Add(const std::string& className, HWND parent, DWORD process) {
        windows_.push_back({className, parent, process, true});
        return HandleOf(windows_.size() - 1);
    }
    const Window& operator[](HWND window) const { return windows_[IndexOf(window)]; }

    HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char*) override {
        if (parent == kDesktop)
            parent = nullptr;
        const size_t start = childAfter ? IndexOf(childAfter) + 1 : 0;
        for (size_t i = start; i < windows_.size(); ++i)
            if (windows_[i].parent == parent && windows_[i].className == className)
                return HandleOf(i);
        return nullptr;
    }
    HWND GetDesktopWindow() override { return kDesktop; }
    BOOL ShowWindow(HWND window, int command) override {
        shows.push_back({window, command});
        if (!window)
            return FALSE;
        windows_[IndexOf(window)].visible = command != 0;
        return TRUE;
    }
    HWND SetParent(HWND child, HWND newParent) override {
        reparents.push_back(child);
        if (!child)
            return nullptr;
        windows_[IndexOf(child)].parent = newParent == kDesktop ? nullptr : newParent;
        return nullptr;
    }
    bool IsShown(HWND window) override { return window && windows_[IndexOf(window)].visible; }
    DWORD WindowProcessId(HWND window) override { return window ? windows_[IndexOf(window)].process : 0; }
    BOOL SystemParametersInfoA(UINT action, UINT param, void* pvParam, UINT winIni) override {
        parameters.push_back({action, param, winIni, pvParam != nullptr});
        return TRUE;
    }
    void SetMark(HWND window, const char* name) override { marks_.insert({window, name}); }
    bool HasMark(HWND window, const char* name) override { return marks_.count({window, name}) != 0; }
    void RemoveMark(HWND window, const char* name) override { marks_.erase({window, name}); }

    std::vector<ShowCall> shows;
    std::vector<HWND> reparents;
    std::vector<ParameterCall> parameters;

    static inline HWND const kDesktop = reinterpret_cast<HWND>(0x10);

private:
    static HWND HandleOf(size_t index) { return reinterpret_cast<HWND>(0x100 + index); }
    static size_t IndexOf(HWND window) { return reinterpret_cast<size_t>(window) - 0x100; }

    std::vector<Window> windows_;
    std::set<std::pair<HWND, std::string>> marks_;
};

// Wine's shell as the toggles meet it: a taskbar with the start button and a
// task button, and a tray holding the clock, all of the shell's process.
struct FakeShellWindows {
    static constexpr DWORD kShellProcess = 40;
    explicit FakeShellWindows(FakeWindowing& windowing)
        : taskbar(windowing.Add("Shell_TrayWnd", nullptr, kShellProcess)),
          startButton(windowing.Add("Button", taskbar, kShellProcess)),
          taskButton(windowing.Add("Button", taskbar, kShellProcess)),
          tray(windowing.Add("TrayNotifyWnd", taskbar, kShellProcess)),
          clock(windowing.Add("TrayClockWClass", tray, kShellProcess)) {}
    HWND taskbar, startButton, taskButton, tray, clock;
};
