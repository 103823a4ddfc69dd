#include "paint/dib_surface.h"

#include <cstring>

#include "win/dib_section.h"

bool DibSurface::Resize(int width, int height) {
    if (width <= 0 || height <= 0)
        return false;
    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_)
            return false;
        SetStretchBltMode(dc_, COLORONCOLOR);
    }
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib32(width, height, &bits);
    if (!bitmap)
        return false;
    SelectObject(dc_, bitmap);
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = bitmap;
    bits_ = bits;
    width_ = width;
    height_ = height;
    return true;
}

void DibSurface::Release() {
    // The bitmap can only be deleted once no DC holds it.
    if (dc_)
        DeleteDC(dc_);
    if (bitmap_)
        DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void DibSurface::CopyFrom(const DibSurface& other) {
    if (!bits_ || !other.bits_ || other.width_ != width_ || other.height_ != height_)
        return;
    // GDI may still be drawing into either surface.
    GdiFlush();
    std::memcpy(bits_, other.bits_, pixel_count() * sizeof(uint32_t));
}
