// Copies of what a DC or a window shows, kept as plain values so they can be compared later.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Pixels as 0x00RRGGBB, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> values;
    uint32_t at(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

enum class WindowArea { WholeWindow, ClientArea };

// width x height pixels from the DC's origin; all 0 when there is no DC or nothing to copy.
Pixels CaptureDC(HDC source, int width, int height);
// The whole window as its window DC shows it, or its client area as its client DC does.
Pixels CaptureWindow(HWND window, WindowArea area = WindowArea::WholeWindow);

// A window capture read as COLORREFs.
class WindowPixels {
  public:
    static constexpr WindowArea WholeWindow = WindowArea::WholeWindow;
    static constexpr WindowArea ClientArea = WindowArea::ClientArea;

    explicit WindowPixels(HWND window, WindowArea area = WholeWindow) : pixels_(CaptureWindow(window, area)) {}
    int width() const { return pixels_.width; }
    int height() const { return pixels_.height; }
    // CLR_INVALID outside the capture.
    COLORREF at(int x, int y) const;
    bool operator==(const WindowPixels& other) const;

  private:
    Pixels pixels_;
};
