#include "platform/find_dialog.h"

#include "platform/system_library.h"

namespace platform {

HWND OpenFindDialog(FINDREPLACEW& request) {
    // Loaded on first use: start-up does not wait for the dialog's DLLs.
    static const auto findText = SystemFunction<decltype(&::FindTextW)>(LoadSystemLibrary("comdlg32.dll"), "FindTextW");
    return findText ? findText(&request) : nullptr;
}

}  // namespace platform
