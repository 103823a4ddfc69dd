// Drawing primitives and memory surfaces shared by every skin painter.
// Boxes are x, y, width, height; right and bottom edges are exclusive.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

// A window's outer rectangle in screen coordinates, non-client area included.
struct WindowBounds {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    LONG width = 0;
    LONG height = 0;
};

// A memory DC compatible with the display, owning the bitmap selected into it, that shrinks
// colour pictures by dropping rows and columns (COLORONCOLOR): the default mode ANDs the dropped
// pixels into their neighbours and makes colours the source does not hold.
// Returns 0 for a width or height below 1 and when any creation fails (nothing is left behind then).
HDC CreateSurface(int width, int height);
// Deletes the surface's DC, then its bitmap. Accepts 0.
void ReleaseSurface(HDC surface);

// A surface from CreateSurface, released with ReleaseSurface on scope exit.
class ScopedSurface {
  public:
    ScopedSurface(int width, int height) : dc_(CreateSurface(width, height)) {}
    ScopedSurface(const ScopedSurface&) = delete;
    ScopedSurface& operator=(const ScopedSurface&) = delete;
    ~ScopedSurface() { ReleaseSurface(dc_); }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

BOOL FillSolid(HDC dc, int x, int y, int width, int height, COLORREF colour);
BOOL FrameSolid(HDC dc, int x, int y, int width, int height, COLORREF colour);
BOOL DrawFocusBox(HDC dc, int x, int y, int width, int height);
// Draws UTF-8 text with DrawText (wide entry point, so Chinese captions survive any ANSI
// code page) using the DC's font, text colour and background mode. Returns the text height.
// DT_MODIFYSTRING is ignored: the text is the caller's and is never written to.
int DrawTextBox(HDC dc, std::string_view text, int x, int y, int width, int height, UINT format);
BOOL GetWindowBounds(HWND window, WindowBounds& bounds);

// Nine-slice copy of the source rectangle onto the target box; corners keep their size,
// edges stretch along their length, the centre both ways. With a key colour, source pixels
// of that colour leave the target unchanged. Non-zero when something was drawn.
// Negative borders count as 0. Borders that do not fit the target (or, with a larger target,
// the source less one centre pixel) shrink in proportion, so a box smaller than its borders
// shows the outer part of each; nothing outside the source rectangle is read and nothing
// outside the target box is written.
int BlitSkinPiece(HDC target,
                  int x,
                  int y,
                  int width,
                  int height,
                  HDC source,
                  int source_x,
                  int source_y,
                  int source_width,
                  int source_height,
                  int left,
                  int top,
                  int right,
                  int bottom,
                  std::optional<COLORREF> key = std::nullopt);

// Copies width x height pixels, leaving target pixels unchanged where the source equals the
// key. The key may be an OLE colour (top bit set: a system colour index).
void TransparentBlit(HDC target,
                     int x,
                     int y,
                     int width,
                     int height,
                     HDC source,
                     int source_x,
                     int source_y,
                     COLORREF key,
                     HPALETTE palette = nullptr);
