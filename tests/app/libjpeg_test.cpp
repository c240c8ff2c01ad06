// libjpeg is linked into the Windows build: a picture it encodes comes back
// through the program's own decoder as a bitmap of the same size and colours.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include "about/jpeg_picture.h"

namespace {

// A colour picture whose left half is red and right half blue.
std::string EncodeRedBlue(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        const bool left = x < width / 2;
        row[static_cast<size_t>(x) * 3] = left ? 255 : 0;
        row[static_cast<size_t>(x) * 3 + 2] = left ? 0 : 255;
    }
    for (int y = 0; y < height; ++y) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string jpeg(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return jpeg;
}

}  // namespace

TEST(LibJpeg, ThePictureItEncodesDecodesWithItsSizeAndColours) {
    const std::string jpeg = EncodeRedBlue(40, 24);
    ASSERT_GT(jpeg.size(), 100u);

    const Picture picture = DecodeJpeg(jpeg);
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 40);
    EXPECT_EQ(picture.Height(), 24);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(picture.Handle(), sizeof(info), &info));
    ASSERT_EQ(info.bmBitsPixel, 24);
    ASSERT_NE(info.bmBits, nullptr);
    // Every row: red at the left edge, blue at the right, in the bitmap's
    // blue-green-red byte order.
    for (int y = 0; y < 24; ++y) {
        const auto* row = static_cast<const unsigned char*>(info.bmBits) + y * info.bmWidthBytes;
        const unsigned char* left = row + 1 * 3;
        const unsigned char* right = row + 38 * 3;
        EXPECT_GT(left[2], 220) << "row " << y;
        EXPECT_LT(left[0], 40) << "row " << y;
        EXPECT_GT(right[0], 220) << "row " << y;
        EXPECT_LT(right[2], 40) << "row " << y;
    }
}
