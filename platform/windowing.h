#pragma once
// Windowing: the calls the shell toggles make on the shell's own windows.
#include <windows.h>

namespace platform {

class Windowing {
public:
    virtual ~Windowing() = default;
    virtual HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* title) = 0;
    virtual HWND GetDesktopWindow() = 0;
    virtual BOOL ShowWindow(HWND window, int command) = 0;
    virtual HWND SetParent(HWND child, HWND newParent) = 0;
    // Whether the window itself is set visible, whatever its parents are.
    virtual bool IsShown(HWND window) = 0;
    // Process id that owns the window, 0 when there is none.
    virtual DWORD WindowProcessId(HWND window) = 0;
    virtual BOOL SystemParametersInfoA(UINT action, UINT param, void* pvParam, UINT winIni) = 0;
    // Named marks on a window, also on another program's.
    virtual void SetMark(HWND window, const char* name) = 0;
    virtual bool HasMark(HWND window, const char* name) = 0;
    virtual void RemoveMark(HWND window, const char* name) = 0;
};

Windowing& RealWindowing();

}  // namespace platform
