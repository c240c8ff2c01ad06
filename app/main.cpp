// QOR System Editor: entry and message loop.
#include <windows.h>
#include <commctrl.h>

#include "ui/controls.h"
#include "ui/error_box.h"
#include "app/command_line.h"
#include "app/form.h"

namespace {

// DLLs are searched for in the system folder only, so that a DLL of the same
// name beside the program or in the current folder is never loaded.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    RestrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ui::GiveEditControlsTheirOwnDc();
    if (const std::optional<int> exitCode = RunCommandLine(std::vector<std::string>(__argv + 1, __argv + __argc)))
        return *exitCode;

    TForm1 form1;
    try {
        form1.Create(showCommand);
    } catch (const std::exception& error) {
        ShowException(error);
        return 1;
    }
    MSG message;
    // Wide messages, so that a character typed in an editor reaches it as typed,
    // not as the code page's nearest letter or "?".
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // A key can start work that fails, such as a search that first takes
        // in the rest of a long file: the failure shows, the key goes no
        // further, and the loop goes on.
        bool handled = true;
        GuardCallback([&] { handled = form1.PreTranslateMessage(message); });
        if (handled)
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
