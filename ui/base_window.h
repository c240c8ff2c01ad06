#pragma once
// A window class whose procedure is a member function: CreateWindowEx hands
// the object over as its creation parameter, and the window keeps it from
// WM_NCCREATE on. No exception leaves the procedure. The handle is cleared
// when the window is gone, so an owner can tell a live window from a dead one.
#include <windows.h>

#include "core/app_error.h"
#include "ui/error_box.h"

namespace ui {

// Where and how a window of a BaseWindow class is made.
struct WindowArgs {
    const char* title = "";
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;  // the parent of a child, the owner of a top-level window
    int id = 0;             // a child's control id
};

template <typename Derived>
class BaseWindow {
public:
    HWND Handle() const { return hwnd_; }

protected:
    // Registers `windowClass` with this procedure the first time a window of
    // Derived is made, then makes the window. Throws AppError(`failure`).
    void CreateWindowOf(WNDCLASSEXA windowClass, const WindowArgs& args, const char* failure) {
        static const bool registered = [&windowClass] {
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = &BaseWindow::WindowProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            return RegisterClassExA(&windowClass) != 0;
        }();
        if (!registered ||
            !CreateWindowExA(args.exStyle, windowClass.lpszClassName, args.title, args.style, args.x, args.y,
                             args.width, args.height, args.parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), GetModuleHandleA(nullptr), this))
            throw AppError(failure);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            self->hwnd_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcA(window, message, wParam, lParam);
        LRESULT result = 0;
        GuardCallback([&] { result = self->HandleMessage(message, wParam, lParam); });
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};

}  // namespace ui
