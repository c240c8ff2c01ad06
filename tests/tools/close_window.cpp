// close_window TITLE SECONDS: closes the visible top-level window with that
// title as its close box does and waits until it is gone; exit code 0 when
// it went, 1 if not.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    while (GetTickCount() < deadline) {
        if (!window || !IsWindow(window))
            return 0;
        Sleep(50);
    }
    return 1;
}
