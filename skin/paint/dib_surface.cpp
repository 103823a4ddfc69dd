#include "paint/dib_surface.h"

#include <cstring>

bool DibSurface::Resize(int width, int height) {
    if (width <= 0 || height <= 0)
        return false;
    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_)
            return false;
        SetStretchBltMode(dc_, COLORONCOLOR);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return false;
    SelectObject(dc_, bitmap);
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = bitmap;
    bits_ = static_cast<uint32_t*>(bits);
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
