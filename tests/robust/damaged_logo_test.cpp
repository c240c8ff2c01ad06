// The logo, damaged at random: cut short, bytes changed, or a header that
// claims a huge picture. Decoding never ends the program; what it gives is
// either nothing or a whole bitmap of the size its header gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "about/jpeg_picture.h"
#include "random_start.h"

namespace {

// Where the logo's frame header starts: FF C0 (or C2), length, precision,
// then height and width, two bytes each.
size_t FrameHeader(const std::string& jpeg) {
    const size_t frame = jpeg.find("\xFF\xC0");
    return frame != std::string::npos ? frame : jpeg.find("\xFF\xC2");
}

int TwoBytesAt(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) * 256 + static_cast<unsigned char>(bytes[at + 1]);
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
    const size_t frame = FrameHeader(logo);
    ASSERT_NE(frame, std::string::npos);
    std::mt19937 random(RandomStart("damaged logo"));
    int decoded = 0, sizeKnown = 0;
    for (int run = 0; run < 1000; ++run) {
        std::string damaged = logo;
        size_t firstChange = damaged.size();
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % damaged.size();
            damaged[at] = static_cast<char>(random());
            firstChange = std::min(firstChange, at);
        }
        const Picture picture = DecodeJpeg(damaged);
        if (picture.Empty())
            continue;
        ++decoded;
        const std::string what = "run " + std::to_string(run);
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(picture.Handle(), sizeof(info), &info)) << what;
        ASSERT_NE(info.bmBits, nullptr) << what;
        EXPECT_EQ(info.bmWidth, picture.Width()) << what;
        EXPECT_EQ(info.bmHeight, picture.Height()) << what;
        // With the bytes up to the frame's size intact, the picture has the
        // size its header gives, whatever was changed after it.
        if (firstChange >= frame + 5) {
            ++sizeKnown;
            EXPECT_EQ(picture.Height(), TwoBytesAt(damaged, frame + 5)) << what;
            EXPECT_EQ(picture.Width(), TwoBytesAt(damaged, frame + 7)) << what;
        }
    }
    std::printf("%d of 1000 damaged logos still decoded whole\n", decoded);
    // Most damage is noticed, yet some (in parts the picture does not need)
    // leaves a picture to check.
    EXPECT_LT(decoded, 900);
    EXPECT_GT(sizeKnown, 0);
    EXPECT_FALSE(DecodeJpeg(logo).Empty()) << "decoding still works afterwards";
}

TEST(DamagedLogo, AHeaderClaimingAHugePictureGivesNothing) {
    std::string logo(ProgramResource("LOGO"));
    const size_t frame = FrameHeader(logo);
    ASSERT_NE(frame, std::string::npos);
    ASSERT_EQ(TwoBytesAt(logo, frame + 5), 81) << "the logo's height";
    ASSERT_EQ(TwoBytesAt(logo, frame + 7), 225) << "the logo's width";
    logo.replace(frame + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
    EXPECT_TRUE(DecodeJpeg(logo).Empty());
}
