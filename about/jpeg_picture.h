#pragma once
// A JPEG picture decoded with libjpeg into a bitmap the page can draw.
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "ui/controls.h"

class Picture {
public:
    Picture() = default;
    // Takes `bitmap` over.
    Picture(HBITMAP bitmap, int width, int height) : bitmap_(bitmap), width_(width), height_(height) {}

    bool Empty() const { return bitmap_ == nullptr; }
    HBITMAP Handle() const { return bitmap_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws the picture with its top-left corner at x, y, its pixels taken
    // for 96 DPI ones and scaled to `dpi`.
    void Draw(HDC dc, int x, int y, const ui::Dpi& dpi) const;

private:
    ui::Bitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// A damaged, cut or foreign picture gives an empty Picture; it never ends the program.
Picture DecodeJpeg(std::string_view bytes);

// The bytes of an RCDATA resource of the program; empty when it has none.
std::string_view ProgramResource(const char* name);
