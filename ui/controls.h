#pragma once
// Thin wrappers over Win32 controls: each keeps its handle and offers one-line
// helpers. Positions and sizes are given in design pixels (96 DPI) and scaled.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/code_page.h"

namespace ui {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Converts design pixels to device pixels at the screen's DPI.
class Dpi {
public:
    static Dpi OfScreen();
    explicit Dpi(int dpi = 96) : dpi_(dpi) {}
    int Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
    int Value() const { return dpi_; }

private:
    int dpi_;
};

// A design rectangle in device pixels at `dpi`.
RECT Scaled(const Rect& design, const Dpi& dpi);

// Handles that release their object when they go.
struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// A window's device context (the screen's for a null window), released when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT, also when the painting throws.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a DC for as long as this lives; the previous one goes back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A copy of `bitmap` `dpi` scales, pixel for pixel, so that a colour that
// stands for transparent stays exactly that colour.
Bitmap ScaledBitmap(HBITMAP bitmap, const Dpi& dpi);
// The program's icon `name` at `designSize` pixels square scaled to `dpi`.
Icon ProgramIcon(const char* name, int designSize, const Dpi& dpi);

struct FontArgs {
    const char* face = "MS Sans Serif";
    int height = -11;  // design pixels; negative: character height
    bool bold = false;
    bool underline = false;
};
Font CreateDesignFont(const FontArgs& args, const Dpi& dpi);

struct CreateArgs {
    HWND parent = nullptr;
    const char* className = "STATIC";
    std::string text;
    Rect bounds;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HFONT font = nullptr;
    bool visible = true;
    // A window of the system's wide characters, which keeps any character it
    // is given or the user pastes, whether the ANSI code page has it or not.
    bool unicode = false;
};

class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : hwnd_(handle) {}
    HWND Handle() const { return hwnd_; }
    std::string Text() const;
    // False when the control refused the text.
    bool TrySetText(const std::string& text);
    // The window's rectangle on its parent, in device pixels.
    RECT BoundsOnParent() const;
    void SetBounds(const RECT& device) {
        MoveWindow(hwnd_, device.left, device.top, device.right - device.left, device.bottom - device.top, TRUE);
    }
    // Puts the window at its design place and size scaled to `dpi`.
    void Place(const Rect& design, const Dpi& dpi) { SetBounds(Scaled(design, dpi)); }
    void SetFont(HFONT font) { SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

protected:
    HWND hwnd_ = nullptr;
};

// How wide `text` is in the font of `control`, in device pixels.
int TextWidth(HWND control, const std::string& text);

// Creates any child control; WS_CHILD and (unless `visible` is false) WS_VISIBLE are added.
HWND CreateControl(const CreateArgs& args, const Dpi& dpi);

// Gives every edit control made after it a device context of its own. Wine's
// edit control gets a DC for every line it lays out, some 130,000 for an
// 8 MB file, and a window's own DC comes without the server's help: such a
// file shows a sixth sooner. Call once, before the first edit control is made.
void GiveEditControlsTheirOwnDc();

// A multi-line edit box whose text is the whole of its lines, CR+LF separated.
// It keeps its text in wide characters; its bytes are those of the ANSI code page.
class Memo : public Window {
public:
    // Word wrap, no scroll bars, the platform's maximum capacity.
    void Create(CreateArgs args, const Dpi& dpi);
    std::wstring WideText() const;
    // The text in the ANSI code page, with the count of characters it has no
    // bytes for.
    EncodedText Encoded() const { return EncodeText(WideText(), CP_ACP); }
    // The same bytes; a character the code page has no bytes for is "?".
    std::string Text() const { return Encoded().bytes; }
    // Throws AppError "Text exceeds memo capacity" when the text does not fit;
    // the memo then keeps its earlier text and its mark of typed changes.
    void SetText(const std::string& text);
    // The same for wide characters, which every code page's text becomes
    // without loss; the mark of typed changes is cleared. Throws AppError as SetText.
    void SetWideText(std::wstring_view text);
    // Puts `text` at the end, with no undo step; the selection and the lines
    // in view stay as they are. Throws AppError when the memo does not take it all.
    void Append(std::wstring_view text);
    void SetReadOnly(bool readOnly) { SendMessageA(hwnd_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }
    void Clear() { SetText(""); }
    // Puts `line` followed by CR+LF at the end of the text.
    void AppendLine(const std::string& line) { SetText(Text() + line + "\r\n"); }
    // How many characters the memo holds. Asked for in bytes instead, the
    // control would convert its whole text to count them.
    int Length() const { return GetWindowTextLengthW(hwnd_); }
    // Whether the user changed the text since it was last marked unchanged.
    bool IsModified() const { return SendMessageA(hwnd_, EM_GETMODIFY, 0, 0) != 0; }
    void SetModified(bool modified) { SendMessageA(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0); }
};

class Button : public Window {
public:
    void Create(CreateArgs args, const Dpi& dpi);
};

class Label : public Window {
public:
    using Window::Window;
    void Create(CreateArgs args, const Dpi& dpi);
    // Makes the label as wide and high as its text in its font, as an
    // auto-sized label is.
    void FitToText();
};

// A list view in list style: each item a caption, an image and a number of
// the caller's that stays with it through sorting.
class ListView : public Window {
public:
    void Create(CreateArgs args, const Dpi& dpi);
    // The list now shows at `dpi`, in `font`.
    void ChangeDpi(const Dpi& dpi, HFONT font) {
        dpi_ = dpi;
        SetFont(font);
    }
    void SetImages(HIMAGELIST images);
    void Add(const std::string& caption, LPARAM data, int image = 0);
    int Count() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }
    void SetCaption(int index, const std::string& caption);
    LPARAM Data(int index) const;
    // The selected item, or -1.
    int Selected() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
    // Orders the items by `compare` of their numbers (negative, zero, positive).
    void Sort(const std::function<int(LPARAM, LPARAM)>& compare);
    void SetRedraw(bool redraw) { SendMessageA(hwnd_, WM_SETREDRAW, redraw ? TRUE : FALSE, 0); }
    // For an owner-data list (LVS_OWNERDATA) without images whose columns
    // its owner sizes with FitColumnsTo; call while the list is empty, with
    // an owner that answers for item 0 with an empty caption. Wine's control
    // measures every caption at its first paint with items, with a screen DC
    // for each (a tenth of a second for 5,000, the window frozen meanwhile),
    // and keeps that width for good: here it measures one empty caption.
    void SizeColumnsByOwner();
    // Makes the columns as wide as the widest of `captions` with the
    // control's own padding, and no narrower than its default.
    void FitColumnsTo(const std::vector<std::string>& captions);

private:
    Dpi dpi_;
};

// The tab control `tabs` shows all its tabs in one row without scroll
// arrows once it is `width` pixels wide: when the row is too long, the
// padding beside each caption shrinks step by step, down to
// kSmallestTabPadding, so captions never come closer than at 96 DPI; a row
// still too long wraps into more rows rather than hide tabs. Call once the
// control has its tabs. A control kept wider than its row while the tabs go
// in never makes its scroll arrows at all.
void FitTabRow(HWND tabs, int width, const Dpi& dpi);
// The least padding beside each caption of a tab, in design pixels: no more
// than the window's tabs keep at 96 DPI, with Wine's "MS Sans Serif" or a
// wider face.
constexpr int kSmallestTabPadding = 4;
// Whether every tab of `tabs` lies within `width` pixels, with no scroll arrows.
bool TabRowFits(HWND tabs, int width);
// For a tab control whose sheets cover its display area: it paints only
// what they leave to see, its row of tabs and the edges of its page.
void PaintAroundSheets(HWND tabs);

// One tooltip control for a whole window: shows the hints of buttons.
class Hints {
public:
    // Makes the hint window of `owner`'s controls. Hints added before wait
    // for it, so that a window can show before its hint window is made.
    void Create(HWND owner);
    void Add(HWND tool, const std::string& text);

private:
    void Register(HWND tool, const std::string& text);

    HWND tooltip_ = nullptr;
    std::vector<std::pair<HWND, std::string>> waiting_;
};

}  // namespace ui
