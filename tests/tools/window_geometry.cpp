// window_geometry TITLE: prints where the visible top-level window with that
// title lies on the screen as WIDTHxHEIGHT+LEFT+TOP, the form ImageMagick's
// -crop takes; exit code 1 when there is no such window.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    RECT bounds{};
    if (!window || !IsWindowVisible(window) || !GetWindowRect(window, &bounds))
        return 1;
    std::printf("%ldx%ld+%ld+%ld\n", bounds.right - bounds.left, bounds.bottom - bounds.top, bounds.left, bounds.top);
    return 0;
}
