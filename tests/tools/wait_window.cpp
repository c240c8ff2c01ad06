// wait_window TITLE SECONDS: waits until a visible top-level window with that
// title has handled its pending messages; exit code 0 when it has, 1 if not.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
    while (GetTickCount() < deadline) {
        HWND window = FindWindowA(nullptr, argv[1]);
        DWORD_PTR result;
        if (window && IsWindowVisible(window) &&
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
            return 0;
        Sleep(50);
    }
    return 1;
}
