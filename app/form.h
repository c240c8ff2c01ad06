#pragma once
// The main window: the page control with its ten pages.
#include <windows.h>

#include <array>
#include <deque>
#include <functional>

#include "about/about_page.h"
#include "platform/display.h"
#include "app/editor_find.h"
#include "launcher/launcher_page.h"
#include "sysfiles/sysfile_pages.h"
#include "sysinfo/sysinfo_page.h"
#include "tweaks/tweaks_page.h"
#include "ui/base_window.h"
#include "ui/controls.h"
#include "ui/tab_sheet.h"

class TForm1 : public ui::BaseWindow<TForm1> {
public:
    explicit TForm1(platform::Display& display = platform::RealDisplay());
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creates the window and its first page, loads WIN.INI and shows the
    // window; the toggles and the first-run check follow before any input.
    void Create(int showCommand);
    // Keyboard navigation for a message about to be dispatched; true when handled.
    bool PreTranslateMessage(MSG& message);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void Pagecontrol1Change();

private:
    // One page of the page control: the designer's TabSheet number, its tab's
    // caption, and the handler that builds and serves it.
    struct PageRow {
        Page page;
        int tabSheet;
        const char* caption;
        PageHandler* handler;
    };
    static constexpr size_t kPageCount = 10;

    // Where the window opens: its design place and size at the DPI of the
    // monitor there, inside that monitor's work area.
    RECT FirstRectangle();
    void CreatePages();
    // The tab row in the window's font, padded as at its DPI, then fitted to the window.
    void FitTabs();
    // WM_DPICHANGED: the window takes `suggested` and every page built so
    // far is laid out again at `dpi`.
    void ChangeDpi(int dpi, const RECT& suggested);
    // The title bar's and the task switcher's icons at the window's DPI.
    void SetIcons();
    // FormCreate's last steps, once the REGISTRY SETTINGS page is whole: the
    // remembered toggles, then the first-run check.
    void RestoreToggles();
    size_t IndexOf(Page page) const;
    // Builds what of the page at `index` does not exist yet: its sheet, the rest of its controls.
    void BuildPage(size_t index);
    // The sheet of the page at `index` and the controls its first paint needs, unless made already.
    void BuildSheet(size_t index);
    // The controls of the page at `index` its first paint can do without, once its sheet exists.
    void BuildRestOfPage(size_t index);
    PageContext ContextOf(size_t index);
    // Tells the page at `index` its sheet's size.
    void ResizePage(size_t index);
    // Queues the steps that build the pages after the first, half a page each.
    void QueuePageBuilding();
    // Runs the first start-up step queued and asks for the next.
    void RunNextStartUpStep();
    void LayoutPages();
    void PlaceSheet(HWND sheet) const;
    void ShowActiveSheet();
    size_t ActiveIndex() const;
    void SelectPage(size_t index);
    // Keys the dialog manager would get wrong on this window; true when handled.
    bool HandleKey(WPARAM key);
    bool IsSheet(HWND window) const;
    // The editor of the page in front, or nullptr when it has none.
    HWND ActiveEditor();

    platform::Display& display_;
    ui::Dpi dpi_;
    ui::Font font_;
    ui::Icon bigIcon_, smallIcon_;
    ui::Window pageControl1_;
    SIZE laidOutSize_{};  // the client size the pages were last laid out for
    ui::Hints hints_;
    std::array<ui::TabSheet, kPageCount> sheets_;  // made when their page is built
    std::array<bool, kPageCount> built_{};         // the rest of the page's controls made too
    size_t shownSheet_ = 0;
    // What start-up leaves until the window shows, in short steps, one per
    // posted message, in order.
    std::deque<std::function<void()>> startUpSteps_;

    SysFilePages sysFiles_;
    TweaksPage tweaks_;
    LauncherPage launcher_;
    SysInfoPage sysInfo_;
    AboutPage about_;
    const std::array<PageRow, kPageCount> pages_;
    EditorFind find_;
};
