// A second reference for start-up: a Win32 program that opens a window with
// only the controls of the program's first screen (a tab control of ten
// tabs, a multi-line edit and four push buttons), with the same common
// controls, and nothing else. What it costs over an empty window is what
// drawing those controls costs.
#include <windows.h>
#include <commctrl.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND Child(const char* className, const char* text, DWORD style, RECT bounds, HWND parent, HFONT font) {
    HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                                 bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "FirstScreen";
    RegisterClassA(&windowClass);
    windowClass.lpszClassName = "Sheet";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("FirstScreen", "First screen", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 151, 142, 810,
                                479, nullptr, nullptr, instance, nullptr);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HFONT bold = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    RECT client;
    GetClientRect(window, &client);
    HWND tabs = Child(WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, client, window, font);
    const char* const captions[] = {"WINI.INI",   "SYSTEM.INI",        "BOOT.INI",      "CONTROL.INI", "AUTOEXEC.BAT",
                                    "CONFIG.SYS", "REGISTRY SETTINGS", "CONTROL PANEL", "SYSTEM INFO", "ABOUT"};
    for (int i = 0; i < 10; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT page = client;
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    HWND sheet = Child("Sheet", "", WS_CLIPSIBLINGS, page, window, font);
    SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Child("EDIT", "[windows]\r\nload=\r\n", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP,
          {0, 0, 790, 393}, sheet, bold);
    const char* const buttons[] = {"Restore", "Compare", "Back Up", "Save"};
    for (int i = 0; i < 4; ++i)
        Child("BUTTON", buttons[i], BS_PUSHBUTTON | WS_TABSTOP, {432 + 88 * i, 397, 521 + 88 * i, 422}, sheet, font);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
