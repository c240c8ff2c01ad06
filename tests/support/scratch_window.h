#pragma once
// A hidden top-level window to put controls on in tests of page logic.
#include <windows.h>

class ScratchWindow {
public:
    ScratchWindow()
        : hwnd_(CreateWindowExA(0, "STATIC", "scratch", WS_OVERLAPPEDWINDOW, 0, 0, 800, 480, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
    ~ScratchWindow() { DestroyWindow(hwnd_); }
    ScratchWindow(const ScratchWindow&) = delete;
    ScratchWindow& operator=(const ScratchWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};
