#pragma once
// What a page of the main window's page control is: the pages it may be, what
// it gets to build its controls, and the messages its sheet window hands it.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "ui/controls.h"

// The ten pages of the main window, in tab order.
enum class Page {
    WinIni,
    SystemIni,
    BootIni,
    ControlIni,
    AutoexecBat,
    ConfigSys,
    RegistrySettings,
    ControlPanel,
    SystemInfo,
    About
};

// The click handlers of one page's controls, each bound when its control is
// made; the page's sheet runs them. A button's BN_CLICKED and a label's
// STN_CLICKED are the same notification.
class ClickHandlers {
public:
    void Bind(int controlId, std::function<void()> handler) { handlers_.emplace_back(controlId, std::move(handler)); }
    // Runs the handler bound to `controlId`; false when there is none.
    bool Run(int controlId) const;

private:
    std::vector<std::pair<int, std::function<void()>>> handlers_;
};

// What a page needs to build its controls.
struct PageContext {
    HWND sheet;  // the page's own window; controls are its children
    ui::Dpi dpi;
    HFONT font;             // the window's font, "MS Sans Serif" 8
    ui::Hints* hints;       // where buttons register their hints
    ClickHandlers* clicks;  // where controls bind their click handlers
};

class PageHandler {
public:
    virtual ~PageHandler() = default;
    // Builds the controls of `page` on its sheet; called once per page the handler serves.
    virtual void Create(Page page, const PageContext& context) = 0;
    // Builds the controls of `page` its first paint can do without. Called
    // right after Create, but for the page the window opens on only once the
    // window has shown, before any key or click.
    virtual void CreateRest(Page /*page*/, const PageContext& /*context*/) {}
    // The user brought `page` to the front.
    virtual void Activate(Page /*page*/) {}
    virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
    // WM_CTLCOLOR*: a brush to paint the control with, or nullptr for the default.
    virtual HBRUSH ControlColor(HDC /*dc*/, HWND /*control*/) { return nullptr; }
    virtual void Paint(HDC /*dc*/) {}
    // The sheet's new client size, in device pixels.
    virtual void Resize(int /*width*/, int /*height*/) {}
    // The window now shows at `context.dpi`, with `context.font` made for it:
    // the controls of `page` take the places, sizes, fonts and pictures they
    // have when made at that DPI. A Resize follows.
    virtual void ChangeDpi(Page /*page*/, const PageContext& /*context*/) {}
    // The system announced a change of its settings (WM_SETTINGCHANGE).
    virtual void SettingChanged() {}
    // A timer the page set on its sheet went off.
    virtual void Timer(UINT_PTR /*timerId*/) {}
    // A message of the page's own (WM_APP and above) reached its sheet,
    // posted there by one of the page's threads.
    virtual void Posted(UINT /*message*/) {}
    // Whether work the page started runs on: the pointer shows it over the page.
    virtual bool Busy() { return false; }
};

// A sheet's client size in design pixels, under one row of tabs.
constexpr int kSheetWidth = 794;
constexpr int kSheetHeight = 424;
// What a sheet of `width` by `height` device pixels lacks of its design
// size at `dpi`, in device pixels, each at least 0: the page's editors and
// lists give up that much.
SIZE SheetShortfall(int width, int height, const ui::Dpi& dpi);

// The pointer takes the look its window gives it now, as if it had moved:
// for a page whose Busy changed.
void RefreshPointer();

// One push button of a page's design table: ButtonN, its caption and place,
// its hint, and the handler of `PageT` its click runs. A hint that is only
// stored, not shown, is kept in the row all the same.
template <typename PageT>
struct ButtonRow {
    int button;
    const char* caption;
    ui::Rect bounds;
    const char* hint = nullptr;
    void (PageT::*onClick)() = nullptr;
    bool hintShown = true;
    bool visible = true;
};

struct PageButtonArgs {
    int button;
    const char* caption;
    ui::Rect bounds;
    const char* hint = nullptr;
    bool visible = true;
};

// Creates the page's push button ButtonN and binds `onClick` to it; a hint,
// when given, shows while the pointer rests on it.
ui::Button CreatePageButton(const PageContext& context, const PageButtonArgs& args, std::function<void()> onClick);

// The button of `row`, its click bound to `page`'s handler.
template <typename PageT>
ui::Button CreatePageButton(const PageContext& context, const ButtonRow<PageT>& row, PageT& page) {
    return CreatePageButton(context,
                            {.button = row.button,
                             .caption = row.caption,
                             .bounds = row.bounds,
                             .hint = row.hintShown ? row.hint : nullptr,
                             .visible = row.visible},
                            [&page, onClick = row.onClick] { (page.*onClick)(); });
}
