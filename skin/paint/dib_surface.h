// A memory DC holding a 32-bit top-down DIB section whose pixels the skin reads and writes
// directly (0x00RRGGBB words, top row first). Long-lived: its owner resizes and frees it.
#pragma once

#include <windows.h>

#include <cstdint>

class DibSurface {
  public:
    DibSurface() = default;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    ~DibSurface() { Release(); }

    // Gives the surface a new picture of the size; the DC stays the same once made, the old
    // bitmap is deleted. False (and the surface unchanged) for a size below 1 x 1 or when the
    // system refuses.
    bool Resize(int width, int height);
    // Deletes the DC, then the bitmap.
    void Release();

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    uint32_t* bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    size_t pixel_count() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }
    explicit operator bool() const { return bits_ != nullptr; }

    // Copies the other surface's pixels; both must have the same size.
    void CopyFrom(const DibSurface& other);

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
