// The real window and a change of DPI: at start at 144 DPI it opens inside
// the 1024x748 work area of the test's virtual desktop; started at 96 DPI
// and told by WM_DPICHANGED that it now shows at 144, it takes the
// rectangle it is given and lays every page out as a start at 144 does.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/remote_memory.h"

namespace {

// The DPI of programs started in the prefix while this lives; the earlier
// setting comes back after.
class PrefixDpi {
public:
    explicit PrefixDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key_, nullptr);
        DWORD value = 0, size = sizeof(value);
        if (RegQueryValueExA(key_, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
            previous_ = value;
        Set(dpi);
    }
    ~PrefixDpi() {
        if (previous_)
            Set(*previous_);
        else
            RegDeleteValueA(key_, kValue);
        RegCloseKey(key_);
    }
    PrefixDpi(const PrefixDpi&) = delete;
    PrefixDpi& operator=(const PrefixDpi&) = delete;

private:
    static constexpr char kValue[] = "LogPixels";
    void Set(DWORD dpi) {
        RegSetValueExA(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }

    HKEY key_ = nullptr;
    std::optional<DWORD> previous_;
};

// Where each control of the window lies, keyed by its parent's id and its
// own, in the window's client coordinates; with the caption of each label
// and button, whose size follows the font.
struct Layout {
    std::map<std::pair<int, int>, RECT> bounds;
    std::map<std::pair<int, int>, bool> shown;
};

BOOL CALLBACK Record(HWND child, LPARAM layout) {
    auto& laidOut = *reinterpret_cast<Layout*>(layout);
    const std::pair<int, int> key{GetDlgCtrlID(GetParent(child)), GetDlgCtrlID(child)};
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetAncestor(child, GA_ROOT), reinterpret_cast<POINT*>(&bounds), 2);
    laidOut.bounds[key] = bounds;
    laidOut.shown[key] = IsWindowVisible(child) != FALSE;
    return TRUE;
}

// The layout once every page is built and the program is idle.
Layout LaidOut(e2e::Program& program) {
    const bool built = e2e::PollFor([&] {
        for (int sheet = 1; sheet <= 10; ++sheet)
            if (!program.FindControl(ids::TabSheet(sheet)))
                return false;
        return true;
    });
    EXPECT_TRUE(built) << "not every page was built";
    program.WaitUntilIdle();
    Layout layout;
    EnumChildWindows(program.Window(), Record, reinterpret_cast<LPARAM>(&layout));
    return layout;
}

std::string Describe(const std::pair<int, int>& key, const RECT& r) {
    std::ostringstream text;
    text << "control " << key.second << " on " << key.first << " at " << r.left << "," << r.top << "-" << r.right << ","
         << r.bottom;
    return text.str();
}

RECT WindowRect(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// The rectangle that gives `window` the client size `client` at `topLeft`,
// with the frame the window has now. Windows scales the frame with the
// window; Wine keeps the frame of the DPI the process started at, so the
// rectangle Windows would suggest is made here from the client size.
RECT KeepingClientSize(HWND window, POINT topLeft, SIZE client) {
    const RECT outer = WindowRect(window);
    const SIZE now = ClientSize(window);
    return {topLeft.x, topLeft.y, topLeft.x + client.cx + (outer.right - outer.left - now.cx),
            topLeft.y + client.cy + (outer.bottom - outer.top - now.cy)};
}

// Sends WM_DPICHANGED for `dpi` with `suggested` in the program's memory.
void SendDpiChanged(e2e::Program& program, HWND window, int dpi, const RECT& suggested) {
    e2e::RemoteMemory memory(program.Process(), sizeof(RECT));
    memory.Write(&suggested, sizeof(suggested));
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), memory.Address());
}

constexpr char kCompareTitle[] = "Compare - c:\\windows\\win.ini with c:\\windows\\winBU.ini";

// WIN.INI's Compare window, opened from its page.
HWND OpenCompare(e2e::Program& program) {
    program.Click(ids::Button(42));
    HWND found = nullptr;
    e2e::PollFor([&] {
        found = FindWindowA(nullptr, kCompareTitle);
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        return found && process == program.ProcessId() && IsWindowVisible(found);
    });
    return found;
}

// What of the Compare window follows its DPI: the list's place and its line height.
struct CompareLook {
    RECT list{};
    LRESULT lineHeight = 0;
};

CompareLook LookOf(HWND compare) {
    CompareLook look;
    HWND list = GetDlgItem(compare, 1);
    GetWindowRect(list, &look.list);
    MapWindowPoints(nullptr, compare, reinterpret_cast<POINT*>(&look.list), 2);
    look.lineHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    return look;
}

class DpiChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_c::WriteBytes("c:\\windows\\win.ini", "[windows]\r\nload=\r\n");
        drive_c::WriteBytes("c:\\windows\\winBU.ini", "[windows]\r\nload=old\r\n");
    }
    void TearDown() override { drive_c::Remove("c:\\windows\\winBU.ini"); }
};

}  // namespace

TEST_F(DpiChangeTest, EveryPageIsLaidOutForTheNewDpiAsAtStartAtIt) {
    Layout at144;
    RECT window144{};
    SIZE client144{};
    int textWidth144 = 0;
    {
        const PrefixDpi dpi(144);
        e2e::Program program;
        ASSERT_TRUE(program.Window());
        window144 = WindowRect(program.Window());
        client144 = ClientSize(program.Window());
        at144 = LaidOut(program);
        textWidth144 = program.ListTextWidth(ids::ListView(1), "Add/Remove Programs");
        // The design rectangle at 144 DPI, 1215 wide, would run past the
        // right edge: it opens at the left edge, as wide as the work area.
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(window144.left, work.left);
        EXPECT_EQ(window144.right, work.right);
        EXPECT_GE(window144.top, work.top);
        EXPECT_LE(window144.bottom, work.bottom);
    }
    e2e::Program program;
    HWND window = program.Window();
    ASSERT_TRUE(window);
    const Layout at96 = LaidOut(program);
    ASSERT_NE(at96.bounds.size(), 0u);
    ASSERT_EQ(at96.bounds.size(), at144.bounds.size()) << "the two starts made different controls";
    EXPECT_NE(WindowRect(window).right - WindowRect(window).left, window144.right - window144.left);

    const RECT target = KeepingClientSize(window, {window144.left, window144.top}, client144);
    SendDpiChanged(program, window, 144, target);
    const Layout changed = LaidOut(program);

    const RECT now = WindowRect(window);
    EXPECT_TRUE(EqualRect(&now, &target)) << "the window did not take the suggested rectangle";
    int differing = 0;
    for (const auto& [key, bounds] : at144.bounds) {
        ASSERT_TRUE(changed.bounds.count(key)) << Describe(key, bounds) << " is missing";
        const RECT& after = changed.bounds.at(key);
        if (!EqualRect(&after, &bounds) && ++differing <= 10)
            ADD_FAILURE() << Describe(key, after) << ", at start at 144 DPI " << Describe(key, bounds);
        EXPECT_EQ(changed.shown.at(key), at144.shown.at(key)) << Describe(key, bounds);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(program.ListTextWidth(ids::ListView(1), "Add/Remove Programs"), textWidth144)
        << "CONTROL PANEL's list is not in the font of 144 DPI";
}

TEST_F(DpiChangeTest, CompareTakesTheNewRectangleAndLinesOfTheNewDpi) {
    CompareLook at144;
    RECT window144{};
    SIZE client144{};
    {
        const PrefixDpi dpi(144);
        e2e::Program program;
        ASSERT_TRUE(program.Window());
        HWND compare = OpenCompare(program);
        ASSERT_TRUE(compare) << "no window titled " << kCompareTitle;
        at144 = LookOf(compare);
        window144 = WindowRect(compare);
        client144 = ClientSize(compare);
    }
    e2e::Program program;
    ASSERT_TRUE(program.Window());
    HWND compare = OpenCompare(program);
    ASSERT_TRUE(compare) << "no window titled " << kCompareTitle;
    ASSERT_LT(LookOf(compare).lineHeight, at144.lineHeight);
    const RECT target = KeepingClientSize(compare, {window144.left + 10, window144.top + 10}, client144);
    SendDpiChanged(program, compare, 144, target);
    const RECT now = WindowRect(compare);
    EXPECT_TRUE(EqualRect(&now, &target)) << "the window did not take the suggested rectangle";
    const CompareLook changed = LookOf(compare);
    EXPECT_EQ(changed.lineHeight, at144.lineHeight);
    EXPECT_TRUE(EqualRect(&changed.list, &at144.list))
        << changed.list.left << "," << changed.list.top << "-" << changed.list.right << "," << changed.list.bottom;
}
