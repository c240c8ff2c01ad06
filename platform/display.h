#pragma once
// The screens the windows show on: their scale and their work areas. The
// per-monitor calls are Windows 10's and 8.1's; on older systems every
// window shows at the system's DPI.
#include <windows.h>

namespace platform {

class Display {
public:
    virtual ~Display() = default;
    // The DPI `window` is laid out for: its monitor's, or the system's.
    virtual int WindowDpi(HWND window) = 0;
    // The DPI of the monitor that `area` lies on most, or nearest to.
    virtual int MonitorDpi(const RECT& area) = 0;
    // The work area of that monitor: the screen without the taskbar.
    virtual RECT WorkArea(const RECT& area) = 0;
};

Display& RealDisplay();

}  // namespace platform
