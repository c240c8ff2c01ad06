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

class DpiChangeTest : public ::testing::Test {
protected:
    void SetUp() override { drive_c::WriteBytes("c:\\windows\\win.ini", "[windows]\r\nload=\r\n"); }
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

    // Windows scales the frame with the window; Wine keeps the frame of the
    // DPI the process started at. The rectangle suggested here gives the
    // window the client size of the start at 144 DPI, as Windows' would.
    const RECT outer = WindowRect(window);
    const SIZE client = ClientSize(window);
    const RECT target{window144.left, window144.top,
                      window144.left + client144.cx + (outer.right - outer.left - client.cx),
                      window144.top + client144.cy + (outer.bottom - outer.top - client.cy)};
    e2e::RemoteMemory suggested(program.Process(), sizeof(RECT));
    suggested.Write(&target, sizeof(target));
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), suggested.Address());
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
