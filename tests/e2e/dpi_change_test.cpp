// A change of DPI on the real window: one program started at 144 DPI opens
// inside the 1024x748 work area of the test's desktop; another started at 96
// and told by WM_DPICHANGED that it now shows at 144 takes the rectangle
// given and lays out its pages, and its Compare window, as the first.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/find_control.h"
#include "support/program.h"
#include "support/remote_memory.h"

namespace {

// The prefix's DPI for the programs started while this lives. Wine reads it
// in parts of a program, such as its fonts, only when first needed.
class PrefixDpi {
public:
    explicit PrefixDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                        nullptr);
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~PrefixDpi() {
        RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    PrefixDpi(const PrefixDpi&) = delete;
    PrefixDpi& operator=(const PrefixDpi&) = delete;

private:
    HKEY key_ = nullptr;
};

// A window's rectangle, its client size, and where each of its controls
// lies, by the ids of its parent and its own, in client coordinates.
struct Snapshot {
    RECT window{};
    SIZE client{};
    std::map<std::pair<int, int>, RECT> controls;
};

BOOL CALLBACK Record(HWND child, LPARAM snapshot) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetAncestor(child, GA_ROOT), reinterpret_cast<POINT*>(&bounds), 2);
    reinterpret_cast<Snapshot*>(snapshot)->controls[{GetDlgCtrlID(GetParent(child)), GetDlgCtrlID(child)}] = bounds;
    return TRUE;
}

Snapshot Take(HWND window) {
    Snapshot snapshot;
    GetWindowRect(window, &snapshot.window);
    RECT client{};
    GetClientRect(window, &client);
    snapshot.client = {client.right, client.bottom};
    EnumChildWindows(window, Record, reinterpret_cast<LPARAM>(&snapshot));
    return snapshot;
}

// The main window once every page is built.
Snapshot TakeMain(e2e::Program& program) {
    // Pages are built one at a time after the window shows, ABOUT's sheet (7) last.
    for (int sheet = 1; sheet <= 10; ++sheet)
        EXPECT_TRUE(e2e::PollFor([&] { return program.FindControl(ids::TabSheet(sheet)); })) << "sheet " << sheet;
    program.WaitUntilIdle();
    return Take(program.Window());
}

HWND OpenCompare(e2e::Program& program) {
    program.Click(ids::Button(42));
    const char title[] = "Compare - c:\\windows\\win.ini with c:\\windows\\winBU.ini";
    HWND found = nullptr;
    e2e::PollFor([&] { return (found = e2e::FindShownWindow(program.ProcessId(), nullptr, title)) != nullptr; });
    return found;
}

// The size of the first line of the Compare window's list: the width its
// column is given, and the height its font gives.
SIZE LineSize(e2e::Program& program, HWND compare) {
    const RECT line =
        e2e::RemoteRect(program.Process(), GetDlgItem(compare, 1), LVM_GETITEMRECT, 0, RECT{LVIR_BOUNDS, 0, 0, 0});
    return {line.right - line.left, line.bottom - line.top};
}

// Tells `window` it now shows at 144 DPI, with the client size `reference`
// has there. Windows' suggested rectangle scales the frame too; Wine keeps
// the frame of the DPI the program started at, so it is made here.
RECT ChangeTo144(e2e::Program& program, HWND window, const Snapshot& reference) {
    const Snapshot now = Take(window);
    const RECT target{
        reference.window.left, reference.window.top,
        reference.window.left + reference.client.cx + (now.window.right - now.window.left - now.client.cx),
        reference.window.top + reference.client.cy + (now.window.bottom - now.window.top - now.client.cy)};
    e2e::RemoteMemory memory(program.Process(), sizeof(RECT));
    memory.Write(&target, sizeof(target));
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), memory.Address());
    return target;
}

void ExpectSameLayout(const Snapshot& changed, const Snapshot& reference) {
    for (const auto& [key, bounds] : changed.controls)
        EXPECT_TRUE(reference.controls.count(key))
            << "control " << key.second << " on " << key.first << " only after the change";
    for (const auto& [key, bounds] : reference.controls) {
        const auto found = changed.controls.find(key);
        if (found == changed.controls.end()) {
            ADD_FAILURE() << "control " << key.second << " on " << key.first << " gone after the change";
            continue;
        }
        const RECT& after = found->second;
        EXPECT_TRUE(EqualRect(&after, &bounds))
            << "control " << key.second << " on " << key.first << ": " << after.left << "," << after.top << "-"
            << after.right << "," << after.bottom << " where a start at 144 DPI has " << bounds.left << ","
            << bounds.top << "-" << bounds.right << "," << bounds.bottom;
    }
}

}  // namespace

TEST(DpiChange, EveryPageAndCompareAreLaidOutForTheNewDpiAsAtStartAtIt) {
    drive_c::WriteBytes("c:\\windows\\win.ini", "[windows]\r\nload=\r\n");
    drive_c::WriteBytes("c:\\windows\\winBU.ini", "[windows]\r\nload=old\r\n");
    Snapshot main144, compare144;
    SIZE line144{};
    {
        const PrefixDpi dpi(144);
        e2e::Program at144;
        ASSERT_TRUE(at144.Window());
        main144 = TakeMain(at144);
        HWND compare = OpenCompare(at144);
        compare144 = Take(compare);
        line144 = LineSize(at144, compare);
    }
    // 1215 pixels wide by design, the window opened as wide as the work area.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(main144.window.left, work.left);
    EXPECT_EQ(main144.window.right, work.right);
    EXPECT_TRUE(main144.window.top >= work.top && main144.window.bottom <= work.bottom);

    e2e::Program program;
    HWND window = program.Window();
    ASSERT_TRUE(window);
    ASSERT_NE(TakeMain(program).client.cx, main144.client.cx);
    HWND compare = OpenCompare(program);
    ASSERT_NE(Take(compare).client.cx, compare144.client.cx);
    const RECT target = ChangeTo144(program, window, main144);
    const Snapshot changed = TakeMain(program);
    EXPECT_TRUE(EqualRect(&changed.window, &target)) << "the window did not take the suggested rectangle";
    ExpectSameLayout(changed, main144);

    const RECT compareTarget = ChangeTo144(program, compare, compare144);
    const Snapshot compareChanged = Take(compare);
    EXPECT_TRUE(EqualRect(&compareChanged.window, &compareTarget));
    ExpectSameLayout(compareChanged, compare144);
    const SIZE line = LineSize(program, compare);
    EXPECT_EQ(line.cx, line144.cx);
    EXPECT_EQ(line.cy, line144.cy);
    drive_c::Remove("c:\\windows\\winBU.ini");
}
