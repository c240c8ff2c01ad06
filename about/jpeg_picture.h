#pragma once
// A JPEG picture decoded with libjpeg into a bitmap the page can draw.
#include <windows.h>

#include <cstddef>
#include <string_view>

class Picture {
public:
    Picture() = default;
    Picture(HBITMAP bitmap, int width, int height) : bitmap_(bitmap), width_(width), height_(height) {}
    ~Picture() {
        if (bitmap_) DeleteObject(bitmap_);
    }
    Picture(Picture&& other) noexcept { *this = static_cast<Picture&&>(other); }
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Empty() const { return bitmap_ == nullptr; }
    HBITMAP Handle() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws the picture unscaled with its top-left corner at x, y.
    void Draw(HDC dc, int x, int y) const;

private:
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A damaged, cut or foreign picture gives an empty Picture; it never ends the program.
Picture DecodeJpeg(std::string_view bytes);

// The bytes of an RCDATA resource of the program; empty when it has none.
std::string_view ProgramResource(const char* name);
