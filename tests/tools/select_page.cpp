// select_page INDEX: clicks tab INDEX of the running QOR System Editor, as a
// user would, and returns once the program has handled the click, shown the page's values
// and painted.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "support/find_control.h"
#include "support/remote_memory.h"
#include "ui/control_ids.h"

namespace {

// SYSTEM INFO gathers its values on threads; its hidden Button35 is enabled
// again once they are all shown. Other pages have no such button.
void WaitForSystemInfoValues(HWND window) {
    HWND button35 = e2e::FindControlById(window, ids::Button(35));
    if (!button35 || !IsWindowVisible(GetParent(button35)))
        return;
    for (int waited = 0; waited < 30000 && !IsWindowEnabled(button35); waited += 10)
        Sleep(10);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const int index = std::atoi(argv[1]);
    HWND window = e2e::FindProgramWindow();
    HWND tabs = window ? GetDlgItem(window, ids::PageControl1) : nullptr;
    if (!tabs)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(tabs, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    const RECT item = e2e::RemoteRect(process, tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index));
    CloseHandle(process);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 60000, &result);
    SendMessageTimeoutA(tabs, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 60000, &result);
    WaitForSystemInfoValues(window);
    // Paint everything now, so that a screenshot taken next shows the page.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    return 0;
}
