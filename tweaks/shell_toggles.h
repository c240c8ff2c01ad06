#pragma once
// The direct changes to the running shell: its windows, found by class each
// time, and the system parameter that lets it ignore the key combinations.
#include "platform/windowing.h"

// What an element of the shell is now.
enum class ElementState { Shown, Hidden, NotFound };

class ShellToggles {
public:
    explicit ShellToggles(platform::Windowing& windowing) : windowing_(windowing) {}

    void SetTaskbarHidden(bool hide);
    // Hiding detaches the taskbar's start button; showing puts back only a
    // button that hiding detached.
    void SetStartButtonVisible(bool show);
    void SetTrayHidden(bool hide);
    void SetClockHidden(bool hide);
    // Claims a screen saver is running, which makes the system ignore
    // Ctrl+Alt+Del and Alt+Tab.
    void SetKeyCombosDisabled(bool disable);

    // Each element found as the toggles find it.
    ElementState TaskbarState();
    // Hidden while this program keeps the button detached.
    ElementState StartButtonState();
    ElementState TrayState();
    ElementState ClockState();

private:
    ElementState StateOf(HWND window);
    // Each lookup searches the children of `parent`, or the top-level windows
    // when `parent` is null (as when an earlier lookup found nothing).
    HWND FindChild(HWND parent, const char* className);
    HWND Taskbar();
    HWND Tray();
    // The start button in its place: the taskbar's first "Button" child, of
    // the taskbar's own process. Null without a taskbar.
    HWND StartButton(HWND taskbar);
    // The start button this program detached: a top-level "Button" window of
    // the taskbar's own process carrying this program's mark, so that neither
    // another program's button nor a shell's own top-level button is taken.
    HWND DetachedStartButton(HWND taskbar);

    platform::Windowing& windowing_;
};
