#pragma once
// A page's sheet on a hidden top-level window, as the main window hosts it:
// a click on one of the page's controls reaches the handler bound to it.
#include <windows.h>

#include "support/scratch_window.h"
#include "ui/tab_sheet.h"

class ScratchSheet {
public:
    explicit ScratchSheet(PageHandler& page) {
        sheet_.Create(window_.Handle(), 1, true, page);
        SetWindowPos(sheet_.Handle(), nullptr, 0, 0, 800, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ScratchSheet(const ScratchSheet&) = delete;
    ScratchSheet& operator=(const ScratchSheet&) = delete;

    HWND Handle() const { return sheet_.Handle(); }
    // The top-level window, which owns the hint window as the main window does.
    HWND Window() const { return window_.Handle(); }
    PageContext Context(const ui::Dpi& dpi = ui::Dpi(), HFONT font = nullptr) {
        return sheet_.Context(dpi, font, &hints_);
    }
    ui::Hints& Hints() { return hints_; }
    // As the user's click: the control tells its sheet BN_CLICKED (STN_CLICKED for a label).
    void Click(int controlId) {
        SendMessageA(sheet_.Handle(), WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(sheet_.Handle(), controlId)));
    }

private:
    ScratchWindow window_;
    ui::TabSheet sheet_;
    ui::Hints hints_;
};
