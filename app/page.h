#pragma once
// What a page of the main window's page control gets from its sheet window.
#include <windows.h>

#include "app/pages.h"

class PageHandler {
public:
    virtual ~PageHandler() = default;
    // Builds the controls of `page` on its sheet; called once per page the handler serves.
    virtual void Create(Page page, const PageContext& context) = 0;
    // A control on the page sent WM_COMMAND.
    virtual void Command(int /*controlId*/, int /*notifyCode*/) {}
    virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
    // WM_CTLCOLOR*: a brush to paint the control with, or nullptr for the default.
    virtual HBRUSH ControlColor(HDC /*dc*/, HWND /*control*/) { return nullptr; }
    virtual void Paint(HDC /*dc*/) {}
    // The sheet's new client size, in device pixels.
    virtual void Resize(int /*width*/, int /*height*/) {}
    // The system announced a change of its settings (WM_SETTINGCHANGE).
    virtual void SettingChanged() {}
};
