#pragma once
// A window class whose procedure is a member function: CreateWindowEx hands
// the object over as its creation parameter, and the window keeps it from
// WM_NCCREATE on. No exception leaves the procedure.
#include <windows.h>

#include "ui/error_box.h"

namespace ui {

template <typename Derived>
class BaseWindow {
public:
    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process, with this procedure.
    static void Register(WNDCLASSEXA windowClass) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &BaseWindow::WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        RegisterClassExA(&windowClass);
    }

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
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace ui
