#include "ui/controls.h"

#include <algorithm>

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "core/app_error.h"
#include "platform/system_library.h"

namespace ui {

Dpi Dpi::OfScreen() {
    const WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return Dpi(dpi > 0 ? dpi : 96);
}

Font CreateDesignFont(const FontArgs& args, const Dpi& dpi) {
    LOGFONTA font{};
    font.lfHeight = dpi.Scale(args.height);
    font.lfWeight = args.bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = args.underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(font.lfFaceName, args.face, LF_FACESIZE);
    return Font(CreateFontIndirectA(&font));
}

Bitmap ScaledBitmap(HBITMAP bitmap, const Dpi& dpi) {
    BITMAP source{};
    if (!GetObjectA(bitmap, sizeof(source), &source))
        return nullptr;
    const int width = dpi.Scale(source.bmWidth), height = dpi.Scale(source.bmHeight);
    const WindowDc screen(nullptr);
    Bitmap scaled(CreateCompatibleBitmap(screen.Get(), width, height));
    const MemoryDc from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
    const SelectedObject fromBitmap(from.get(), bitmap), toBitmap(to.get(), scaled.get());
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    return scaled;
}

Icon ProgramIcon(const char* name, int designSize, const Dpi& dpi) {
    const int size = dpi.Scale(designSize);
    return Icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0)));
}

std::string Window::Text() const {
    const int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

RECT Window::BoundsOnParent() const {
    RECT bounds{};
    GetWindowRect(hwnd_, &bounds);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

RECT Scaled(const Rect& design, const Dpi& dpi) {
    const int left = dpi.Scale(design.x), top = dpi.Scale(design.y);
    return {left, top, left + dpi.Scale(design.width), top + dpi.Scale(design.height)};
}

bool Window::TrySetText(const std::string& text) { return SetWindowTextA(hwnd_, text.c_str()) != FALSE; }

HWND CreateControl(const CreateArgs& args, const Dpi& dpi) {
    const DWORD style = args.style | WS_CHILD | (args.visible ? WS_VISIBLE : 0);
    const int x = dpi.Scale(args.bounds.x), y = dpi.Scale(args.bounds.y);
    const int width = dpi.Scale(args.bounds.width), height = dpi.Scale(args.bounds.height);
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND control = args.unicode ? CreateWindowExW(args.exStyle, DecodeText(args.className, CP_ACP).c_str(),
                                                  DecodeText(args.text, CP_ACP).c_str(), style, x, y, width, height,
                                                  args.parent, id, instance, nullptr)
                                : CreateWindowExA(args.exStyle, args.className, args.text.c_str(), style, x, y, width,
                                                  height, args.parent, id, instance, nullptr);
    if (!control)
        throw AppError(std::string("Cannot create the control ") + args.className);
    if (args.font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
    return control;
}

void GiveEditControlsTheirOwnDc() {
    // A class style counts for the windows made after it changes, so a
    // scratch edit control changes it.
    HWND scratch = CreateWindowA("EDIT", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetClassLongPtrA(scratch, GCL_STYLE, static_cast<LONG_PTR>(GetClassLongPtrA(scratch, GCL_STYLE) | CS_OWNDC));
    DestroyWindow(scratch);
}

void Memo::Create(CreateArgs args, const Dpi& dpi) {
    args.className = "EDIT";
    args.style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP;
    args.unicode = true;
    hwnd_ = CreateControl(args, dpi);
    SendMessageA(hwnd_, EM_SETLIMITTEXT, 0, 0);
}

std::wstring Memo::WideText() const {
    const int length = GetWindowTextLengthW(hwnd_);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

namespace {

int CharactersIn(const std::string& text) {
    return MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
}

}  // namespace

void Memo::SetText(const std::string& text) {
    const std::wstring previous = WideText();
    const bool modified = IsModified();
    if (text.size() < 0x7FFFFFFE && TrySetText(text) && Length() == CharactersIn(text))
        return;
    // Whatever the control made of it, the earlier text goes back; the mark
    // of typed changes, which setting a text clears, goes back as it was.
    if (WideText() != previous)
        SetWindowTextW(hwnd_, previous.c_str());
    SetModified(modified);
    throw AppError("Text exceeds memo capacity");
}

void Memo::SetWideText(std::wstring_view text) {
    const std::wstring terminated(text);
    if (!SetWindowTextW(hwnd_, terminated.c_str()) || static_cast<size_t>(Length()) != text.size())
        throw AppError("Text exceeds memo capacity");
}

void Memo::Append(std::wstring_view text) {
    const std::wstring terminated(text);
    // Drawn once, when the view is back where it was: the control scrolls
    // to the text it puts in.
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    DWORD selectionStart = 0, selectionEnd = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    const LRESULT firstLine = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
    const int length = Length();
    SendMessageW(hwnd_, EM_SETSEL, length, length);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
    SendMessageW(hwnd_, EM_SETSEL, selectionStart, selectionEnd);
    SendMessageW(hwnd_, EM_LINESCROLL, 0, firstLine - SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (static_cast<size_t>(Length()) != static_cast<size_t>(length) + text.size())
        throw AppError("Text exceeds memo capacity");
}

void Button::Create(CreateArgs args, const Dpi& dpi) {
    args.className = "BUTTON";
    args.style |= BS_PUSHBUTTON | WS_TABSTOP;
    hwnd_ = CreateControl(args, dpi);
}

void Label::Create(CreateArgs args, const Dpi& dpi) {
    args.className = "STATIC";
    args.style |= SS_LEFT | SS_NOPREFIX;
    hwnd_ = CreateControl(args, dpi);
}

namespace {

SIZE TextExtent(HWND control, const std::string& text) {
    const WindowDc dc(control);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

int TextWidth(HWND control, const std::string& text) { return TextExtent(control, text).cx; }

void Label::FitToText() {
    const SIZE size = TextExtent(hwnd_, Text());
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListView::Create(CreateArgs args, const Dpi& dpi) {
    args.className = WC_LISTVIEWA;
    hwnd_ = CreateControl(args, dpi);
    dpi_ = dpi;
}

void ListView::SizeColumnsByOwner() {
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, 1, 0);
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    SendMessageA(hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, 0, 0);
}

void ListView::FitColumnsTo(const std::vector<std::string>& captions) {
    // The control's own measure of list style: default width, padding beside the caption.
    constexpr int kDefaultWidth = 128;
    constexpr int kPadding = 12;
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    // A caption of single-byte characters is as wide as their widths added
    // up: one call for the font instead of one for each of thousands of captions.
    INT widths[256] = {};
    const bool haveWidths = GetCharWidth32A(dc.get(), 0, 255, widths) != FALSE;
    int widest = 0;
    for (const std::string& caption : captions) {
        const bool singleBytes =
            std::none_of(caption.begin(), caption.end(), [](char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)); });
        int width = 0;
        if (haveWidths && singleBytes) {
            for (const char c : caption)
                width += widths[static_cast<BYTE>(c)];
        } else {
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
            width = size.cx;
        }
        widest = std::max(widest, width);
    }
    const int width = std::max(dpi_.Scale(kDefaultWidth), widest + dpi_.Scale(kPadding));
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
}

void ListView::SetImages(HIMAGELIST images) {
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void ListView::Add(const std::string& caption, LPARAM data, int image) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = const_cast<char*>(caption.c_str());
    item.iImage = image;
    item.lParam = data;
    SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::SetCaption(int index, const std::string& caption) {
    LVITEMA item{};
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

LPARAM ListView::Data(int index) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

namespace {

int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM compare) {
    return (*reinterpret_cast<const std::function<int(LPARAM, LPARAM)>*>(compare))(first, second);
}

}  // namespace

void ListView::Sort(const std::function<int(LPARAM, LPARAM)>& compare) {
    SendMessageA(hwnd_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(&CompareItems));
}

namespace {

// The tab control's own padding at 96 DPI: beside each caption, and above and below it.
constexpr int kTabPaddingX = 6;
constexpr int kTabPaddingY = 3;

void SetTabPadding(HWND tabs, int x, int y) {
    SendMessageA(tabs, TCM_SETPADDING, 0, MAKELPARAM(x, y));
    // The tabs are measured again when their font is set.
    SendMessageA(tabs, WM_SETFONT, static_cast<WPARAM>(SendMessageA(tabs, WM_GETFONT, 0, 0)), TRUE);
}

}  // namespace

bool TabRowFits(HWND tabs, int width) {
    const auto count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (count == 0)
        return true;
    RECT last{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
    // Its own style, not IsWindowVisible: the window may not be shown yet.
    HWND arrows = FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
    const bool arrowsShown = arrows && (GetWindowLongPtrA(arrows, GWL_STYLE) & WS_VISIBLE);
    return last.right <= width && !arrowsShown;
}

void FitTabRow(HWND tabs, int width, const Dpi& dpi) {
    // From one row or several, as the tab control starts out at this DPI.
    SetWindowLongPtrA(tabs, GWL_STYLE, GetWindowLongPtrA(tabs, GWL_STYLE) & ~TCS_MULTILINE);
    SetTabPadding(tabs, dpi.Scale(kTabPaddingX), dpi.Scale(kTabPaddingY));
    for (int padding = dpi.Scale(kTabPaddingX) - 1;
         padding >= dpi.Scale(kSmallestTabPadding) && !TabRowFits(tabs, width); --padding)
        SetTabPadding(tabs, padding, dpi.Scale(kTabPaddingY));
    if (TabRowFits(tabs, width))
        return;
    SetWindowLongPtrA(tabs, GWL_STYLE, GetWindowLongPtrA(tabs, GWL_STYLE) | TCS_MULTILINE);
    SetTabPadding(tabs, dpi.Scale(kTabPaddingX), dpi.Scale(kTabPaddingY));
}

namespace {

// The theme functions, from the system folder's uxtheme.dll. Imported, the
// DLL would be looked for beside the program first, before the program can
// restrict the search: it is not one of the KnownDLLs the loader takes from
// the system folder only.
struct ThemeFunctions {
    decltype(&::GetWindowTheme) getWindowTheme;
    decltype(&::DrawThemeBackground) drawThemeBackground;
};

const ThemeFunctions& Theme() {
    static const ThemeFunctions functions = [] {
        const HMODULE uxtheme = platform::LoadSystemLibrary("uxtheme.dll");
        return ThemeFunctions{
            platform::SystemFunction<decltype(&::GetWindowTheme)>(uxtheme, "GetWindowTheme"),
            platform::SystemFunction<decltype(&::DrawThemeBackground)>(uxtheme, "DrawThemeBackground")};
    }();
    return functions;
}

// With a visual style the tab control draws its page's background over the
// whole display area at every paint, and Wine stretches that picture pixel
// by pixel over as much of it as the clipping lets through: behind the sheet
// that took longer than all the rest of the main window's first paint. So
// the control paints down to the display area only, and the page's other
// edges are drawn here, each clipped to its own strip.
LRESULT CALLBACK PaintAroundDisplayArea(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(tabs, PaintAroundDisplayArea, 0);
    const ThemeFunctions& themes = Theme();
    HTHEME theme = message == WM_PAINT && !wParam && themes.getWindowTheme && themes.drawThemeBackground
                       ? themes.getWindowTheme(tabs)
                       : nullptr;
    if (!theme)
        return DefSubclassProc(tabs, message, wParam, lParam);
    const PaintDc paint(tabs);
    HDC dc = paint.Get();
    RECT client, display;
    GetClientRect(tabs, &client);
    display = client;
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, display.top);
    DefSubclassProc(tabs, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    // The page's border is as wide above the display area as beside it.
    const RECT page{client.left, display.top - (display.left - client.left), client.right, client.bottom};
    const RECT edges[] = {{client.left, display.top, display.left, client.bottom},
                          {display.right, display.top, client.right, client.bottom},
                          {display.left, display.bottom, display.right, client.bottom}};
    for (const RECT& edge : edges)
        themes.drawThemeBackground(theme, dc, TABP_PANE, 0, &page, &edge);
    return 0;
}

}  // namespace

void PaintAroundSheets(HWND tabs) { SetWindowSubclass(tabs, PaintAroundDisplayArea, 0, 0); }

void Hints::Create(HWND owner) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    for (const auto& [tool, text] : waiting_)
        Register(tool, text);
    waiting_.clear();
}

void Hints::Add(HWND tool, const std::string& text) {
    if (tooltip_)
        Register(tool, text);
    else
        waiting_.emplace_back(tool, text);
}

void Hints::Register(HWND tool, const std::string& text) {
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace ui
