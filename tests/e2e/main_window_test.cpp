// The real program: its window, its pages, start-up and its error boxes.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/find_control.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

const char kWinIni[] = "c:\\windows\\win.ini";

// The program stopped the moment its window shows, while `unmade` (a
// control the program makes once shown) does not exist yet: input the test
// sends now queues up ahead of that work, as a quick user's would. The
// program may outrun the test to that moment, so a few starts are tried.
struct HeldAtFirstSight {
    std::unique_ptr<e2e::Program> program;
    HWND window = nullptr;
};

HeldAtFirstSight StartAndHoldBefore(int unmade) {
    for (int start = 0; start < 5; ++start) {
        auto program = std::make_unique<e2e::Program>();
        HWND window = program->FirstSight();
        if (!window)
            break;
        // Keys go to the foreground window's queue: the window takes the foreground as it shows.
        e2e::PollFor([&] { return GetForegroundWindow() == window; }, 15000, 1);
        program->Suspend();
        if (!e2e::FindControlById(window, unmade))
            return {std::move(program), window};
        program->Resume();
    }
    ADD_FAILURE() << "the program made control " << unmade << " before the test could stop it, five times";
    return {};
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { drive_c::WriteBytes(kWinIni, "[windows]\r\nload=\r\n"); }
};

}  // namespace

TEST_F(MainWindowTest, OpensAtItsDesignPlaceWithTenPagesAndWinIniLoaded) {
    e2e::Program program;
    HWND window = program.Window();
    ASSERT_TRUE(window);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "QOR System Editor");
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 151);
    EXPECT_EQ(outer.top, 142);
    EXPECT_EQ(outer.right - outer.left, 810);
    EXPECT_EQ(outer.bottom - outer.top, 479);
    EXPECT_EQ(program.TabCaptions(),
              (std::vector<std::string>{"WINI.INI", "SYSTEM.INI", "BOOT.INI", "CONTROL.INI", "AUTOEXEC.BAT",
                                        "CONFIG.SYS", "REGISTRY SETTINGS", "CONTROL PANEL", "SYSTEM INFO", "ABOUT"}));
    EXPECT_EQ(program.SelectedPage(), 0);
    EXPECT_EQ(program.Text(ids::Memo(1)), "[windows]\r\nload=\r\n");
    EXPECT_TRUE(program.IsVisible(ids::Memo(1)));
    EXPECT_FALSE(program.IsVisible(ids::Memo(2)));
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(MainWindowTest, AllTenTabsShowInOneRowWithoutScrollArrows) {
    e2e::Program program;
    ASSERT_TRUE(program.Window());
    HWND tabs = program.Control(ids::PageControl1);
    RECT client{};
    GetClientRect(tabs, &client);
    for (int index = 0; index < 10; ++index) {
        const RECT item = program.TabRect(index);
        EXPECT_GT(item.right, item.left) << "tab " << index;
        EXPECT_GE(item.left, 0) << "tab " << index;
        EXPECT_LE(item.right, client.right) << "tab " << index;
    }
    EXPECT_EQ(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    HWND arrows = FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
    EXPECT_FALSE(arrows && IsWindowVisible(arrows)) << "scroll arrows show";
}

TEST_F(MainWindowTest, PageControlFollowsTheWindowWhenResizedAndWhenRestoredFromTheTaskbar) {
    e2e::Program program;
    HWND window = program.Window();
    ASSERT_TRUE(window);
    const auto expectPageControlFillsTheWindow = [&](const char* when) {
        program.WaitUntilIdle();
        RECT client{}, tabs = program.Bounds(ids::PageControl1);
        GetClientRect(window, &client);
        EXPECT_EQ(tabs.right - tabs.left, client.right) << when;
        EXPECT_EQ(tabs.bottom - tabs.top, client.bottom) << when;
    };
    SetWindowPos(window, nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER);
    expectPageControlFillsTheWindow("resized");
    ShowWindow(window, SW_MINIMIZE);
    program.WaitUntilIdle();
    ShowWindow(window, SW_RESTORE);
    expectPageControlFillsTheWindow("restored");
    const RECT editor = program.Bounds(ids::Memo(1));
    EXPECT_EQ(editor.right - editor.left, 790) << "the editor keeps its design size";
}

TEST_F(MainWindowTest, WithoutWinIniOneErrorBoxThenTheWindowWithAnEmptyEditor) {
    drive_c::Remove(kWinIni);
    e2e::Program program;
    const auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Cannot open file c:\\windows\\win.ini.");
    EXPECT_EQ(box->caption, "qorsysed");  // from qorsysed.exe: the first letter as it stands
    EXPECT_TRUE(box->hasErrorIcon);
    program.PressOk(*box);
    ASSERT_TRUE(program.Window());
    EXPECT_EQ(program.Text(ids::Memo(1)), "");
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
    e2e::Program program;
    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    const auto code = program.WaitForExit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowTest, APageChosenWhileTheOtherPagesAreStillBeingBuiltShowsWholeAndOnTop) {
    // The pages after the first are built one by one once the window shows;
    // a tab clicked at once gets its page built on the spot.
    RECT tab{};
    {
        e2e::Program settled;
        tab = settled.TabRect(kControlPanelTab);
    }
    HeldAtFirstSight held = StartAndHoldBefore(ids::TabSheet(9));  // CONTROL PANEL's page
    ASSERT_TRUE(held.program);
    e2e::Program& program = *held.program;
    HWND window = held.window;
    HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tabs, WM_LBUTTONUP, 0, at);
    program.Resume();

    ASSERT_EQ(program.Window(), window);
    program.WaitUntilIdle();
    EXPECT_EQ(program.SelectedPage(), 7);
    EXPECT_FALSE(program.IsVisible(ids::Memo(1)));
    HWND list = program.Control(ids::ListView(1));
    RECT shown{};
    GetWindowRect(list, &shown);
    const POINT centre{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(centre), list) << "the page lies under the tab control";
    RECT display{};
    GetClientRect(tabs, &display);
    EXPECT_GT(shown.bottom - shown.top, (display.bottom - display.top) * 3 / 4) << "the page is not sized to the tabs";
}

TEST_F(MainWindowTest, KeysPressedTheMomentTheWindowShowsReachWinInisButtons) {
    // WIN.INI first shows without its buttons; they are made before the
    // program reads a key, so Tab and Enter pressed at once still back up.
    const char backUp[] = "c:\\windows\\winBU.ini";
    drive_c::Remove(backUp);  // Restore and Compare stay disabled, out of Tab's way
    HeldAtFirstSight held = StartAndHoldBefore(ids::Button(1));
    ASSERT_TRUE(held.program);
    e2e::Program& program = *held.program;
    HWND window = held.window;
    for (int i = 0; i < 2; ++i)
        program.PressKeyIn(window, VK_TAB);  // the editor, then Back Up
    program.PressKeyIn(window, VK_RETURN);
    program.Resume();

    ASSERT_EQ(program.Window(), window);
    program.WaitUntilIdle();
    EXPECT_EQ(program.FocusedControl(), program.Control(ids::Button(1)));
    EXPECT_TRUE(e2e::PollFor([&] { return drive_c::Exists(backUp); }));
    EXPECT_EQ(drive_c::ReadBytes(backUp), "[windows]\r\nload=\r\n");
    drive_c::Remove(backUp);
}
