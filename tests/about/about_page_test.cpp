#include "about/about_page.h"

#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/fake_shell.h"
#include "support/scratch_sheet.h"

namespace {

using ::testing::ElementsAre;

class AboutPageTest : public ::testing::Test {
protected:
    void SetUp() override { page_.Create(Page::About, sheet_.Context()); }
    std::string Text(int label) const { return ui::Window(GetDlgItem(sheet_.Handle(), ids::Label(label))).Text(); }

    FakeShell shell_;
    AboutPage page_{shell_};
    ScratchSheet sheet_{page_};
};

std::string Logo() { return std::string(ProgramResource("LOGO")); }

}  // namespace

TEST_F(AboutPageTest, ShowsProductAndMakerLines) {
    EXPECT_EQ(Text(5), "QOR Software");
    EXPECT_EQ(Text(6), "QOR System Editor 1.0");
    EXPECT_EQ(Text(14), "internet : www.example.com");
    EXPECT_EQ(Text(31), "contact : info@example.com");
    EXPECT_FALSE(Text(9).empty());
    EXPECT_FALSE(Text(32).empty());
    const Picture logo = DecodeJpeg(ProgramResource("LOGO"));  // the page draws it (see the e2e test)
    EXPECT_EQ(logo.Width(), 225);
    EXPECT_EQ(logo.Height(), 81);
}

TEST_F(AboutPageTest, LinksHandTheShellExactlyTheirTexts) {
    sheet_.Click(ids::Label(14));
    sheet_.Click(ids::Label(31));
    sheet_.Click(ids::Label(6));  // not a link
    EXPECT_THAT(shell_.calls,
                ElementsAre("ShellExecuteA(null, \"open\", \"https://www.example.com/\", \"\", \"\", 5)",
                            "ShellExecuteA(owner, \"open\", \"mailto:info@example.com?subject=Please send info "
                            "about...&Body=Please typ your text here\", null, null, 1)"));
}

TEST_F(AboutPageTest, LinksAreBlueOthersWindowText) {
    HDC dc = GetDC(sheet_.Handle());
    for (int label : {14, 31, 5, 32}) {
        EXPECT_NE(page_.ControlColor(dc, GetDlgItem(sheet_.Handle(), ids::Label(label))), nullptr);
        const COLORREF expected = label == 14 || label == 31 ? RGB(0, 0, 255)
                                  : label == 32              ? RGB(0, 0, 0)
                                                             : GetSysColor(COLOR_WINDOWTEXT);
        EXPECT_EQ(GetTextColor(dc), expected) << "Label" << label;
    }
    ReleaseDC(sheet_.Handle(), dc);
}

TEST(JpegPicture, DecodesTheLogo) {
    const Picture logo = DecodeJpeg(Logo());
    ASSERT_FALSE(logo.Empty());
    EXPECT_EQ(logo.Width(), 225);
    EXPECT_EQ(logo.Height(), 81);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(logo.Handle(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 225);
    EXPECT_EQ(info.bmHeight, 81);
    // The monitor's screen on the logo is black with lime lines; the top-left corner is dark blue.
    const auto* pixels = static_cast<const unsigned char*>(info.bmBits);
    const unsigned char* corner = pixels;  // blue, green, red
    EXPECT_GT(corner[0], corner[2] + 40);
}

TEST(JpegPicture, DamagedDataGivesAnEmptyPicture) {
    const std::string logo = Logo();
    ASSERT_GT(logo.size(), 1000u);
    EXPECT_TRUE(DecodeJpeg(logo.substr(0, logo.size() / 2)).Empty());
    EXPECT_TRUE(DecodeJpeg(logo.substr(0, 200)).Empty());
    EXPECT_TRUE(DecodeJpeg("").Empty());
    std::mt19937 random(7);
    for (int run = 0; run < 20; ++run) {
        std::string noise(4000, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        EXPECT_TRUE(DecodeJpeg(noise).Empty());
        noise.replace(0, 2, "\xFF\xD8");  // a JPEG start followed by noise
        EXPECT_TRUE(DecodeJpeg(noise).Empty());
    }
    EXPECT_FALSE(DecodeJpeg(logo).Empty());  // decoding still works afterwards
}

TEST_F(AboutPageTest, LinksReportClicksAndShowTheHand) {
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    for (int label : {14, 31, 5}) {
        HWND control = GetDlgItem(sheet_.Handle(), ids::Label(label));
        const bool link = label != 5;
        EXPECT_EQ((GetWindowLongPtrA(control, GWL_STYLE) & SS_NOTIFY) != 0, link) << "Label" << label;
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, link) << "Label" << label;
    }
}
