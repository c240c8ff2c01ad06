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

// Tabs as spaces to the next multiple of 8 columns: the list does not expand them.
std::string ShownText(const DiffLine& line) {
    if (line.kind == LineKind::Skipped)
        return "... " + std::to_string(line.skipped) + (line.skipped == 1 ? " unchanged line" : " unchanged lines") +
               " ...";
    std::string text = LookOf(line.kind).mark;
    for (const char c : line.text) {
        if (c == '\t')
            text.append(8 - text.size() % 8, ' ');
        else
            text += c;
    }
    return text;
}

// At least as many columns as ShownText gives, without building every text.
size_t MostColumns(const std::vector<DiffLine>& lines) {
    size_t most = 0;
    for (const DiffLine& line : lines) {
        const auto tabs = static_cast<size_t>(std::count(line.text.begin(), line.text.end(), '\t'));
        most =
            std::max(most, line.kind == LineKind::Skipped ? ShownText(line).size() : line.text.size() + 2 + 7 * tabs);
    }
    return most;
}

int CharWidth(HWND window, HFONT font) {
    const ui::WindowDc dc(window);
    const ui::SelectedObject selected(dc.Get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmAveCharWidth;
}

}  // namespace

CompareWindow::~CompareWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void CompareWindow::Open(HWND owner, const std::string& file, const std::string& backup, std::vector<DiffLine> lines,
                         const ui::Dpi& dpi) {
    if (!hwnd_)
        Create(owner, dpi);
    SetWindowTextA(hwnd_, ("Compare - " + file + " with " + backup).c_str());
    legend_.TrySetText("+ only in " + file + "        - only in " + backup);
    Fill(std::move(lines));
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
    CreateWindowOf(compareClass,
                   {.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    .width = dpi.Scale(kWindowSize.width),
                    .height = dpi.Scale(kWindowSize.height),
                    .parent = owner},
                   "Cannot create the Compare window");
    legend_ =
        ui::Window(ui::CreateControl({.parent = hwnd_, .style = SS_LEFT | SS_NOPREFIX, .font = font_.get()}, dpi));
    // One column without a header, its lines asked for as they show.
    list_ = ui::Window(
        ui::CreateControl({.parent = hwnd_,
                           .className = WC_LISTVIEWA,
                           .style = WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA | LVS_SINGLESEL,
                           .exStyle = WS_EX_CLIENTEDGE,
                           .id = kListId,
                           .font = font_.get()},
                          dpi));
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    SendMessageA(list_.Handle(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    Layout();
}

void CompareWindow::ChangeDpi(const ui::Dpi& dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls take the new font before the old one goes; the list's
    // lines take its height.
    const ui::Font previous = std::exchange(font_, ui::CreateDesignFont(kLineFont, dpi));
    legend_.SetFont(font_.get());
    list_.SetFont(font_.get());
    FitColumn();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void CompareWindow::Fill(std::vector<DiffLine> lines) {
    lines_ = std::move(lines);
    HWND list = list_.Handle();
    SendMessageA(list, LVM_SETITEMCOUNT, lines_.size(), 0);
    FitColumn();
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    InvalidateRect(list, nullptr, TRUE);
}

// The one column as wide as the longest line in the font.
void CompareWindow::FitColumn() {
    const int width =
        static_cast<int>(MostColumns(lines_)) * CharWidth(list_.Handle(), font_.get()) + 2 * dpi_.Scale(kMargin);
    SendMessageA(list_.Handle(), LVM_SETCOLUMNWIDTH, 0, width);
}

void CompareWindow::Layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int margin = dpi_.Scale(kMargin), legendHeight = dpi_.Scale(kLegendHeight);
    MoveWindow(legend_.Handle(), margin, margin, client.right - 2 * margin, legendHeight, TRUE);
    const int listTop = 2 * margin + legendHeight;
    MoveWindow(list_.Handle(), 0, listTop, client.right, std::max(0, static_cast<int>(client.bottom) - listTop), TRUE);
}

LRESULT CompareWindow::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || draw.nmcd.dwItemSpec >= lines_.size())
        return CDRF_DODEFAULT;
    const LineLook look = LookOf(lines_[draw.nmcd.dwItemSpec].kind);
    draw.clrText = look.text;
    draw.clrTextBk = look.background;
    return CDRF_DODEFAULT;
}

LRESULT CompareWindow::Notify(NMHDR& header) {
    if (header.hwndFrom != list_.Handle())
        return 0;
    switch (header.code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
            if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0 && static_cast<size_t>(item.iItem) < lines_.size())
                lstrcpynA(item.pszText, ShownText(lines_[static_cast<size_t>(item.iItem)]).c_str(), item.cchTextMax);
            return 0;
        }
        case NM_CUSTOMDRAW:
            return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE)
                PostMessageA(hwnd_, WM_CLOSE, 0, 0);
            return 0;
    }
    return 0;
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
        case WM_NOTIFY:
            return Notify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_NCDESTROY:
            list_ = ui::Window();
            legend_ = ui::Window();
            lines_.clear();
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}
