#pragma once
// The program's main window, and a control of it by its id, searched among
// all the window's descendants (the pages' controls are children of their sheets).
#include <windows.h>

namespace e2e {

struct ControlSearch {
    int id;
    HWND found;
};

inline BOOL CALLBACK MatchControlId(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

// The visible top-level window of `className` and `title` (either null for
// any) of the program running as `processId`, or of any process when it is 0;
// null when none shows.
inline HWND FindShownWindow(DWORD processId, const char* className, const char* title) {
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, className, title)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(candidate, &process);
        if ((processId == 0 || process == processId) && IsWindowVisible(candidate))
            return candidate;
    }
    return nullptr;
}

// The visible main window of the program running as `processId`, or of any
// running copy when `processId` is 0; null when none shows.
inline HWND FindProgramWindow(DWORD processId = 0) { return FindShownWindow(processId, "TForm1", nullptr); }

inline HWND FindControlById(HWND window, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, MatchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace e2e
