#pragma once
// What the screen shows of a window, copied once, to look at its pixels in a
// test and to keep as a .bmp file for a person to look at (32-bit pixels whose
// fourth byte is not alpha: `convert shot.bmp -alpha off shot.png`).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

class ScreenPicture {
public:
    // The window's whole rectangle, frame and title bar included.
    explicit ScreenPicture(HWND window) {
        GetWindowRect(window, &bounds_);
        width_ = bounds_.right - bounds_.left;
        height_ = bounds_.bottom - bounds_.top;
        pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, bounds_.left, bounds_.top, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFO format = Format();
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &format, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    // The colour at a point given in client coordinates of `control`.
    COLORREF At(HWND control, int x, int y) const {
        POINT point{x, y};
        ClientToScreen(control, &point);
        return AtScreen(point.x, point.y);
    }
    // The colour at a point given relative to the window's top-left corner.
    COLORREF AtWindow(int x, int y) const { return AtScreen(bounds_.left + x, bounds_.top + y); }
    // How many pixels of a client rectangle of `control` are not `background`.
    size_t PixelsNotOf(COLORREF background, HWND control, const RECT& area) const {
        size_t count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(control, x, y) != background;
        return count;
    }
    // Keeps the picture as a .bmp file for a person to look at. Whether the
    // file could be written says nothing about the program, so it is only
    // reported, never checked.
    void Save(const std::string& path) const {
        BITMAPINFO format = Format();
        const DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;  // "BM"
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + bytes;
        FILE* file = std::fopen(path.c_str(), "wb");
        bool written = file && std::fwrite(&header, sizeof(header), 1, file) == 1 &&
                       std::fwrite(&format.bmiHeader, sizeof(format.bmiHeader), 1, file) == 1 &&
                       std::fwrite(pixels_.data(), bytes, 1, file) == 1;
        if (file)
            written = std::fclose(file) == 0 && written;
        std::printf(written ? "screen kept in %s\n" : "could not keep the screen in %s\n", path.c_str());
    }

private:
    BITMAPINFO Format() const {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = width_;
        format.bmiHeader.biHeight = height_;  // bottom-up, as a .bmp file keeps it
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        return format;
    }
    COLORREF AtScreen(int x, int y) const {
        const int column = x - bounds_.left, row = y - bounds_.top;
        if (column < 0 || row < 0 || column >= width_ || row >= height_)
            return CLR_INVALID;
        const DWORD bgr =
            pixels_[static_cast<size_t>(height_ - 1 - row) * static_cast<size_t>(width_) + static_cast<size_t>(column)];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

    RECT bounds_{};
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};
