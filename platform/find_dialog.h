#pragma once
// The system's modeless Find dialog (comdlg32's FindText).
#include <windows.h>
#include <commdlg.h>

namespace platform {

// Opens the dialog for `request`, which must outlive it; the dialog tells
// its owner with messages of the registered kind FINDMSGSTRING. Nullptr when
// it cannot be opened.
HWND OpenFindDialog(FINDREPLACEW& request);

}  // namespace platform
