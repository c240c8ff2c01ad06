#include "launcher/launcher_page.h"

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "ui/control_ids.h"
#include "support/fake_shell.h"
#include "support/fake_system_info.h"
#include "support/scratch_drive.h"
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

// The system folder of the machine under test: every file is there but
// those the test names missing.
class SystemFolder : public ScratchDrive {
public:
    std::set<std::string> missing;
    DWORD Attributes(const std::string& path) override {
        return missing.count(path) ? INVALID_FILE_ATTRIBUTES : FILE_ATTRIBUTE_ARCHIVE;
    }
};

// What each applet item opens, as a user picks it: the applet's file, with
// the number or page of the applet within it where it has one.
struct OpensApplet {
    const char* caption;
    const char* applet;
};
const OpensApplet kApplets[] = {
    {"Accessibility", "access.cpl"},
    {"Add New Hardware", "sysdm.cpl,@1"},
    {"Change Background Picture", "Desk.cpl,,0"},
    {"Date/Time Windows", "timedate.cpl"},
    {"Display Properties", "Desk.cpl"},
    {"E-Mail", "MLCFG32.CPL"},
    {"Energy", "Powercfg.cpl"},
    {"Game Controller", "joy.cpl"},
    {"Internet", "inetcpl.cpl"},
    {"Keyboard", "main.cpl,@1"},
    {"Modems", "modem.cpl"},
    {"Mouse", "main.cpl"},
    {"Network", "netcpl.cpl"},
    {"ODBC", "odbccp32.cpl"},
    {"Regional Options", "intl.cpl"},
    {"Software", "Appwiz.cpl"},
    {"Sounds/Multimedia", "Mmsys.cpl"},
    {"System", "Sysdm.cpl"},
};

// The system's rundll32.exe started in the system folder `system` with `arguments`.
std::string Rundll32(const std::string& system, const std::string& arguments) {
    return "StartProgram(\"" + system + "\\rundll32.exe\", \"rundll32.exe " + arguments + "\", \"" + system + "\", 1)";
}

const std::string kSystem = "C:\\WINDOWS\\SYSTEM";

// The applet "file.cpl" or "file.cpl,@1" of the system folder, by its full path.
std::string AppletStart(const std::string& applet) {
    const size_t fileEnd = applet.find(',');
    const std::string number = fileEnd == std::string::npos ? "" : applet.substr(fileEnd);
    return Rundll32(kSystem, "shell32.dll,Control_RunDLL " + kSystem + "\\" + applet.substr(0, fileEnd) + number);
}

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
    SystemFolder files_;
    LauncherPage page_{shell_, system_, files_};
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

TEST_F(LauncherPageTest, EachAppletItemRunsItsAppletByItsFullPathKeepingTheAppletsNumber) {
    for (const OpensApplet& item : kApplets)
        EXPECT_THAT(DoubleClick(item.caption), ElementsAre(AppletStart(item.applet)));
}

TEST_F(LauncherPageTest, AnAppletInAFolderWithABlankGoesQuotedAndItsNumberAfterTheQuote) {
    system_.systemDirectory = "C:\\My Windows\\system32";
    EXPECT_THAT(DoubleClick("Keyboard"),
                ElementsAre(Rundll32(system_.systemDirectory,
                                     "shell32.dll,Control_RunDLL \"C:\\My Windows\\system32\\main.cpl\",@1")));
}

TEST_F(LauncherPageTest, AnAppletTheSystemFolderLacksStartsNothing) {
    files_.missing = {"C:\\WINDOWS\\SYSTEM\\netcpl.cpl", "C:\\WINDOWS\\SYSTEM\\ncpa.cpl"};
    EXPECT_THAT(DoubleClick("Network"), IsEmpty());
    system_.ntFamily = true;
    EXPECT_THAT(DoubleClick("DialUp Network"), IsEmpty());
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
    EXPECT_THAT(DoubleClick("Zebra"), ElementsAre(AppletStart("main.cpl")));
    EXPECT_THAT(DoubleClick("Keyboard"), ElementsAre(AppletStart("main.cpl,@1")));

    EndEdit(IndexOf("Zebra"), "AAA first");
    EXPECT_EQ(Captions().front(), "AAA first");
    EXPECT_THAT(DoubleClick("AAA first"), ElementsAre(AppletStart("main.cpl")));
}

TEST_F(LauncherPageTest, CancelledEditKeepsTheCaption) {
    EndEdit(IndexOf("Mouse"), nullptr);
    EXPECT_EQ(Captions(), std::vector<std::string>(std::begin(kCaptionOrder), std::end(kCaptionOrder)));
}

TEST_F(LauncherPageTest, FontsOpensByTheFoldersFullPathAndByItsNameOnlyOnThe9xFamily) {
    system_.ntFamily = true;
    EXPECT_THAT(DoubleClick("Fonts"),
                ElementsAre("ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\fonts\", \"\", \"C:\\WINDOWS\\SYSTEM\", 5)"));
    system_.ntFamily = false;
    EXPECT_THAT(DoubleClick("Fonts"),
                ElementsAre("ShellExecuteA(null, \"open\", \"fonts\", \"\", \"C:\\WINDOWS\", 5)"));
}

TEST_F(LauncherPageTest, ProgramsTheWindowsFolderLacksStartFromTheSystemFolder) {
    shell_.missing = {"C:\\WINDOWS\\control.exe", "C:\\WINDOWS\\rundll.exe"};
    EXPECT_THAT(
        DoubleClick("Windows Control Panel"),
        ElementsAre("ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\control.exe\", \"\", \"C:\\WINDOWS\\SYSTEM\", 5)",
                    "ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\SYSTEM\\control.exe\", \"\", "
                    "\"C:\\WINDOWS\\SYSTEM\", 5)"));
    EXPECT_THAT(DoubleClick("Printers"),
                ElementsAre("ShellExecuteA(null, \"open\", \"C:\\WINDOWS\\rundll.exe\", "
                            "\"shell32.dll,SHHelpShortcuts_RunDLL AddPrinter\", \"C:\\WINDOWS\\SYSTEM\", 1)",
                            Rundll32(kSystem, "shell32.dll,SHHelpShortcuts_RunDLL AddPrinter")));
}

TEST_F(LauncherPageTest, DialUpOpensTheWizardOn9xAndNetworkConnectionsOnNt) {
    EXPECT_THAT(DoubleClick("DialUp Network"), ElementsAre(Rundll32(kSystem, "rnaui.dll,RnaWizard")));
    system_.ntFamily = true;
    EXPECT_THAT(DoubleClick("DialUp Network"), ElementsAre(AppletStart("ncpa.cpl")));
}

TEST_F(LauncherPageTest, ListFollowsItsPage) {
    page_.Resize(500, 300);
    RECT bounds;
    GetWindowRect(List(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 500);
    EXPECT_EQ(bounds.bottom - bounds.top, 300);
}
