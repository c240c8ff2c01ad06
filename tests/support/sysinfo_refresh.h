#pragma once
// Waiting in a unit test for a SYSTEM INFO page's refresh, whose workers
// report to the page through its sheet.
#include <windows.h>

#include "sysinfo/sysinfo_page.h"

// Handles the calling thread's messages until `page`'s refresh is over, at
// most 15 s; false on time-out. The sheet of a page under test is a plain
// window, so the page gets its workers' news here directly.
inline bool WaitForRefresh(SysInfoPage& page) {
    const DWORD start = GetTickCount();
    MSG message;
    while (page.Refreshing() && GetTickCount() - start < 15000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == kWorkPosted)
                page.WorkPosted();
            else
                DispatchMessageA(&message);
        }
    }
    return !page.Refreshing();
}
