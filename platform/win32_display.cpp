#include "platform/display.h"

#include "platform/system_library.h"

namespace platform {
namespace {

// MDT_EFFECTIVE_DPI of shellscalingapi.h, which MinGW's headers may lack.
constexpr int kEffectiveDpi = 0;
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

class Win32Display : public Display {
public:
    // Looked up at run time: imported, they would keep the program from
    // starting on Windows 7 and 8.
    Win32Display()
        : getDpiForWindow_(SystemFunction<GetDpiForWindowFunction>(LoadSystemLibrary("user32.dll"), "GetDpiForWindow")),
          getDpiForMonitor_(
              SystemFunction<GetDpiForMonitorFunction>(LoadSystemLibrary("shcore.dll"), "GetDpiForMonitor")) {}

    int WindowDpi(HWND window) override {
        const UINT dpi = getDpiForWindow_ && window ? getDpiForWindow_(window) : 0;
        return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
    }

    int MonitorDpi(const RECT& area) override {
        UINT x = 0, y = 0;
        if (getDpiForMonitor_ &&
            SUCCEEDED(getDpiForMonitor_(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
            y > 0)
            return static_cast<int>(y);
        return SystemDpi();
    }

    RECT WorkArea(const RECT& area) override {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info))
            return info.rcWork;
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }

private:
    GetDpiForWindowFunction getDpiForWindow_;
    GetDpiForMonitorFunction getDpiForMonitor_;
};

}  // namespace

Display& RealDisplay() {
    static Win32Display display;
    return display;
}

}  // namespace platform
