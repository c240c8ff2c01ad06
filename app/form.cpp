#include "app/form.h"

#include <commctrl.h>

#include "app/app_error.h"
#include "app/control_ids.h"
#include "app/error_box.h"
#include "sysfiles/text_file.h"

namespace {

const char kFormClass[] = "TForm1";
const char kSheetClass[] = "TTabSheet";

// Design geometry of the window at 96 DPI.
constexpr ui::Rect kFormBounds{151, 142, 810, 479};

bool IsPushButton(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    const LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiA(className, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

void RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXA form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = DefWindowProcA;  // replaced per window in Create
    form.hInstance = instance;
    form.hIcon = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    form.hIconSm = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
    form.hCursor = LoadCursor(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    RegisterClassExA(&form);

    WNDCLASSEXA sheet = form;
    sheet.hIcon = sheet.hIconSm = nullptr;
    sheet.lpszClassName = kSheetClass;
    RegisterClassExA(&sheet);
}

}  // namespace

TForm1::TForm1() : dpi_(ui::Dpi::OfScreen()) {}

TForm1::~TForm1() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
}

void TForm1::Create(int showCommand) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClasses(instance);
    font_ = ui::CreateDesignFont({}, dpi_);
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClass, "QOR System Editor",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, dpi_.Scale(kFormBounds.x),
                            dpi_.Scale(kFormBounds.y), dpi_.Scale(kFormBounds.width),
                            dpi_.Scale(kFormBounds.height), nullptr, nullptr, instance, nullptr);
    if (!hwnd_) throw AppError("Cannot create the main window");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::WindowProc));
    CreatePages();
    LayoutPages();
    ui::FitTabRow(pageControl1_.Handle(), dpi_);
    LayoutPages();
    GuardCallback([this] { FormCreate(); });
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

void TForm1::CreatePages() {
    pageControl1_ = ui::Window(ui::CreateControl(
        {hwnd_, WC_TABCONTROLA, "", {}, WS_CLIPSIBLINGS | WS_TABSTOP, 0, ids::PageControl1, font_}, dpi_));
    hints_.Create(hwnd_);
    for (size_t i = 0; i < kPageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPages[i].caption);
        SendMessageA(pageControl1_.Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));

        ui::CreateArgs sheet{hwnd_, kSheetClass, "", {}, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                             ids::TabSheet(kPages[i].tabSheet), font_, i == 0};
        sheets_[i] = ui::CreateControl(sheet, dpi_);
        SetWindowLongPtrA(sheets_[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&HandlerOf(kPages[i].page)));
        SetWindowLongPtrA(sheets_[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::SheetProc));
        HandlerOf(kPages[i].page).Create(kPages[i].page, PageContext{sheets_[i], dpi_, font_, &hints_});
    }
}

PageHandler& TForm1::HandlerOf(Page page) {
    switch (page) {
        case Page::RegistrySettings: return tweaks_;
        case Page::ControlPanel: return launcher_;
        case Page::SystemInfo: return sysInfo_;
        case Page::About: return about_;
        default: return sysFiles_;
    }
}

void TForm1::LayoutPages() {
    RECT client;
    GetClientRect(hwnd_, &client);
    pageControl1_.SetBounds(client);
    RECT display = client;
    SendMessageA(pageControl1_.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (size_t i = 0; i < kPageCount; ++i) {
        SetWindowPos(sheets_[i], HWND_TOP, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOACTIVATE);
        HandlerOf(kPages[i].page).Resize(display.right - display.left, display.bottom - display.top);
    }
}

Page TForm1::ActivePage() const {
    const LRESULT index = SendMessageA(pageControl1_.Handle(), TCM_GETCURSEL, 0, 0);
    return kPages[index < 0 ? 0 : static_cast<size_t>(index)].page;
}

void TForm1::ShowActiveSheet() {
    const LRESULT index = SendMessageA(pageControl1_.Handle(), TCM_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) == shownSheet_) return;
    ShowWindow(sheets_[static_cast<size_t>(index)], SW_SHOW);
    ShowWindow(sheets_[shownSheet_], SW_HIDE);
    shownSheet_ = static_cast<size_t>(index);
}

void TForm1::SelectPage(size_t index) {
    SendMessageA(pageControl1_.Handle(), TCM_SETCURSEL, index, 0);
    Pagecontrol1Change();
}

void TForm1::FormCreate() {
    sysFiles_.LoadWinIni();
    try {
        tweaks_.RestoreToggles();
    } catch (...) {
        // A missing or unwritable state file ends the restore without a word.
    }
    tweaks_.FirstRunCheck();
}

void TForm1::Pagecontrol1Change() {
    ShowActiveSheet();
    WaitCursor wait;
    try {
        const Page active = ActivePage();
        if (active == Page::SystemInfo) sysInfo_.Refresh();
        sysFiles_.Reload(active);
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

bool TForm1::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN && HandleKey(message.wParam)) return true;
    return IsDialogMessageA(hwnd_, &message) != FALSE;
}

bool TForm1::HandleKey(WPARAM key) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    HWND focus = GetFocus();
    // Only the window's own controls: a list's in-place editor keeps its keys.
    const bool onOwnControl = focus && (GetParent(focus) == hwnd_ || IsSheet(GetParent(focus)));
    if (key == VK_TAB && control) {
        // Ctrl+Tab and Ctrl+Shift+Tab page through the tabs, as in property sheets.
        const LRESULT current = SendMessageA(pageControl1_.Handle(), TCM_GETCURSEL, 0, 0);
        SelectPage((static_cast<size_t>(current) + (shift ? kPageCount - 1 : 1)) % kPageCount);
        return true;
    }
    if (key == VK_TAB && onOwnControl) {
        // The editors would otherwise keep Tab to themselves. The caret and
        // selection of the control that gets the focus stay as they were.
        if (HWND next = GetNextDlgTabItem(hwnd_, focus, shift)) SetFocus(next);
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
    for (HWND sheet : sheets_)
        if (sheet == window) return true;
    return false;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            LayoutPages();
            return 0;
        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == pageControl1_.Handle() && header.code == TCN_SELCHANGE) Pagecontrol1Change();
            return 0;
        }
        case WM_SETTINGCHANGE:
            for (const PageRow& row : kPages) HandlerOf(row.page).SettingChanged();
            break;
        case WM_CLOSE:
            if (sysFiles_.SaveChangesBeforeClosing()) DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    GuardCallback([&] { result = form->HandleMessage(message, wParam, lParam); });
    return result;
}

LRESULT CALLBACK TForm1::SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = reinterpret_cast<PageHandler*>(GetWindowLongPtrA(sheet, GWLP_USERDATA));
    LRESULT result = 0;
    bool handled = true;
    GuardCallback([&] {
        switch (message) {
            case WM_COMMAND:
                handler->Command(LOWORD(wParam), HIWORD(wParam));
                break;
            case WM_NOTIFY:
                result = handler->Notify(*reinterpret_cast<const NMHDR*>(lParam));
                break;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORLISTBOX:
                if (HBRUSH brush = handler->ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                    result = reinterpret_cast<LRESULT>(brush);
                else
                    handled = false;
                break;
            case WM_CLOSE:
                // A multi-line edit asks its parent to close on Esc: a page never closes.
                break;
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(sheet, &paint);
                handler->Paint(dc);
                EndPaint(sheet, &paint);
                break;
            }
            default:
                handled = false;
        }
    });
    return handled ? result : DefWindowProcA(sheet, message, wParam, lParam);
}
