#include "about/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg's own error handler ends the process; this one jumps back to the
// decoder. Warnings (a cut file among them) count as errors: a picture that
// is only partly there is not shown.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf resume;
};

[[noreturn]] void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->resume, 1); }

void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        JumpBack(info);
}

HBITMAP CreateBgrBitmap(int width, int height, unsigned char** bits) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down, like libjpeg's scanlines
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<unsigned char*>(pixels);
    return bitmap;
}

// Only plain C data lives in this frame, so that a jump back from libjpeg
// skips no destructor.
HBITMAP DecodeInto(const unsigned char* data, unsigned long size, int* width, int* height) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.emit_message = OnMessage;
    HBITMAP volatile bitmap = nullptr;
    if (setjmp(errors.resume)) {
        jpeg_destroy_decompress(&info);
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit bitmap
    jpeg_start_decompress(&info);
    unsigned char* bits = nullptr;
    bitmap = CreateBgrBitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height), &bits);
    if (bitmap) {
        const size_t stride = (info.output_width * 3 + 3) & ~size_t{3};
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = bits + info.output_scanline * stride;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        *width = static_cast<int>(info.output_width);
        *height = static_cast<int>(info.output_height);
    }
    jpeg_destroy_decompress(&info);
    return bitmap;
}

}  // namespace

void Picture::Draw(HDC dc, int x, int y, const ui::Dpi& dpi) const {
    if (!bitmap_)
        return;
    const ui::MemoryDc memory(CreateCompatibleDC(dc));
    const ui::SelectedObject picture(memory.get(), bitmap_.get());
    // A photograph: averaged pixels look smoother than repeated ones.
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, dpi.Scale(width_), dpi.Scale(height_), memory.get(), 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}

Picture DecodeJpeg(std::string_view bytes) {
    int width = 0, height = 0;
    HBITMAP bitmap = DecodeInto(reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<unsigned long>(bytes.size()), &width, &height);
    return bitmap ? Picture(bitmap, width, height) : Picture();
}

std::string_view ProgramResource(const char* name) {
    HMODULE program = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(program, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const char*>(data), SizeofResource(program, found)};
}
