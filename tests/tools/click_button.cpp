// click_button N: clicks ButtonN of the running QOR System Editor, as a user
// would, and returns once the program has handled the click.
#include <windows.h>

#include <cstdlib>

#include "ui/control_ids.h"

namespace {

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK FindControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowA("TForm1", nullptr);
    Search search{ids::Button(std::atoi(argv[1])), nullptr};
    if (window) EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(search.found, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
    return 0;
}
