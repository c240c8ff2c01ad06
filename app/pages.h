#pragma once
// The ten pages of the main window, in tab order.
#include <windows.h>

#include <cstddef>

#include "app/controls.h"

enum class Page { WinIni, SystemIni, BootIni, ControlIni, AutoexecBat, ConfigSys, RegistrySettings, ControlPanel, SystemInfo, About };

struct PageRow {
    Page page;
    int tabSheet;  // the designer's number: TabSheet1 ... TabSheet10
    const char* caption;
};

constexpr PageRow kPages[] = {
    {Page::WinIni, 1, "WINI.INI"},
    {Page::SystemIni, 2, "SYSTEM.INI"},
    {Page::BootIni, 3, "BOOT.INI"},
    {Page::ControlIni, 8, "CONTROL.INI"},
    {Page::AutoexecBat, 4, "AUTOEXEC.BAT"},
    {Page::ConfigSys, 5, "CONFIG.SYS"},
    {Page::RegistrySettings, 6, "REGISTRY SETTINGS"},
    {Page::ControlPanel, 9, "CONTROL PANEL"},
    {Page::SystemInfo, 10, "SYSTEM INFO"},
    {Page::About, 7, "ABOUT"},
};
constexpr size_t kPageCount = sizeof(kPages) / sizeof(kPages[0]);

// What a page needs to build its controls.
struct PageContext {
    HWND sheet;         // the page's own window; controls are its children
    ui::Dpi dpi;
    HFONT font;         // the window's font, "MS Sans Serif" 8
    ui::Hints* hints;   // where buttons register their hints
};
