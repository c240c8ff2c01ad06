// libjpeg is linked into the Windows build: a picture round-trips through it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> EncodeGrey(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) row[static_cast<size_t>(x)] = static_cast<unsigned char>((x * 255) / width);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<unsigned char> jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return jpeg;
}

}  // namespace

TEST(LibJpeg, DecodesWhatItEncoded) {
    const std::vector<unsigned char> jpeg = EncodeGrey(40, 24);
    ASSERT_GT(jpeg.size(), 100u);

    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    ASSERT_EQ(jpeg_read_header(&info, TRUE), JPEG_HEADER_OK);
    jpeg_start_decompress(&info);
    EXPECT_EQ(info.output_width, 40u);
    EXPECT_EQ(info.output_height, 24u);
    std::vector<unsigned char> row(info.output_width * static_cast<unsigned>(info.output_components));
    int darkestLeft = 255, brightestRight = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        darkestLeft = std::min<int>(darkestLeft, row.front());
        brightestRight = std::max<int>(brightestRight, row.back());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    EXPECT_LT(darkestLeft, 30);
    EXPECT_GT(brightestRight, 220);
}
