#include "app/form.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "core/app_error.h"
#include "core/text_file.h"
#include "ui/control_ids.h"
#include "ui/error_box.h"
#include "ui/screen_fit.h"

namespace {

const char kFormClass[] = "TForm1";

// The one message the window posts to itself: run the next start-up step.
// Posted messages come before any key or click, so the user cannot act
// before every step has run; the window answers other programs between them.
constexpr UINT kNextStartUpStep = WM_APP + 2;

// Design geometry of the window at 96 DPI.
constexpr ui::Rect kFormBounds{151, 142, 810, 479};
constexpr ui::Rect kWiderThanAnyTabRow{0, 0, 8000, 100};
// The smallest the window opens at on a small screen, in design pixels: the
// editors and lists give up the width; the height all of REGISTRY
// SETTINGS' current state needs stays.
constexpr SIZE kSmallestForm{640, 479};

bool HasClass(HWND window, const char* className) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpiA(name, className) == 0;
}

bool IsPushButton(HWND window) {
    const LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
    return HasClass(window, "Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool IsListView(HWND window) { return HasClass(window, WC_LISTVIEWA); }

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

}  // namespace

TForm1::TForm1(platform::Display& display)
    : display_(display),
      dpi_(ui::Dpi::OfScreen()),
      pages_{{
          {Page::WinIni, 1, "WINI.INI", &sysFiles_},
          {Page::SystemIni, 2, "SYSTEM.INI", &sysFiles_},
          {Page::BootIni, 3, "BOOT.INI", &sysFiles_},
          {Page::ControlIni, 8, "CONTROL.INI", &sysFiles_},
          {Page::AutoexecBat, 4, "AUTOEXEC.BAT", &sysFiles_},
          {Page::ConfigSys, 5, "CONFIG.SYS", &sysFiles_},
          {Page::RegistrySettings, 6, "REGISTRY SETTINGS", &tweaks_},
          {Page::ControlPanel, 9, "CONTROL PANEL", &launcher_},
          {Page::SystemInfo, 10, "SYSTEM INFO", &sysInfo_},
          {Page::About, 7, "ABOUT", &about_},
      }},
      find_([this](HWND editor) { sysFiles_.CompleteText(editor); }) {}

TForm1::~TForm1() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void TForm1::Create(int showCommand) {
    WNDCLASSEXA formClass{};
    formClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    formClass.lpszClassName = kFormClass;
    const RECT first = FirstRectangle();
    CreateWindowOf(formClass,
                   {.title = "QOR System Editor",
                    .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    .exStyle = WS_EX_CONTROLPARENT,
                    .x = first.left,
                    .y = first.top,
                    .width = first.right - first.left,
                    .height = first.bottom - first.top},
                   "Cannot create the main window");
    // The system decides which monitor the window is on, and so its DPI.
    dpi_ = ui::Dpi(display_.WindowDpi(hwnd_));
    font_ = ui::CreateDesignFont({}, dpi_);
    SetIcons();
    CreatePages();
    // The rest of the first page and the hint window come once the window
    // shows, then FormCreate's steps after the first, then the other pages.
    startUpSteps_ = {[this] { hints_.Create(hwnd_); }, [this] { BuildRestOfPage(0); }};
    GuardCallback([this] { FormCreate(); });
    QueuePageBuilding();
    PostMessageA(hwnd_, kNextStartUpStep, 0, 0);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

RECT TForm1::FirstRectangle() {
    RECT wanted = ui::Scaled(kFormBounds, dpi_);
    const ui::Dpi there(display_.MonitorDpi(wanted));
    if (there.Value() != dpi_.Value())
        wanted = ui::Scaled(kFormBounds, there);
    return ui::FitIntoWorkArea(wanted, display_.WorkArea(wanted),
                               {there.Scale(kSmallestForm.cx), there.Scale(kSmallestForm.cy)});
}

void TForm1::SetIcons() {
    // The window lets go of the old icons before they go.
    ui::Icon big = ui::ProgramIcon("MAINICON", 32, dpi_), small = ui::ProgramIcon("MAINICON", 16, dpi_);
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void TForm1::CreatePages() {
    pageControl1_ = ui::Window(ui::CreateControl({.parent = hwnd_,
                                                  .className = WC_TABCONTROLA,
                                                  .bounds = kWiderThanAnyTabRow,
                                                  .style = WS_CLIPSIBLINGS | WS_TABSTOP,
                                                  .id = ids::PageControl1,
                                                  .font = font_.get()},
                                                 dpi_));
    for (size_t i = 0; i < kPageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(pages_[i].caption);
        SendMessageA(pageControl1_.Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    FitTabs();
    ui::PaintAroundSheets(pageControl1_.Handle());
    LayoutPages();
    // The first paint needs only the first page, and of it only the file shown.
    BuildSheet(0);
}

void TForm1::FitTabs() {
    // Wider than any row of tabs until they are fitted to the window: a row
    // too long for the control makes it create its scroll arrows, and move
    // them at every change.
    pageControl1_.Place(kWiderThanAnyTabRow, dpi_);
    pageControl1_.SetFont(font_.get());
    RECT client;
    GetClientRect(hwnd_, &client);
    ui::FitTabRow(pageControl1_.Handle(), client.right, dpi_);
}

void TForm1::ChangeDpi(int dpi, const RECT& suggested) {
    const bool changed = dpi != dpi_.Value();
    // The pages' controls take the new font before the old one goes.
    const ui::Font previous = changed ? std::exchange(font_, ui::CreateDesignFont({}, ui::Dpi(dpi))) : nullptr;
    dpi_ = ui::Dpi(dpi);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!changed)
        return;
    SetIcons();
    FitTabs();
    LayoutPages();
    for (size_t i = 0; i < kPageCount; ++i) {
        if (!sheets_[i].Handle())
            continue;
        pages_[i].handler->ChangeDpi(pages_[i].page, ContextOf(i));
        ResizePage(i);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TForm1::BuildPage(size_t index) {
    BuildSheet(index);
    BuildRestOfPage(index);
}

void TForm1::BuildSheet(size_t index) {
    ui::TabSheet& sheet = sheets_[index];
    if (sheet.Handle())
        return;
    const PageRow& row = pages_[index];
    sheet.Create(hwnd_, ids::TabSheet(row.tabSheet), index == shownSheet_, *row.handler);
    PlaceSheet(sheet.Handle());
    row.handler->Create(row.page, ContextOf(index));
    ResizePage(index);
}

void TForm1::BuildRestOfPage(size_t index) {
    if (built_[index] || !sheets_[index].Handle())
        return;
    built_[index] = true;
    pages_[index].handler->CreateRest(pages_[index].page, ContextOf(index));
    ResizePage(index);
}

PageContext TForm1::ContextOf(size_t index) { return sheets_[index].Context(dpi_, font_.get(), &hints_); }

void TForm1::ResizePage(size_t index) {
    RECT client;
    GetClientRect(sheets_[index].Handle(), &client);
    pages_[index].handler->Resize(client.right, client.bottom);
}

// Each page not built yet, half a page per step: its sheet, then the rest.
void TForm1::QueuePageBuilding() {
    for (size_t index = 1; index < kPageCount; ++index) {
        startUpSteps_.push_back([this, index] { BuildSheet(index); });
        startUpSteps_.push_back([this, index] { BuildRestOfPage(index); });
    }
}

void TForm1::RunNextStartUpStep() {
    if (startUpSteps_.empty())
        return;
    const std::function<void()> step = std::move(startUpSteps_.front());
    startUpSteps_.pop_front();
    // The steps after it run whatever this one throws.
    if (!startUpSteps_.empty())
        PostMessageA(hwnd_, kNextStartUpStep, 0, 0);
    GuardCallback(step);
}

void TForm1::LayoutPages() {
    RECT client;
    GetClientRect(hwnd_, &client);
    laidOutSize_ = {client.right, client.bottom};
    pageControl1_.SetBounds(client);
    for (const ui::TabSheet& sheet : sheets_)
        if (sheet.Handle())
            PlaceSheet(sheet.Handle());
}

// A sheet fills the page control's display area, above the control itself.
void TForm1::PlaceSheet(HWND sheet) const {
    RECT display;
    GetClientRect(pageControl1_.Handle(), &display);
    SendMessageA(pageControl1_.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    SetWindowPos(sheet, HWND_TOP, display.left, display.top, display.right - display.left, display.bottom - display.top,
                 SWP_NOACTIVATE);
}

size_t TForm1::ActiveIndex() const {
    const LRESULT index = SendMessageA(pageControl1_.Handle(), TCM_GETCURSEL, 0, 0);
    return index < 0 ? 0 : static_cast<size_t>(index);
}

void TForm1::ShowActiveSheet() {
    const size_t index = ActiveIndex();
    BuildPage(index);
    if (index == shownSheet_)
        return;
    ShowWindow(sheets_[index].Handle(), SW_SHOW);
    ShowWindow(sheets_[shownSheet_].Handle(), SW_HIDE);
    shownSheet_ = index;
}

void TForm1::SelectPage(size_t index) {
    SendMessageA(pageControl1_.Handle(), TCM_SETCURSEL, index, 0);
    Pagecontrol1Change();
}

void TForm1::FormCreate() {
    sysFiles_.LoadWinIni();
    // The window shows first: the REGISTRY SETTINGS page, with the toggles'
    // state holders, is built in two steps, then the toggles are restored.
    const size_t settings = IndexOf(Page::RegistrySettings);
    startUpSteps_.push_back([this, settings] { BuildSheet(settings); });
    startUpSteps_.push_back([this, settings] { BuildRestOfPage(settings); });
    startUpSteps_.push_back([this] { RestoreToggles(); });
}

void TForm1::RestoreToggles() {
    BuildPage(IndexOf(Page::RegistrySettings));
    try {
        tweaks_.RestoreToggles();
    } catch (...) {
        // A missing or unwritable state file ends the restore without a word.
    }
    tweaks_.FirstRunCheck();
}

size_t TForm1::IndexOf(Page page) const {
    const auto row = std::find_if(pages_.begin(), pages_.end(), [page](const PageRow& r) { return r.page == page; });
    return static_cast<size_t>(row - pages_.begin());
}

void TForm1::Pagecontrol1Change() {
    ShowActiveSheet();
    find_.Follow(ActiveEditor());
    WaitCursor wait;
    try {
        const PageRow& active = pages_[ActiveIndex()];
        active.handler->Activate(active.page);
    } catch (const LoadError& error) {
        // A missing file keeps the page's own message; any other reason is named.
        if (error.FileMissing())
            ShowFileNotFound();
        else
            ShowException(error);
    } catch (...) {
        ShowFileNotFound();
    }
}

HWND TForm1::ActiveEditor() { return sysFiles_.Editor(pages_[ActiveIndex()].page); }

bool TForm1::PreTranslateMessage(MSG& message) {
    if (find_.PreTranslateMessage(message))
        return true;
    // Keys typed in another window of the program, such as a Compare
    // window, are that window's own.
    if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))
        return false;
    if (message.message == WM_KEYDOWN && HandleKey(message.wParam))
        return true;
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

bool TForm1::HandleKey(WPARAM key) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    HWND focus = GetFocus();
    // Only the window's own controls: a list's in-place editor keeps its keys.
    const bool onOwnControl = focus && (GetParent(focus) == hwnd_ || IsSheet(GetParent(focus)));
    if (key == VK_TAB && control) {
        // Ctrl+Tab and Ctrl+Shift+Tab page through the tabs, as in property sheets.
        SelectPage((ActiveIndex() + (shift ? kPageCount - 1 : 1)) % kPageCount);
        return true;
    }
    if ((key == 'F' && control && !shift) || key == VK_F3) {
        HWND editor = ActiveEditor();
        if (!editor)
            return false;
        if (key == 'F')
            find_.Open(hwnd_, editor);
        else
            find_.FindAgain(hwnd_, editor, !shift);
        return true;
    }
    if (key == VK_TAB && onOwnControl) {
        // The editors would otherwise keep Tab to themselves. The caret and
        // selection of the control that gets the focus stay as they were.
        if (HWND next = GetNextDlgTabItem(hwnd_, focus, shift))
            SetFocus(next);
        return true;
    }
    if (key == VK_RETURN && onOwnControl && IsListView(focus)) {
        // The dialog manager would take Enter for the default button; the
        // list tells its page instead (NM_RETURN).
        SendMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    }
    if (key == VK_RETURN && onOwnControl && IsPushButton(focus)) {
        // The dialog manager would send the click to the main window, not the page.
        SendMessageA(focus, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

bool TForm1::IsSheet(HWND window) const {
    for (const ui::TabSheet& sheet : sheets_)
        if (window && sheet.Handle() == window)
            return true;
    return false;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            // Showing the window tells the size it was made with, for which
            // the pages are laid out already.
            if (LOWORD(lParam) != laidOutSize_.cx || HIWORD(lParam) != laidOutSize_.cy)
                LayoutPages();
            return 0;
        case WM_DPICHANGED:
            ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == pageControl1_.Handle() && header.code == TCN_SELCHANGE)
                Pagecontrol1Change();
            return 0;
        }
        case kNextStartUpStep:
            RunNextStartUpStep();
            return 0;
        case WM_SETTINGCHANGE:
            for (const PageRow& row : pages_)
                row.handler->SettingChanged();
            break;
        case WM_CLOSE:
            if (sysFiles_.SaveChangesBeforeClosing())
                DestroyWindow(hwnd_);
            return 0;
        case WM_QUERYENDSESSION:
            // Logging off asks about typed text as closing does.
            return sysFiles_.SaveChangesBeforeClosing() ? TRUE : FALSE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    if (message == EditorFind::DialogMessage()) {
        find_.DialogSaid();
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}
