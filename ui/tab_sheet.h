#pragma once
// The window of one page of the page control: its controls' messages go to
// the page's handler.
#include "ui/base_window.h"
#include "ui/page.h"

namespace ui {

class TabSheet : public BaseWindow<TabSheet> {
public:
    // Creates the sheet on `parent`, shown or hidden, for `handler`.
    void Create(HWND parent, int id, bool visible, PageHandler& handler);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What the page's handler builds its controls on this sheet with.
    PageContext Context(const Dpi& dpi, HFONT font, Hints* hints) { return {hwnd_, dpi, font, hints, &clicks_}; }

private:
    PageHandler* handler_ = nullptr;
    ClickHandlers clicks_;
};

}  // namespace ui
