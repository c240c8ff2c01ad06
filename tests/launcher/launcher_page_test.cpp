#include "launcher/launcher_page.h"

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/fake_shell.h"
#include "support/fake_system_info.h"
#include "support/scratch_window.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kCaptionOrder[][32] = {
    "Accessibility",
    "Add New Hardware",
    "Change Background Picture",
    "Date/Time Windows",
    "DialUp Network",
    "Display Properties",
    "E-Mail",
    "Energy",
    "Fonts",
    "Game Controller",
    "Internet",
    "Keyboard",
    "Modems",
    "Mouse",
    "Network",
    "ODBC",
    "Printers",
    "Regional Options",
    "Software",
    "Sounds/Multimedia",
    "System",
    "Windows Control Panel",
};

std::string Applet(const std::string& applet) {
    return "StartProgram(\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\", \"rundll32.exe shell32.dll,Control_RunDLL " + applet +
           "\", 1)";
}

struct Expected {
    const char* caption;
    std::string call;
};
const Expected kCommands[] = {
    {"Accessibility", Applet("access.cpl")},
    {"Add New Hardware", Applet("sysdm.cpl,@1")},
    {"Change Background Picture", Applet("Desk.cpl,,0")},
    {"Date/Time Windows", Applet("timedate.cpl")},
    {"DialUp Network", "StartProgram(\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\", \"rundll32.exe rnaui.dll,RnaWizard\", 1)"},
    {"Display Properties", Applet("Desk.cpl")},
    {"E-Mail", Applet("MLCFG32.CPL")},
    {"Energy", Applet("Powercfg.cpl")},
    {"Fonts", "ShellExecuteA(null, \"open\", \"fonts\", \"\", \"c:\\windows\", 5)"},
    {"Game Controller", Applet("joy.cpl")},
    {"Internet", Applet("inetcpl.cpl")},
    {"Keyboard",
     "StartProgram(\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\", "
     "\"rundll32.exe shell32.dll,Control_RunDLL main.cpl,@1\", 1)"},
    {"Modems", Applet("modem.cpl")},
    {"Mouse", Applet("main.cpl")},
    {"Network", Applet("netcpl.cpl")},
    {"ODBC", Applet("odbccp32.cpl")},
    {"Printers",
     "ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\rundll.exe\", "
     "\"shell32.dll,SHHelpShortcuts_RunDLL AddPrinter\", \"\", 1)"},
    {"Regional Options", Applet("intl.cpl")},
    {"Software", Applet("Appwiz.cpl")},
    {"Sounds/Multimedia", Applet("Mmsys.cpl")},
    {"System", Applet("Sysdm.cpl")},
    {"Windows Control Panel", "ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\control.exe\", \"\", \"c:\\windows\", 5)"},
};

// The list view tells its parent about edits; the parent hands them to the
// page and gives the list view the page's answer, as the program's own
// windows do, ANSI windows all.
LRESULT CALLBACK PassNotificationsToPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR page) {
    if (message == WM_NOTIFYFORMAT)
        return NFR_ANSI;
    if (message == WM_NOTIFY)
        return reinterpret_cast<LauncherPage*>(page)->Notify(*reinterpret_cast<NMHDR*>(lParam));
    return DefSubclassProc(window, message, wParam, lParam);
}

class LauncherPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        page_.Create(Page::ControlPanel, PageContext{window_.Handle(), ui::Dpi(), nullptr, nullptr, nullptr});
        SetWindowSubclass(window_.Handle(), PassNotificationsToPage, 1, reinterpret_cast<DWORD_PTR>(&page_));
        SendMessageA(List(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(window_.Handle()), NF_REQUERY);
    }
    void TearDown() override { RemoveWindowSubclass(window_.Handle(), PassNotificationsToPage, 1); }

    HWND List() const { return GetDlgItem(window_.Handle(), ids::ListView(1)); }
    int Count() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (int i = 0; i < Count(); ++i) {
            std::string text(64, '\0');
            LVITEMA item{};
            item.pszText = text.data();
            item.cchTextMax = static_cast<int>(text.size());
            text.resize(
                static_cast<size_t>(SendMessageA(List(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item))));
            captions.push_back(text);
        }
        return captions;
    }
    int IndexOf(const std::string& caption) const {
        LVFINDINFOA find{};
        find.flags = LVFI_STRING;
        find.psz = caption.c_str();
        return static_cast<int>(SendMessageA(List(), LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
    }
    void Select(int index) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = index < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }
    std::vector<std::string> DoubleClick(const std::string& caption) {
        const int index = IndexOf(caption);
        EXPECT_GE(index, 0) << caption;
        Select(index);
        shell_.calls.clear();
        NMHDR header{List(), 0, NM_DBLCLK};
        page_.Notify(header);
        return shell_.calls;
    }
    // Edits a caption in place the way the user does: the list view's edit
    // box, a new text and Enter, or Esc when `text` is null. The list view
    // sets the new text itself if the page lets it, on what may then be
    // another item.
    void EndEdit(int index, const char* text) {
        HWND edit = reinterpret_cast<HWND>(SendMessageA(List(), LVM_EDITLABELA, static_cast<WPARAM>(index), 0));
        ASSERT_TRUE(edit);
        if (text)
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(edit, WM_KEYDOWN, text ? VK_RETURN : VK_ESCAPE, 0);
    }

    ScratchWindow window_;
    FakeShell shell_;
    FakeSystemInfo system_;
    LauncherPage page_{shell_, system_};
};

}  // namespace

TEST_F(LauncherPageTest, ListsTheTwentyTwoItemsSortedByCaption) {
    EXPECT_EQ(Captions(), std::vector<std::string>(std::begin(kCaptionOrder), std::end(kCaptionOrder)));
    EXPECT_EQ(GetDlgCtrlID(List()), ids::ListView(1));
    const LONG_PTR style = GetWindowLongPtrA(List(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_LIST);
    EXPECT_TRUE(style & LVS_EDITLABELS);
}

TEST_F(LauncherPageTest, ImageList2HoldsThirtyOneSmallImages) {
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 31);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(List(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), images);
}

TEST_F(LauncherPageTest, EachItemStartsExactlyItsCommand) {
    for (const Expected& expected : kCommands)
        EXPECT_THAT(DoubleClick(expected.caption), ElementsAre(expected.call));
}

TEST_F(LauncherPageTest, DoubleClickWithNothingSelectedStartsNothing) {
    Select(-1);
    NMHDR header{List(), 0, NM_DBLCLK};
    page_.Notify(header);
    page_.ListView1DblClick();
    EXPECT_THAT(shell_.calls, IsEmpty());
}

TEST_F(LauncherPageTest, RenamedItemKeepsItsCommandAndSortsAgain) {
    EndEdit(IndexOf("Mouse"), "Zebra");
    const std::vector<std::string> captions = Captions();
    ASSERT_EQ(captions.size(), 22u);
    EXPECT_EQ(captions.back(), "Zebra");
    EXPECT_EQ(IndexOf("Mouse"), -1);
    EXPECT_EQ(captions[13], "Network");  // the items after Mouse moved up one place
    EXPECT_THAT(DoubleClick("Zebra"), ElementsAre(Applet("main.cpl")));
    EXPECT_THAT(DoubleClick("Keyboard"), ElementsAre(Applet("main.cpl,@1")));

    EndEdit(IndexOf("Zebra"), "AAA first");
    EXPECT_EQ(Captions().front(), "AAA first");
    EXPECT_THAT(DoubleClick("AAA first"), ElementsAre(Applet("main.cpl")));
}

TEST_F(LauncherPageTest, CancelledEditKeepsTheCaption) {
    EndEdit(IndexOf("Mouse"), nullptr);
    EXPECT_EQ(Captions(), std::vector<std::string>(std::begin(kCaptionOrder), std::end(kCaptionOrder)));
}

TEST_F(LauncherPageTest, WhatTheSystemLacksFallsBackToAFullPath) {
    shell_.missing = {"fonts", "C:\\WINDOWS\\control.exe", "C:\\WINDOWS\\rundll.exe"};
    EXPECT_THAT(DoubleClick("Fonts"),
                ElementsAre("ShellExecuteA(null, \"open\", \"fonts\", \"\", \"c:\\windows\", 5)",
                            "ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\fonts\", \"\", \"c:\\windows\", 5)"));
    EXPECT_THAT(
        DoubleClick("Windows Control Panel"),
        ElementsAre("ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\control.exe\", \"\", \"c:\\windows\", 5)",
                    "ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\SYSTEM\\control.exe\", \"\", \"c:\\windows\", 5)"));
    EXPECT_THAT(DoubleClick("Printers"),
                ElementsAre("ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\rundll.exe\", "
                            "\"shell32.dll,SHHelpShortcuts_RunDLL AddPrinter\", \"\", 1)",
                            "StartProgram(\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\", "
                            "\"rundll32.exe shell32.dll,SHHelpShortcuts_RunDLL AddPrinter\", 1)"));
}

TEST_F(LauncherPageTest, DialUpOpensNetworkConnectionsOnNt) {
    system_.ntFamily = true;
    EXPECT_THAT(DoubleClick("DialUp Network"), ElementsAre(Applet("ncpa.cpl")));
}

TEST_F(LauncherPageTest, ListFollowsItsPage) {
    page_.Resize(500, 300);
    RECT bounds;
    GetWindowRect(List(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 500);
    EXPECT_EQ(bounds.bottom - bounds.top, 300);
}
