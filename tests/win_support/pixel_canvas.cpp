#include "win_support/pixel_canvas.h"

#include "win/dib_section.h"

namespace {

uint32_t ToWord(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    bitmap_ = CreateTopDownDib32(width, height, &bits_);
    previous_ = SelectObject(dc_, bitmap_);
}

PixelCanvas::~PixelCanvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF PixelCanvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    GdiFlush();
    uint32_t word = bits_[y * width_ + x];
    return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

void PixelCanvas::set(int x, int y, COLORREF colour) {
    GdiFlush();
    bits_[y * width_ + x] = ToWord(colour);
}

void PixelCanvas::fill(COLORREF colour) {
    GdiFlush();
    const uint32_t word = ToWord(colour);
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = word;
}

const uint32_t* PixelCanvas::bits() const {
    GdiFlush();
    return bits_;
}
