#include "paint/primitives.h"

#include <olectl.h>

#include <algorithm>
#include <string>

#include "win/gdi_handles.h"
#include "win/wide_text.h"

namespace {

HDC CreateDisplayDC() {
    return CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
}

RECT BoxRect(int x, int y, int width, int height) {
    return RECT{x, y, x + width, y + height};
}

// One axis of a nine-slice copy: the two border widths after they have been fitted to the
// source and target extents.
struct Borders {
    int first;
    int second;
};

// Borders that do not fit are shrunk in proportion: the target then shows the outer part of
// each border (its frame line survives on both sides) and no centre. When the target is
// wider than the source, one source pixel is kept for the centre so that there is always
// something to stretch and no work-surface pixel is left undrawn. Nothing outside the source
// rectangle is ever read.
Borders FitBorders(int first, int second, int extent, int source_extent) {
    first = std::max(first, 0);
    second = std::max(second, 0);
    int room = extent > source_extent ? source_extent - 1 : extent;
    if (first + second <= room)
        return {first, second};
    // Nearest integer, ties to even, like every other halving in the skin.
    long long numerator = static_cast<long long>(first) * room;
    long long total = first + second;
    long long share = numerator / total;
    long long remainder = numerator % total;
    if (remainder * 2 > total || (remainder * 2 == total && share % 2 != 0))
        ++share;
    return {static_cast<int>(share), room - static_cast<int>(share)};
}

}  // namespace

HDC CreateSurface(int width, int height) {
    // Some drivers take the magnitude of a negative size, and a zero size gives the stock 1 x 1
    // monochrome bitmap, which the surface would then own and "delete": a surface without pixels
    // is always a caller's mistake, so refuse it everywhere alike.
    if (width <= 0 || height <= 0)
        return nullptr;
    ScopedCreatedDC display(CreateDisplayDC());
    if (!display)
        return nullptr;
    ScopedCreatedDC surface(CreateCompatibleDC(display.get()));
    if (!surface)
        return nullptr;
    ScopedBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
    if (!bitmap)
        return nullptr;
    // The replaced object is the DC's stock default bitmap; deleting a stock object is a no-op.
    HGDIOBJ replaced = SelectObject(surface.get(), bitmap.release());
    if (replaced)
        DeleteObject(replaced);
    SetStretchBltMode(surface.get(), COLORONCOLOR);
    return surface.release();
}

void ReleaseSurface(HDC surface) {
    if (!surface)
        return;
    HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
    DeleteDC(surface);
    if (bitmap)
        DeleteObject(bitmap);
}

BOOL FillSolid(HDC dc, int x, int y, int width, int height, COLORREF colour) {
    ScopedBrush brush(CreateSolidBrush(colour));
    if (!brush)
        return FALSE;
    RECT box = BoxRect(x, y, width, height);
    return FillRect(dc, &box, brush.get()) != 0;
}

BOOL FrameSolid(HDC dc, int x, int y, int width, int height, COLORREF colour) {
    ScopedBrush brush(CreateSolidBrush(colour));
    if (!brush)
        return FALSE;
    RECT box = BoxRect(x, y, width, height);
    return FrameRect(dc, &box, brush.get()) != 0;
}

BOOL DrawFocusBox(HDC dc, int x, int y, int width, int height) {
    RECT box = BoxRect(x, y, width, height);
    return DrawFocusRect(dc, &box);
}

int DrawTextBox(HDC dc, std::string_view text, int x, int y, int width, int height, UINT format) {
    std::wstring wide = WideFromUtf8(text);
    RECT box = BoxRect(x, y, width, height);
    // The converted copy is private to this call, so an ellipsis written into it could never
    // reach the caller; without the flag DrawText cannot write past the copy's end either.
    return DrawTextW(dc, wide.c_str(), -1, &box, format & ~static_cast<UINT>(DT_MODIFYSTRING));
}

BOOL GetWindowBounds(HWND window, WindowBounds& bounds) {
    RECT outer{};
    if (!GetWindowRect(window, &outer)) {
        bounds = WindowBounds{};
        return FALSE;
    }
    bounds.left = outer.left;
    bounds.top = outer.top;
    bounds.right = outer.right;
    bounds.bottom = outer.bottom;
    bounds.width = outer.right - outer.left;
    bounds.height = outer.bottom - outer.top;
    return TRUE;
}

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
                  std::optional<COLORREF> key) {
    if (width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0)
        return 0;

    ScopedSurface surface(width, height);
    if (!surface)
        return 0;
    HDC work = surface.get();

    if (left <= 0 && top <= 0 && right <= 0 && bottom <= 0) {
        StretchBlt(work, 0, 0, width, height, source, source_x, source_y, source_width, source_height, SRCCOPY);
    } else {
        Borders across = FitBorders(left, right, width, source_width);
        Borders down = FitBorders(top, bottom, height, source_height);
        const int l = across.first, r = across.second, t = down.first, b = down.second;
        const int middle_width = width - l - r, middle_height = height - t - b;
        const int source_middle_width = source_width - l - r, source_middle_height = source_height - t - b;
        const int source_right = source_x + source_width - r, source_bottom = source_y + source_height - b;

        if (l > 0 && t > 0)
            BitBlt(work, 0, 0, l, t, source, source_x, source_y, SRCCOPY);
        if (r > 0 && t > 0)
            BitBlt(work, width - r, 0, r, t, source, source_right, source_y, SRCCOPY);
        if (l > 0 && b > 0)
            BitBlt(work, 0, height - b, l, b, source, source_x, source_bottom, SRCCOPY);
        if (r > 0 && b > 0)
            BitBlt(work, width - r, height - b, r, b, source, source_right, source_bottom, SRCCOPY);
        // A zero extent would make StretchBlt fail anyway; skipping it keeps the calls honest.
        if (middle_height > 0) {
            if (l > 0)
                StretchBlt(work, 0, t, l, middle_height, source, source_x, source_y + t, l, source_middle_height,
                           SRCCOPY);
            if (r > 0)
                StretchBlt(work, width - r, t, r, middle_height, source, source_right, source_y + t, r,
                           source_middle_height, SRCCOPY);
        }
        if (middle_width > 0) {
            if (t > 0)
                StretchBlt(work, l, 0, middle_width, t, source, source_x + l, source_y, source_middle_width, t,
                           SRCCOPY);
            if (b > 0)
                StretchBlt(work, l, height - b, middle_width, b, source, source_x + l, source_bottom,
                           source_middle_width, b, SRCCOPY);
        }
        if (middle_width > 0 && middle_height > 0)
            StretchBlt(work, l, t, middle_width, middle_height, source, source_x + l, source_y + t, source_middle_width,
                       source_middle_height, SRCCOPY);
    }

    if (!key)
        return BitBlt(target, x, y, width, height, work, 0, 0, SRCCOPY) ? 1 : 0;
    TransparentBlit(target, x, y, width, height, work, 0, 0, *key, nullptr);
    return 1;
}

void TransparentBlit(HDC target,
                     int x,
                     int y,
                     int width,
                     int height,
                     HDC source,
                     int source_x,
                     int source_y,
                     COLORREF key,
                     HPALETTE palette) {
    if (width <= 0 || height <= 0)
        return;
    ScopedCreatedDC display(CreateDisplayDC());
    if (!display)
        return;
    ScopedPalette halftone(palette ? nullptr : CreateHalftonePalette(display.get()));
    if (!palette)
        palette = halftone.get();

    COLORREF key_rgb = 0;
    if (OleTranslateColor(key, palette, &key_rgb) != S_OK) {
        // No colour to key on (an unknown system colour index, say): nothing is transparent.
        BitBlt(target, x, y, width, height, source, source_x, source_y, SRCCOPY);
        return;
    }
    key_rgb &= 0x00FFFFFF;

    // Background copy: what the target shows now.
    ScopedBitmap back_bitmap(CreateCompatibleBitmap(display.get(), width, height));
    ScopedCreatedDC back_dc(CreateCompatibleDC(display.get()));
    if (!back_bitmap || !back_dc)
        return;
    ScopedSelect back_select(back_dc.get(), back_bitmap.get());
    ScopedSelectPalette back_palette(back_dc.get(), palette, FALSE);
    BitBlt(back_dc.get(), 0, 0, width, height, target, x, y, SRCCOPY);

    // Source copy, and the monochrome mask of its key pixels.
    ScopedBitmap source_bitmap(CreateCompatibleBitmap(display.get(), width, height));
    ScopedBitmap mask_bitmap(CreateBitmap(width, height, 1, 1, nullptr));
    ScopedCreatedDC source_dc(CreateCompatibleDC(display.get()));
    if (!source_bitmap || !mask_bitmap || !source_dc)
        return;
    ScopedSelect source_select(source_dc.get(), source_bitmap.get());
    ScopedSelectPalette source_palette(source_dc.get(), palette, TRUE);
    // A monochrome source expands through these colours; copy them so the copy matches it.
    SetBkColor(source_dc.get(), GetBkColor(source));
    SetTextColor(source_dc.get(), GetTextColor(source));
    BitBlt(source_dc.get(), 0, 0, width, height, source, source_x, source_y, SRCCOPY);

    ScopedCreatedDC mask_dc(CreateCompatibleDC(display.get()));
    if (!mask_dc)
        return;
    ScopedSelect mask_select(mask_dc.get(), mask_bitmap.get());
    // Colour to monochrome: pixels of the background colour become 1, all others 0.
    SetBkColor(source_dc.get(), key_rgb);
    SetTextColor(source_dc.get(), 0x00FFFFFF);
    BitBlt(mask_dc.get(), 0, 0, width, height, source_dc.get(), 0, 0, SRCCOPY);

    // Monochrome to colour: 1 expands to the background colour (white), 0 to the text colour
    // (black); destination AND NOT source then blackens the key pixels of the source copy.
    SetTextColor(source_dc.get(), 0x00000000);
    SetBkColor(source_dc.get(), 0x00FFFFFF);
    BitBlt(source_dc.get(), 0, 0, width, height, mask_dc.get(), 0, 0, 0x00220326);

    // The background copy keeps a fresh DC's black text and white background, so the mask
    // expands to white over key pixels (kept) and black elsewhere (cleared).
    BitBlt(back_dc.get(), 0, 0, width, height, mask_dc.get(), 0, 0, SRCAND);
    BitBlt(back_dc.get(), 0, 0, width, height, source_dc.get(), 0, 0, SRCPAINT);
    BitBlt(target, x, y, width, height, back_dc.get(), 0, 0, SRCCOPY);
}
