// A 32-bpp top-down DIB section in a memory DC: exact pixels to draw on and read back.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>

#include "skin/paint/gdi_handles.h"

class PixelCanvas {
  public:
    PixelCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // DIB words are 0x00RRGGBB; COLORREFs are 0x00BBGGRR.
    COLORREF at(int x, int y) const {
        GdiFlush();
        uint32_t word = bits_[y * width_ + x];
        return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
    }
    void set(int x, int y, COLORREF colour) {
        GdiFlush();
        bits_[y * width_ + x] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    // Rows of 0x00RRGGBB words, top row first.
    const uint32_t* bits() const {
        GdiFlush();
        return bits_;
    }
    void fill(COLORREF colour) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                set(x, y, colour);
    }

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// GDI objects the process holds. Windows counts them for GetGuiResources; Wine answers 0
// there, so the live entries of the process's GDI handle table are counted instead. That
// table hangs off the process environment block (GdiSharedHandleTable) in both; each entry
// is 24 bytes with a non-zero type byte while its handle is alive.
inline DWORD GdiObjectCount() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    struct HandleEntry {
        uint64_t object;
        uint32_t owner;
        uint16_t unique;
        uint8_t type;
        uint8_t flags;
        uint64_t userPointer;
    };
    static_assert(sizeof(HandleEntry) == 24);
    constexpr size_t TableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const auto* table = *reinterpret_cast<const HandleEntry* const*>(peb + TableOffset);
    if (!table)
        return 0;
    DWORD live = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        if (table[i].type != 0)
            ++live;
    return live;
}
