#pragma once
// The main window: the page control with its ten pages.
#include <windows.h>

#include <array>

#include "about/about_page.h"
#include "app/controls.h"
#include "app/pages.h"
#include "launcher/launcher_page.h"
#include "sysfiles/sysfile_pages.h"
#include "sysinfo/sysinfo_page.h"
#include "tweaks/tweaks_page.h"

class TForm1 {
public:
    TForm1();
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creates the window and its pages, runs FormCreate and shows the window.
    void Create(int showCommand);
    HWND Handle() const { return hwnd_; }
    // Keyboard navigation for a message about to be dispatched; true when handled.
    bool PreTranslateMessage(MSG& message);

    void FormCreate();
    void Pagecontrol1Change();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreatePages();
    PageHandler& HandlerOf(Page page);
    void LayoutPages();
    void ShowActiveSheet();
    Page ActivePage() const;
    void SelectPage(size_t index);
    // Keys the dialog manager would get wrong on this window; true when handled.
    bool HandleKey(WPARAM key);
    bool IsSheet(HWND window) const;

    HWND hwnd_ = nullptr;
    ui::Dpi dpi_;
    HFONT font_ = nullptr;
    ui::Window pageControl1_;
    ui::Hints hints_;
    std::array<HWND, kPageCount> sheets_{};
    size_t shownSheet_ = 0;

    SysFilePages sysFiles_;
    TweaksPage tweaks_;
    LauncherPage launcher_;
    SysInfoPage sysInfo_;
    AboutPage about_;
};
