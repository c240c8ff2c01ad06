#include "tweaks/shell_toggles.h"

namespace {

constexpr char kTaskbarClass[] = "Shell_TrayWnd";
constexpr char kButtonClass[] = "Button";
constexpr char kTrayClass[] = "TrayNotifyWnd";
constexpr char kClockClass[] = "TrayClockWClass";
constexpr UINT kScreenSaverRunning = 97;  // SPI_SETSCREENSAVERRUNNING
// Set on the start button while this program keeps it detached.
constexpr char kDetachedMark[] = "QorDetachedStartButton";

}  // namespace

HWND ShellToggles::FindChild(HWND parent, const char* className) {
    return windowing_.FindWindowExA(parent, nullptr, className, nullptr);
}

HWND ShellToggles::Taskbar() { return FindChild(nullptr, kTaskbarClass); }

HWND ShellToggles::Tray() { return FindChild(Taskbar(), kTrayClass); }

void ShellToggles::SetTaskbarHidden(bool hide) { windowing_.ShowWindow(Taskbar(), hide ? SW_HIDE : SW_RESTORE); }

void ShellToggles::SetStartButtonVisible(bool show) {
    HWND taskbar = Taskbar();
    if (!show) {
        HWND button = StartButton(taskbar);
        if (!button)
            return;
        windowing_.ShowWindow(button, SW_HIDE);
        windowing_.SetParent(button, nullptr);
        windowing_.SetMark(button, kDetachedMark);
        return;
    }
    HWND button = DetachedStartButton(taskbar);
    if (!button)
        return;
    windowing_.ShowWindow(button, SW_SHOWNORMAL);
    windowing_.SetParent(button, taskbar);
    windowing_.RemoveMark(button, kDetachedMark);
}

HWND ShellToggles::StartButton(HWND taskbar) {
    const DWORD shellProcess = windowing_.WindowProcessId(taskbar);
    if (shellProcess == 0)
        return nullptr;
    HWND button = FindChild(taskbar, kButtonClass);
    return windowing_.WindowProcessId(button) == shellProcess ? button : nullptr;
}

HWND ShellToggles::DetachedStartButton(HWND taskbar) {
    const DWORD shellProcess = windowing_.WindowProcessId(taskbar);
    if (shellProcess == 0)
        return nullptr;
    HWND desktop = windowing_.GetDesktopWindow();
    HWND candidate = nullptr;
    while ((candidate = windowing_.FindWindowExA(desktop, candidate, kButtonClass, nullptr)))
        if (windowing_.WindowProcessId(candidate) == shellProcess && windowing_.HasMark(candidate, kDetachedMark))
            return candidate;
    return nullptr;
}

void ShellToggles::SetTrayHidden(bool hide) { windowing_.ShowWindow(Tray(), hide ? SW_HIDE : SW_SHOW); }

void ShellToggles::SetClockHidden(bool hide) {
    windowing_.ShowWindow(FindChild(Tray(), kClockClass), hide ? SW_HIDE : SW_SHOW);
}

ElementState ShellToggles::StateOf(HWND window) {
    if (!window)
        return ElementState::NotFound;
    return windowing_.IsShown(window) ? ElementState::Shown : ElementState::Hidden;
}

ElementState ShellToggles::TaskbarState() { return StateOf(Taskbar()); }

ElementState ShellToggles::StartButtonState() {
    HWND taskbar = Taskbar();
    // Detached, the start button leaves a task button first in the taskbar.
    if (DetachedStartButton(taskbar))
        return ElementState::Hidden;
    return StateOf(StartButton(taskbar));
}

ElementState ShellToggles::TrayState() { return StateOf(Tray()); }

ElementState ShellToggles::ClockState() { return StateOf(FindChild(Tray(), kClockClass)); }

void ShellToggles::SetKeyCombosDisabled(bool disable) {
    UINT previous = 0;
    windowing_.SystemParametersInfoA(kScreenSaverRunning, disable ? 1 : 0, &previous, 0);
}
