// A reference for the 8 MB page: a Win32 program whose window holds only an
// edit control of the editor's size, style and font, with the program's
// manifest. A WM_APP message makes it read the file named on its command line
// and give the edit control its bytes, as a click makes the program show a
// page's file: what that costs beyond the edit control's own work is what
// being a program of its own costs.
#include <windows.h>

#include <string>

namespace {

HWND edit;
std::string path;  // the file to show: the command line's argument

std::string FileBytes(const char* path) {
    std::string bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        SetWindowTextA(edit, FileBytes(path.c_str()).c_str());
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "EditWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("EditWindow", "Edit window", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 151, 142, 810, 479,
                                nullptr, nullptr, instance, nullptr);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0,
                           790, 393, window, nullptr, instance, nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    HFONT bold = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
    path = commandLine;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
