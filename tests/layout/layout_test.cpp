// Nothing cut, nothing hidden: the tab row and the pages whose texts vary
// with the font, built with Wine's "MS Sans Serif" and with "DejaVu Sans",
// the wider face a prefix without Wine's fonts substitutes, at 96, 120, 144
// and 192 DPI, in the window's design size and in the smallest it opens at.
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

#include "about/about_page.h"
#include "launcher/launcher_page.h"
#include "sysfiles/sysfile_pages.h"
#include "ui/control_ids.h"
#include "ui/screen_fit.h"
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
// The same in the smallest window the program opens at: its outer width is 640.
constexpr ui::Rect kSmallestPageControl{0, 0, 640 - 8, 452};

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

HWND CreateTabRow(HWND parent, const ui::Dpi& dpi, HFONT font, const ui::Rect& bounds = kPageControl) {
    HWND tabs = ui::CreateControl({.parent = parent,
                                   .className = WC_TABCONTROLA,
                                   .bounds = bounds,
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

// The room beside each tab's caption once fitted to a control `bounds` large.
std::vector<int> AirOfTabs(HWND parent, const ui::Dpi& dpi, HFONT font, const ui::Rect& bounds) {
    HWND tabs = CreateTabRow(parent, dpi, font, bounds);
    ui::FitTabRow(tabs, ClientWidth(tabs), dpi);
    ExpectAllTabsShow(tabs);
    std::vector<int> air;
    for (size_t i = 0; i < kPageCount; ++i) {
        RECT item{};
        SendMessageA(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        air.push_back(item.right - item.left - ui::TextWidth(tabs, kCaptions[i]));
    }
    DestroyWindow(tabs);
    return air;
}

}  // namespace

TEST_P(LayoutTest, AllTenTabsShowInOneRow) {
    HWND tabs = CreateTabRow(window_.Handle(), dpi_, font_.get());
    ui::FitTabRow(tabs, ClientWidth(tabs), dpi_);
    ExpectAllTabsShow(tabs);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
}

TEST_P(LayoutTest, TabsKeepTheirAirOfNinetySixDpiInTheDesignAndTheSmallestWindow) {
    const ui::Dpi dpi96;
    const ui::Font font96 = ui::CreateDesignFont({Face()}, dpi96);
    const std::vector<int> air96 = AirOfTabs(window_.Handle(), dpi96, font96.get(), kPageControl);
    for (const ui::Rect& bounds : {kPageControl, kSmallestPageControl}) {
        const std::vector<int> air = AirOfTabs(window_.Handle(), dpi_, font_.get(), bounds);
        for (size_t i = 0; i < kPageCount; ++i)
            EXPECT_GE(air[i], air96[i]) << kCaptions[i] << " in a control " << bounds.width << " wide";
    }
}

TEST_P(LayoutTest, EveryPageShowsWholeOnTheSheetOfTheSmallestWindow) {
    // The sheet: the display area of the smallest window's fitted tab row.
    HWND tabs = CreateTabRow(window_.Handle(), dpi_, font_.get(), kSmallestPageControl);
    ui::FitTabRow(tabs, ClientWidth(tabs), dpi_);
    RECT area{};
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int width = area.right - area.left, height = area.bottom - area.top;
    ASSERT_LT(width, dpi_.Scale(kSheetWidth));
    HWND sheet = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, window_.Handle(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SysFilePages files;
    TweaksPage tweaks;
    LauncherPage launcher;
    FakeSystemInfo system;
    FakeNetBios netbios;
    FakeTiming timing;
    FakeRegistry registry;
    SysInfoPage sysInfo(system, netbios, timing, registry);
    AboutPage about;
    const std::pair<Page, PageHandler*> pages[] = {{Page::WinIni, &files},
                                                   {Page::RegistrySettings, &tweaks},
                                                   {Page::ControlPanel, &launcher},
                                                   {Page::SystemInfo, &sysInfo},
                                                   {Page::About, &about}};
    for (const auto& [page, handler] : pages) {
        const PageContext context{sheet, dpi_, font_.get(), &hints_, &clicks_};
        handler->Create(page, context);
        handler->CreateRest(page, context);
        handler->Resize(width, height);
        for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
                continue;
            const RECT bounds = BoundsOnParent(child);
            EXPECT_TRUE(bounds.left >= 0 && bounds.top >= 0 && bounds.right <= width && bounds.bottom <= height)
                << "page " << static_cast<int>(page) << ": \"" << ui::Window(child).Text().substr(0, 20) << "\" at "
                << bounds.left << "," << bounds.top << "-" << bounds.right << "," << bounds.bottom << " on " << width
                << "x" << height;
        }
        while (HWND child = GetWindow(sheet, GW_CHILD))
            DestroyWindow(child);
    }
}

TEST_P(LayoutTest, RegistrySettingsButtonsShowTheirWholeCaptionsBesideTheExplanation) {
    TweaksPage page;
    page.Create(Page::RegistrySettings, Context());
    page.CreateRest(Page::RegistrySettings, Context());
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
                                            ::testing::Values(96, 120, 144, 192)));

// The window's design rectangle at 144 and 192 DPI in work areas of
// screens used at those scales.
TEST(WindowOpening, StaysInsideTheWorkAreaAtItsDesignPlaceWhereItCan) {
    const SIZE smallest144{960, 719}, smallest192{1280, 958};
    const RECT design144{227, 213, 1442, 932}, design192{302, 284, 1922, 1242};
    const struct {
        RECT wanted, workArea;
        SIZE smallest;
        RECT opened;
    } cases[] = {
        {design144, {0, 0, 1920, 1040}, smallest144, design144},
        // 1024x768: narrowed to the work area, as high as designed and moved up.
        {design144, {0, 0, 1024, 748}, smallest144, {0, 29, 1024, 748}},
        // A monitor left of the primary one, its taskbar at the top: moved in.
        {design144, {-1920, 40, 0, 1080}, smallest144, {-1215, 213, 0, 932}},
        {design192, {0, 0, 1920, 1040}, smallest192, {300, 82, 1920, 1040}},
        // Smaller than the smallest window: its top left corner stays on the screen.
        {design192, {0, 0, 1024, 738}, smallest192, {0, 0, 1280, 958}},
    };
    for (const auto& c : cases) {
        const RECT opened = ui::FitIntoWorkArea(c.wanted, c.workArea, c.smallest);
        EXPECT_TRUE(EqualRect(&opened, &c.opened))
            << opened.left << "," << opened.top << "-" << opened.right << "," << opened.bottom << " in a work area "
            << c.workArea.right << " wide";
    }
}

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
