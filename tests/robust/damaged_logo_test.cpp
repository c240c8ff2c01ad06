// The logo, damaged at random: cut short, bytes changed, or a header that
// claims a huge picture. Decoding never ends the program; what it gives is
// either nothing or a whole bitmap of the size it reports.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "about/jpeg_picture.h"
#include "random_start.h"

namespace {

void ExpectWholeOrEmpty(const Picture& picture, const std::string& what) {
    if (picture.Empty()) return;
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(picture.Handle(), sizeof(info), &info)) << what;
    EXPECT_GT(picture.Width(), 0) << what;
    EXPECT_EQ(info.bmWidth, picture.Width()) << what;
    EXPECT_EQ(info.bmHeight, picture.Height()) << what;
}

}  // namespace

TEST(DamagedLogo, CutShortGivesNothing) {
    const std::string logo(ProgramResource("LOGO"));
    ASSERT_GT(logo.size(), 1000u);
    for (size_t length = 0; length + 2 < logo.size(); length += 7)
        ASSERT_TRUE(DecodeJpeg(logo.substr(0, length)).Empty()) << "cut at " << length;
}

TEST(DamagedLogo, ChangedBytesGiveNothingOrAWholePicture) {
    const std::string logo(ProgramResource("LOGO"));
    std::mt19937 random(RandomStart("damaged logo"));
    int decoded = 0;
    for (int run = 0; run < 1000; ++run) {
        std::string damaged = logo;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<char>(random());
        const Picture picture = DecodeJpeg(damaged);
        ExpectWholeOrEmpty(picture, "run " + std::to_string(run));
        decoded += !picture.Empty();
    }
    std::printf("%d of 1000 damaged logos still decoded whole\n", decoded);
    EXPECT_FALSE(DecodeJpeg(logo).Empty()) << "decoding still works afterwards";
}

TEST(DamagedLogo, AHeaderClaimingAHugePictureGivesNothing) {
    std::string logo(ProgramResource("LOGO"));
    // The frame header: FF C0 (or C2), length, precision, then height and width.
    size_t frame = logo.find("\xFF\xC0");
    if (frame == std::string::npos) frame = logo.find("\xFF\xC2");
    ASSERT_NE(frame, std::string::npos);
    const auto byteAt = [&logo](size_t at) { return static_cast<unsigned char>(logo[at]); };
    ASSERT_EQ(byteAt(frame + 5) * 256 + byteAt(frame + 6), 81) << "the logo's height";
    ASSERT_EQ(byteAt(frame + 7) * 256 + byteAt(frame + 8), 225) << "the logo's width";
    logo.replace(frame + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
    EXPECT_TRUE(DecodeJpeg(logo).Empty());
}
