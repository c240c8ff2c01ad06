// Nothing cut, nothing hidden: the tab row and the pages whose texts vary
// with the font, built with Wine's "MS Sans Serif" and with "DejaVu Sans",
// the wider face a prefix without Wine's fonts substitutes, at 96 and 144 DPI.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "ui/control_ids.h"
#include "support/scratch_window.h"
#include "support/screen_picture.h"
#include "sysinfo/fakes.h"
#include "sysinfo/sysinfo_page.h"
#include "support/sysinfo_labels.h"
#include "support/sysinfo_refresh.h"
#include "tweaks/tweaks_page.h"

namespace {

// The captions of the ten tabs, in tab order.
const char* const kCaptions[] = {"WINI.INI",   "SYSTEM.INI",        "BOOT.INI",      "CONTROL.INI", "AUTOEXEC.BAT",
                                 "CONFIG.SYS", "REGISTRY SETTINGS", "CONTROL PANEL", "SYSTEM INFO", "ABOUT"};
constexpr size_t kPageCount = std::size(kCaptions);

// The main window's client area and its page, in design pixels.
constexpr ui::Rect kPageControl{0, 0, 802, 452};

RECT BoundsOnParent(HWND control) {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

std::string FaceOf(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof(face), face);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return face;
}

// A font of the design's size, the face and DPI of the test's parameters.
class LayoutTest : public ::testing::TestWithParam<std::tuple<const char*, int>> {
protected:
    void SetUp() override {
        ASSERT_TRUE(font_);
        ASSERT_EQ(FaceOf(font_.get()), Face()) << "the font this test needs is missing (Debian: fonts-dejavu-core, "
                                                  "fonts-wine copied into the prefix)";
        hints_.Create(window_.Handle());
    }
    static const char* Face() { return std::get<0>(GetParam()); }
    PageContext Context() { return {window_.Handle(), dpi_, font_.get(), &hints_, &clicks_}; }
    HWND Control(int id) { return GetDlgItem(window_.Handle(), id); }
    // Fails unless the control is at least as wide as its text.
    void ExpectTextFits(HWND control, int frame = 0) {
        const std::string text = ui::Window(control).Text();
        const RECT bounds = BoundsOnParent(control);
        EXPECT_LE(ui::TextWidth(control, text) + frame, bounds.right - bounds.left) << text;
    }

    ScratchWindow window_;
    ui::Dpi dpi_{std::get<1>(GetParam())};
    ui::Font font_ = ui::CreateDesignFont({Face()}, dpi_);
    ui::Hints hints_;
    ClickHandlers clicks_;
};

HWND CreateTabRow(HWND parent, const ui::Dpi& dpi, HFONT font) {
    HWND tabs = ui::CreateControl({.parent = parent,
                                   .className = WC_TABCONTROLA,
                                   .bounds = kPageControl,
                                   .style = WS_CLIPSIBLINGS,
                                   .id = 1,
                                   .font = font},
                                  dpi);
    for (size_t i = 0; i < kPageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kCaptions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    return tabs;
}

int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
}

// Every tab lies inside the control and no scroll arrows show.
void ExpectAllTabsShow(HWND tabs) {
    RECT client{};
    GetClientRect(tabs, &client);
    for (size_t i = 0; i < kPageCount; ++i) {
        RECT item{};
        SendMessageA(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_GE(item.left, 0) << kCaptions[i];
        EXPECT_LE(item.right, client.right) << kCaptions[i];
    }
    HWND arrows = FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
    EXPECT_FALSE(arrows && (GetWindowLongPtrA(arrows, GWL_STYLE) & WS_VISIBLE)) << "scroll arrows show";
}

}  // namespace

TEST_P(LayoutTest, AllTenTabsShowInOneRow) {
    HWND tabs = CreateTabRow(window_.Handle(), dpi_, font_.get());
    ui::FitTabRow(tabs, ClientWidth(tabs), dpi_);
    ExpectAllTabsShow(tabs);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
}

TEST_P(LayoutTest, RegistrySettingsButtonsShowTheirWholeCaptionsBesideTheExplanation) {
    TweaksPage page;
    page.Create(Page::RegistrySettings, Context());
    const RECT explanation = BoundsOnParent(Control(ids::Memo(18)));
    EXPECT_EQ(explanation.right, dpi_.Scale(216 + 553)) << "the explanation keeps its right edge";
    for (int button : {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 7, 15}) {
        ExpectTextFits(Control(ids::Button(button)), 2);
        EXPECT_LT(BoundsOnParent(Control(ids::Button(button))).right, explanation.left);
    }
}

TEST_P(LayoutTest, SystemInfoValuesShowWholeBetweenTheirCaptionsAndTheSoftwareList) {
    FakeSystemInfo system;
    system.processorType = 8664;
    system.processorBrand = "       Intel(R) Xeon(R) Platinum 8275CL CPU @ 3.00GHz";
    system.printer = "HP LaserJet 4050 Series PCL6,winspool,Ne00:";
    system.volume = {"MYDISK", 0x1234ABCD};
    FakeNetBios netbios;
    FakeTiming timing;
    timing.Advance(1'800'000'000, 500);
    FakeRegistry registry;
    SysInfoPage page(system, netbios, timing, registry);
    page.Create(Page::SystemInfo, Context());
    page.Refresh();
    ASSERT_TRUE(WaitForRefresh(page));
    const RECT list = BoundsOnParent(Control(ids::ListView(2)));
    EXPECT_EQ(list.right, dpi_.Scale(360 + 425)) << "the list keeps its right edge";
    for (const sysinfo_labels::FactLabels& labels : sysinfo_labels::kAll) {
        ExpectTextFits(Control(ids::Label(labels.caption)));
        ExpectTextFits(Control(ids::Label(labels.value)));
        const RECT value = BoundsOnParent(Control(ids::Label(labels.value)));
        EXPECT_LE(BoundsOnParent(Control(ids::Label(labels.caption))).right, value.left);
        EXPECT_LT(value.right, list.left);
    }
    EXPECT_EQ(page.LabelText(Fact::Processor), "Intel(R) Xeon(R) Platinum 8275CL CPU @ 3.00GHz");
}

INSTANTIATE_TEST_SUITE_P(FontsAndDpi, LayoutTest,
                         ::testing::Combine(::testing::Values("MS Sans Serif", "DejaVu Sans"),
                                            ::testing::Values(96, 144)));

TEST(TabRow, AFontTooWideForOneRowWrapsTheTabsRatherThanHideThem) {
    ScratchWindow window;
    const ui::Dpi dpi;
    const ui::Font font = ui::CreateDesignFont({"DejaVu Sans", -16}, dpi);
    HWND tabs = CreateTabRow(window.Handle(), dpi, font.get());
    ui::FitTabRow(tabs, ClientWidth(tabs), dpi);
    ExpectAllTabsShow(tabs);
    EXPECT_GT(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    DestroyWindow(tabs);
}

namespace {

// A row of tabs in a topmost window at the screen's corner with, over its
// display area, a sheet; the tab control paints around the sheet only when
// `aroundSheet`. Returns the colours the screen shows of the control, the
// sheet's rectangle left out (black).
std::vector<COLORREF> PaintedTabControl(bool aroundSheet) {
    const ui::Dpi dpi;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 802, 452, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND tabs = CreateTabRow(window, dpi, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_TRUE(GetWindowTheme(tabs)) << "no visual style: nothing to compare";
    RECT display{};
    GetClientRect(tabs, &display);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    HWND sheet = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, display.left, display.top,
                                 display.right - display.left, display.bottom - display.top, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (aroundSheet)
        ui::PaintAroundSheets(tabs);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const ScreenPicture picture(window);
    std::vector<COLORREF> colours;
    for (int y = 0; y < 452; ++y)
        for (int x = 0; x < 802; ++x)
            colours.push_back(PtInRect(&display, POINT{x, y}) ? RGB(0, 0, 0) : picture.AtWindow(x, y));
    DestroyWindow(window);
    return colours;
}

}  // namespace

TEST(TabRow, PaintedAroundItsSheetItLooksAsWhenItPaintsItsWholeArea) {
    const std::vector<COLORREF> whole = PaintedTabControl(false), around = PaintedTabControl(true);
    ASSERT_EQ(whole.size(), around.size());
    // The page's background is a stretched picture: drawn in strips, a pixel
    // may come out a shade lighter or darker, no more.
    int differing = 0;
    for (size_t i = 0; i < whole.size(); ++i) {
        int most = 0;
        for (int shift : {0, 8, 16})
            most = std::max(most, std::abs(static_cast<int>((whole[i] >> shift) & 0xFF) -
                                           static_cast<int>((around[i] >> shift) & 0xFF)));
        ASSERT_LE(most, 2) << "at " << i % 802 << "," << i / 802;
        differing += most > 0;
    }
    EXPECT_LT(differing, 100);
}
