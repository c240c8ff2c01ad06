// The real program under Wine: the ABOUT page and the program's icon.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "support/program.h"
#include "support/screen_picture.h"
#include "support/tabs.h"

namespace {

bool IsDarkBlue(COLORREF colour) { return GetBValue(colour) > GetRValue(colour) + 40 && GetRValue(colour) < 120; }
// The icon's lines, lime on the logo, come out a darker green at 16 x 16.
bool IsGreen(COLORREF colour) {
    return GetGValue(colour) > 110 && GetGValue(colour) > GetRValue(colour) + 60 &&
           GetGValue(colour) > GetBValue(colour) + 60;
}

}  // namespace

TEST(AboutPage, ShowsLogoFrameIconAndLines) {
    e2e::Program program;
    program.SelectPage(kAboutTab);
    EXPECT_EQ(program.Text(ids::Label(6)), "QOR System Editor 1.0");
    EXPECT_EQ(program.Text(ids::Label(14)), "internet : www.example.com");
    EXPECT_EQ(program.Text(ids::Label(31)), "contact : info@example.com");
    HWND sheet = GetParent(program.Control(ids::Label(6)));
    RECT label = program.Bounds(ids::Label(6));
    EXPECT_GT(label.right - label.left, 100) << "the label is as wide as its text";

    // The page is painted once the logo shows.
    e2e::PollFor([&] { return IsDarkBlue(ScreenPicture(program.Window()).At(sheet, 248 + 3, 56 + 3)); }, 5000);
    const ScreenPicture picture(program.Window());
    picture.Save("about_page.bmp");
    // Image1 at 248, 56: the logo's blue ground and the lime lines of its monitor.
    EXPECT_TRUE(IsDarkBlue(picture.At(sheet, 248 + 3, 56 + 3)));
    EXPECT_TRUE(IsGreen(picture.At(sheet, 248 + 25, 56 + 24)));
    // Bevel1's left edge in the shadow colour, its bottom in the highlight colour.
    EXPECT_EQ(picture.At(sheet, 245, 150), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(picture.At(sheet, 300, 248), GetSysColor(COLOR_BTNHIGHLIGHT));
    // Image2, the program's icon, at 400, 144.
    EXPECT_GE(picture.PixelsNotOf(GetSysColor(COLOR_BTNFACE), sheet, RECT{400, 144, 432, 176}), 200u);
}

TEST(AboutPage, TitleBarShowsTheProgramIcon) {
    e2e::Program program;
    HWND window = program.Window();
    // The small icon sits at the left of the title bar; its screen has green lines.
    const auto greenInTitleBarIcon = [window] {
        const ScreenPicture picture(window);
        const int edge = GetSystemMetrics(SM_CXSIZEFRAME) + 2, caption = GetSystemMetrics(SM_CYCAPTION);
        int green = 0;
        for (int y = edge; y < edge + caption; ++y)
            for (int x = edge; x < edge + GetSystemMetrics(SM_CXSMICON) + 4; ++x)
                green += IsGreen(picture.AtWindow(x, y));
        return green;
    };
    EXPECT_TRUE(e2e::PollFor([&] { return greenInTitleBarIcon() >= 3; }, 5000));
    ScreenPicture(window).Save("main_window.bmp");
}
