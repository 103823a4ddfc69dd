// A 32-bpp top-down DIB section in a memory DC: exact pixels to draw on and read back.
#pragma once

#include <windows.h>

#include <cstdint>

class PixelCanvas {
  public:
    PixelCanvas(int width, int height);
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas();

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // CLR_INVALID outside the canvas.
    COLORREF at(int x, int y) const;
    void set(int x, int y, COLORREF colour);
    void fill(COLORREF colour);
    // Rows of 0x00RRGGBB words, top row first (DIB words are 0x00RRGGBB, COLORREFs 0x00BBGGRR).
    const uint32_t* bits() const;

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};
