#include "sysfiles/compare_window.h"

#include <algorithm>
#include <utility>

#include "core/app_error.h"

namespace {

const char kCompareClass[] = "TCompareForm";

constexpr ui::Rect kWindowSize{0, 0, 680, 460};
constexpr int kMargin = 6, kLegendHeight = 16;
const ui::FontArgs kLineFont{.face = "Courier", .height = -13};

struct LineLook {
    const char* mark;
    COLORREF text, background;
};

// By LineKind. Unchanged lines look like any list's lines.
LineLook LookOf(LineKind kind) {
    switch (kind) {
        case LineKind::OnlyInFirst:
            return {"+ ", RGB(0, 100, 0), RGB(220, 255, 220)};
        case LineKind::OnlyInSecond:
            return {"- ", RGB(160, 0, 0), RGB(255, 225, 225)};
        case LineKind::Skipped:
            return {"", RGB(90, 90, 90), RGB(230, 230, 238)};
        case LineKind::Note:
            return {"", RGB(0, 0, 128), RGB(255, 250, 205)};
        case LineKind::Unchanged:
            break;
    }
    return {"  ", GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)};
}

std::string ShownText(const DiffLine& line) {
    if (line.kind != LineKind::Skipped)
        return LookOf(line.kind).mark + line.text;
    return "... " + std::to_string(line.skipped) + (line.skipped == 1 ? " unchanged line" : " unchanged lines") +
           " ...";
}

int TextHeight(HWND window, HFONT font) {
    const ui::WindowDc dc(window);
    const ui::SelectedObject selected(dc.Get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight;
}

}  // namespace

CompareWindow::~CompareWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void CompareWindow::Open(HWND owner, const std::string& file, const std::string& backup,
                         const std::vector<DiffLine>& lines, const ui::Dpi& dpi) {
    if (!hwnd_)
        Create(owner, dpi);
    SetWindowTextA(hwnd_, ("Compare - " + file + " with " + backup).c_str());
    legend_.TrySetText("+ only in " + file + "        - only in " + backup);
    Fill(lines);
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(list_.Handle());
}

void CompareWindow::Create(HWND owner, const ui::Dpi& dpi) {
    WNDCLASSEXA compareClass{};
    compareClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    compareClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    compareClass.hIcon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    compareClass.lpszClassName = kCompareClass;
    dpi_ = dpi;
    font_ = ui::CreateDesignFont(kLineFont, dpi);
    lineHeight_ = TextHeight(owner, font_.get()) + dpi.Scale(2);
    CreateWindowOf(compareClass,
                   {.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    .width = dpi.Scale(kWindowSize.width),
                    .height = dpi.Scale(kWindowSize.height),
                    .parent = owner},
                   "Cannot create the Compare window");
    legend_ =
        ui::Window(ui::CreateControl({.parent = hwnd_, .style = SS_LEFT | SS_NOPREFIX, .font = font_.get()}, dpi));
    // The list asks its window for the line height while it is being created.
    list_ = ui::Window(ui::CreateControl({.parent = hwnd_,
                                          .className = "LISTBOX",
                                          .style = WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED |
                                                   LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                                          .exStyle = WS_EX_CLIENTEDGE,
                                          .id = kListId,
                                          .font = font_.get()},
                                         dpi));
    Layout();
}

void CompareWindow::ChangeDpi(const ui::Dpi& dpi, const RECT& suggested) {
    const int previousDpi = dpi_.Value();
    dpi_ = dpi;
    // The controls take the new font before the old one goes.
    const ui::Font previous = std::exchange(font_, ui::CreateDesignFont(kLineFont, dpi));
    lineHeight_ = TextHeight(hwnd_, font_.get()) + dpi.Scale(2);
    legend_.SetFont(font_.get());
    list_.SetFont(font_.get());
    // A list of owner-drawn lines of one height asks for it only when made.
    SendMessageA(list_.Handle(), LB_SETITEMHEIGHT, 0, lineHeight_);
    const auto extent = static_cast<int>(SendMessageA(list_.Handle(), LB_GETHORIZONTALEXTENT, 0, 0));
    SendMessageA(list_.Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MulDiv(extent, dpi.Value(), previousDpi)),
                 0);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void CompareWindow::Fill(const std::vector<DiffLine>& lines) {
    HWND list = list_.Handle();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const ui::WindowDc dc(list);
    const ui::SelectedObject selected(dc.Get(), font_.get());
    int widest = 0;
    for (const DiffLine& line : lines) {
        const std::string text = ShownText(line);
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(line.kind));
        const DWORD extent = GetTabbedTextExtentA(dc.Get(), text.c_str(), static_cast<int>(text.size()), 0, nullptr);
        widest = std::max(widest, static_cast<int>(LOWORD(extent)));
    }
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 2 * dpi_.Scale(kMargin)), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CompareWindow::Layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int margin = dpi_.Scale(kMargin), legendHeight = dpi_.Scale(kLegendHeight);
    MoveWindow(legend_.Handle(), margin, margin, client.right - 2 * margin, legendHeight, TRUE);
    const int listTop = 2 * margin + legendHeight;
    MoveWindow(list_.Handle(), 0, listTop, client.right, std::max(0, static_cast<int>(client.bottom) - listTop), TRUE);
}

void CompareWindow::DrawLine(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const LineLook look = LookOf(static_cast<LineKind>(item.itemData));
    const auto length = SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data())), 0)));
    SetTextColor(item.hDC, look.text);
    SetBkColor(item.hDC, look.background);
    ExtTextOutA(item.hDC, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
    RECT textArea = item.rcItem;
    textArea.left += dpi_.Scale(kMargin);
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT CompareWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (list_.Handle())
                Layout();
            return 0;
        case WM_DPICHANGED:
            ChangeDpi(ui::Dpi(HIWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETFOCUS:
            SetFocus(list_.Handle());
            return 0;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(lineHeight_);
            return TRUE;
        case WM_DRAWITEM:
            DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_VKEYTOITEM:
            // The list hands its keys here first: Esc closes, the others scroll.
            if (LOWORD(wParam) != VK_ESCAPE)
                return -1;
            PostMessageA(hwnd_, WM_CLOSE, 0, 0);
            return -2;
        case WM_NCDESTROY:
            list_ = ui::Window();
            legend_ = ui::Window();
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}
