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

private:
    PageHandler* handler_ = nullptr;
};

}  // namespace ui
