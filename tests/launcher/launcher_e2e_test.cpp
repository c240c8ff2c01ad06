// The real program under Wine: the CONTROL PANEL page.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/control_ids.h"
#include "support/program.h"
#include "support/remote_memory.h"
#include "support/screen_picture.h"
#include "support/tabs.h"

namespace {

int IndexOf(const std::vector<std::string>& items, const std::string& caption) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == caption)
            return static_cast<int>(i);
    ADD_FAILURE() << "no item " << caption;
    return -1;
}

RECT IconRect(e2e::Program& program, HWND list, int index) {
    return e2e::RemoteRect(program.Process(), list, LVM_GETITEMRECT, static_cast<WPARAM>(index), {LVIR_ICON, 0, 0, 0});
}

}  // namespace

TEST(ControlPanelPage, ListsTheItemsSortedAndEveryIconShows) {
    e2e::Program program;
    program.SelectPage(kControlPanelTab);
    const std::vector<std::string> items = program.ListItems(ids::ListView(1));
    ASSERT_EQ(items.size(), 22u);
    EXPECT_EQ(items.front(), "Accessibility");
    EXPECT_EQ(items[11], "Keyboard");
    EXPECT_EQ(items.back(), "Windows Control Panel");

    HWND list = program.Control(ids::ListView(1));
    RECT client{}, sheet{};
    GetClientRect(list, &client);
    GetClientRect(GetParent(list), &sheet);
    EXPECT_EQ(client.right + 4, sheet.right) << "the list fills its page";

    // The page is painted once the first item's icon shows.
    const auto iconPixels = [&](const ScreenPicture& picture, int item) {
        return picture.PixelsNotOf(GetSysColor(COLOR_WINDOW), list, IconRect(program, list, item));
    };
    e2e::PollFor([&] { return iconPixels(ScreenPicture(program.Window()), 0) >= 20; }, 5000);
    const ScreenPicture picture(program.Window());
    picture.Save("control_panel_page.bmp");
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_GE(iconPixels(picture, static_cast<int>(i)), 20u) << items[i] << " shows no icon";
    }
}

// Items whose applet or window Wine ships, and the window each opens.
struct Opens {
    const char* caption;
    const char* window;
};
const Opens kWineOpens[] = {
    {"Software", "Add/Remove Programs"},
    {"Game Controller", "Game Controllers"},
    {"Internet", "Internet Settings"},
    {"Fonts", "Fonts"},
    {"Windows Control Panel", "Wine Control Panel"},
};

TEST(ControlPanelPage, ItemsOpenTheirWindows) {
    e2e::Program program;
    program.SelectPage(kControlPanelTab);
    const std::vector<std::string> items = program.ListItems(ids::ListView(1));
    for (const Opens& item : kWineOpens) {
        const auto opened = [&item] { return FindWindowA(nullptr, item.window); };
        program.DoubleClickListItem(ids::ListView(1), IndexOf(items, item.caption));
        EXPECT_TRUE(e2e::PollFor([&] { return opened() != nullptr; })) << item.caption;
        PostMessageA(opened(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(e2e::PollFor([&] { return opened() == nullptr; })) << item.caption;
    }
}

TEST(ControlPanelPage, RenamedItemMovesToItsPlace) {
    e2e::Program program;
    program.SelectPage(kControlPanelTab);
    program.RenameListItem(ids::ListView(1), IndexOf(program.ListItems(ids::ListView(1)), "Mouse"), "Zebra");
    const std::vector<std::string> items = program.ListItems(ids::ListView(1));
    ASSERT_EQ(items.size(), 22u);
    EXPECT_EQ(items.back(), "Zebra");
    EXPECT_EQ(items[13], "Network");
}

TEST(ControlPanelPage, EnterStartsTheSelectedItemButOnlyEndsAnEdit) {
    e2e::Program program;
    program.SelectPage(kControlPanelTab);
    const int list = ids::ListView(1);
    const auto opened = [] { return FindWindowA(nullptr, "Game Controllers"); };
    program.ClickListItem(list, IndexOf(program.ListItems(list), "Game Controller"));
    ASSERT_TRUE(e2e::PollFor([&] { return program.FocusedControl() == program.Control(list); }));
    program.PressKey(VK_RETURN);
    ASSERT_TRUE(e2e::PollFor([&] { return opened() != nullptr; })) << "Enter started nothing";
    PostMessageA(opened(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::PollFor([&] { return opened() == nullptr; }));

    // Enter in the caption's editor keeps the new caption and starts nothing.
    SetForegroundWindow(program.Window());
    SendMessageA(program.Control(list), LVM_EDITLABELA, IndexOf(program.ListItems(list), "Game Controller"), 0);
    ASSERT_TRUE(e2e::PollFor([&] { return GetParent(program.FocusedControl()) == program.Control(list); }));
    program.TypeKeys("Joystick");
    program.PressKey(VK_RETURN);
    EXPECT_TRUE(e2e::PollFor(
        [&] {
            const std::vector<std::string> items = program.ListItems(list);
            return std::find(items.begin(), items.end(), "Joystick") != items.end();
        },
        5000));
    EXPECT_FALSE(e2e::PollFor([&] { return opened() != nullptr; }, 2000)) << "Enter ending the edit started the item";
}
