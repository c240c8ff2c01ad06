#include "ui/tab_sheet.h"

#include "core/app_error.h"

namespace ui {

namespace {
const char kSheetClass[] = "TTabSheet";
}  // namespace

void TabSheet::Create(HWND parent, int id, bool visible, PageHandler& handler) {
    WNDCLASSEXA sheetClass{};
    sheetClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    sheetClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    sheetClass.lpszClassName = kSheetClass;
    handler_ = &handler;
    CreateWindowOf(sheetClass,
                   {.style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0U),
                    .exStyle = WS_EX_CONTROLPARENT,
                    .x = 0,
                    .y = 0,
                    .width = 0,
                    .height = 0,
                    .parent = parent,
                    .id = id},
                   "Cannot create the page window");
}

LRESULT TabSheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED)
                clicks_.Run(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return handler_->Notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (HBRUSH brush = handler_->ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_PAINT: {
            const PaintDc paint(hwnd_);
            handler_->Paint(paint.Get());
            return 0;
        }
        case WM_TIMER:
            handler_->Timer(wParam);
            return 0;
        case WM_SIZE:
            handler_->Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETCURSOR:
            // The page's controls ask here first, by DefWindowProc.
            if (LOWORD(lParam) == HTCLIENT && handler_->Busy()) {
                SetCursor(LoadCursor(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            // A multi-line edit asks its parent to close on Esc: a page never closes.
            return 0;
    }
    if (message >= WM_APP && message <= 0xBFFF) {
        handler_->Posted(message);
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace ui
