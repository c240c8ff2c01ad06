#pragma once
// A control of another program's window by its id, searched among all the
// window's descendants (the pages' controls are children of their sheets).
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

inline HWND FindControlById(HWND window, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, MatchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace e2e
