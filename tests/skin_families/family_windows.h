// Test windows that carry the class names of the skinned control kinds, and pixel read-back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The host form's background (WM_CTLCOLOR* brush and class brush): distinct from every skin
// colour, so a pixel that shows it was left to the window's own background.
inline constexpr COLORREF FormBackground = RGB(200, 230, 190);
// What the test grid window paints over its whole client area.
inline constexpr COLORREF GridFill = RGB(120, 130, 140);

// Registers, once per process: "ThunderRT6FormDC" (the host form), superclasses of the
// system's controls under the kinds' names ("ThunderRT6CheckBox", "ThunderRT6OptionButton" from
// Button; "ThunderRT6ComboBox", "ThunderRT6DriveListBox" from ComboBox; "DataListWndClass" from
// ListBox; "ProgressBar20WndClass" from the progress bar) and "ApexGridTest", a window that
// fills itself with GridFill. Also initialises the common controls.
void RegisterFamilyClasses();

// A visible top-level form at screen (left, top), client size width x height, no frame.
HWND CreateHostForm(int left, int top, int width, int height);
HWND CreateChild(HWND parent,
                 const wchar_t* className,
                 DWORD style,
                 int x,
                 int y,
                 int width,
                 int height,
                 const wchar_t* text = L"",
                 DWORD exStyle = 0);

// Delivers every pending message of this thread.
void PumpMessages();

// A 32-bpp top-down DIB section selected into a memory DC: exact pixels to draw on and read.
class PixelCanvas {
  public:
    PixelCanvas(int width, int height);
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas();
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const;
    void fill(COLORREF colour);

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// A copy of what a window shows: the whole window (window DC) or its client area.
class WindowPixels {
  public:
    enum Area { WholeWindow, ClientArea };
    explicit WindowPixels(HWND window, Area area = WholeWindow);
    int width() const { return canvas_.width(); }
    int height() const { return canvas_.height(); }
    COLORREF at(int x, int y) const { return canvas_.at(x, y); }
    bool operator==(const WindowPixels& other) const;

  private:
    static SIZE SizeOf(HWND window, Area area);
    PixelCanvas canvas_;
};

// A pixel of a skin bitmap surface.
COLORREF SkinPixel(HDC skin, int x, int y);

// Writes a 24-bit PNG (stored, uncompressed deflate blocks) of the canvas. True on success.
bool WritePng(const PixelCanvas& canvas, const std::string& path);
