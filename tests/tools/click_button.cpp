// click_button N: clicks ButtonN of the running QOR System Editor, as a user
// would, and returns once the program has handled the click.
#include <windows.h>

#include <cstdlib>

#include "support/find_control.h"
#include "ui/control_ids.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    HWND window = e2e::FindProgramWindow();
    HWND button = window ? e2e::FindControlById(window, ids::Button(std::atoi(argv[1]))) : nullptr;
    if (!button)
        return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
    return 0;
}
