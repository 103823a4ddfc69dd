#include "win_support/window_pixels.h"

#include <algorithm>

#include "win/gdi_handles.h"
#include "win_support/pixel_canvas.h"

Pixels CaptureDC(HDC source, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    if (width <= 0 || height <= 0)
        return pixels;
    pixels.values.assign(static_cast<size_t>(width) * height, 0);
    if (!source)
        return pixels;
    PixelCanvas canvas(width, height);
    BitBlt(canvas.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    const uint32_t* raw = canvas.bits();
    std::transform(raw, raw + pixels.values.size(), pixels.values.begin(),
                   [](uint32_t word) { return word & 0x00FFFFFF; });
    return pixels;
}

Pixels CaptureWindow(HWND window, WindowArea area) {
    RECT rect{};
    if (area == WindowArea::WholeWindow)
        GetWindowRect(window, &rect);
    else
        GetClientRect(window, &rect);
    ScopedWindowDC dc(window,
                      area == WindowArea::WholeWindow ? ScopedWindowDC::kWholeWindow : ScopedWindowDC::kClientArea);
    return CaptureDC(dc.get(), rect.right - rect.left, rect.bottom - rect.top);
}

COLORREF WindowPixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixels_.width || y >= pixels_.height)
        return CLR_INVALID;
    uint32_t word = pixels_.at(x, y);
    return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

bool WindowPixels::operator==(const WindowPixels& other) const {
    return pixels_.width == other.pixels_.width && pixels_.height == other.pixels_.height &&
           pixels_.values == other.pixels_.values;
}
