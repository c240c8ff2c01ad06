#include "platform/windowing.h"

namespace platform {
namespace {

class Win32Windowing : public Windowing {
public:
    HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* title) override {
        return ::FindWindowExA(parent, childAfter, className, title);
    }

    HWND GetDesktopWindow() override { return ::GetDesktopWindow(); }

    BOOL ShowWindow(HWND window, int command) override { return ::ShowWindow(window, command); }

    HWND SetParent(HWND child, HWND newParent) override { return ::SetParent(child, newParent); }

    bool IsShown(HWND window) override { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

    DWORD WindowProcessId(HWND window) override {
        DWORD process = 0;
        if (window)
            GetWindowThreadProcessId(window, &process);
        return process;
    }

    BOOL SystemParametersInfoA(UINT action, UINT param, void* pvParam, UINT winIni) override {
        return ::SystemParametersInfoA(action, param, pvParam, winIni);
    }

    void SetMark(HWND window, const char* name) override { SetPropA(window, name, reinterpret_cast<HANDLE>(1)); }

    bool HasMark(HWND window, const char* name) override { return GetPropA(window, name) != nullptr; }

    void RemoveMark(HWND window, const char* name) override { RemovePropA(window, name); }
};

}  // namespace

Windowing& RealWindowing() {
    static Win32Windowing windowing;
    return windowing;
}

}  // namespace platform
