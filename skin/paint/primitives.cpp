#include "skin/paint/primitives.h"

#include <olectl.h>

#include <algorithm>
#include <string>

#include "skin/paint/gdi_handles.h"
#include "skin/paint/wide_text.h"

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
Borders FitBorders(int first, int second, int extent, int sourceExtent) {
    first = std::max(first, 0);
    second = std::max(second, 0);
    int room = extent > sourceExtent ? sourceExtent - 1 : extent;
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
    // Some drivers take the magnitude of a negative size; a surface of negative size is
    // always a caller's mistake, so refuse it everywhere alike.
    if (width < 0 || height < 0)
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
                  int sourceX,
                  int sourceY,
                  int sourceWidth,
                  int sourceHeight,
                  int left,
                  int top,
                  int right,
                  int bottom,
                  std::optional<COLORREF> key) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return 0;

    ScopedSurface surface(width, height);
    if (!surface)
        return 0;
    HDC work = surface.get();

    if (left <= 0 && top <= 0 && right <= 0 && bottom <= 0) {
        StretchBlt(work, 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
    } else {
        Borders across = FitBorders(left, right, width, sourceWidth);
        Borders down = FitBorders(top, bottom, height, sourceHeight);
        const int l = across.first, r = across.second, t = down.first, b = down.second;
        const int middleWidth = width - l - r, middleHeight = height - t - b;
        const int sourceMiddleWidth = sourceWidth - l - r, sourceMiddleHeight = sourceHeight - t - b;
        const int sourceRight = sourceX + sourceWidth - r, sourceBottom = sourceY + sourceHeight - b;

        if (l > 0 && t > 0)
            BitBlt(work, 0, 0, l, t, source, sourceX, sourceY, SRCCOPY);
        if (r > 0 && t > 0)
            BitBlt(work, width - r, 0, r, t, source, sourceRight, sourceY, SRCCOPY);
        if (l > 0 && b > 0)
            BitBlt(work, 0, height - b, l, b, source, sourceX, sourceBottom, SRCCOPY);
        if (r > 0 && b > 0)
            BitBlt(work, width - r, height - b, r, b, source, sourceRight, sourceBottom, SRCCOPY);
        // A zero extent would make StretchBlt fail anyway; skipping it keeps the calls honest.
        if (middleHeight > 0) {
            if (l > 0)
                StretchBlt(work, 0, t, l, middleHeight, source, sourceX, sourceY + t, l, sourceMiddleHeight, SRCCOPY);
            if (r > 0)
                StretchBlt(work, width - r, t, r, middleHeight, source, sourceRight, sourceY + t, r, sourceMiddleHeight,
                           SRCCOPY);
        }
        if (middleWidth > 0) {
            if (t > 0)
                StretchBlt(work, l, 0, middleWidth, t, source, sourceX + l, sourceY, sourceMiddleWidth, t, SRCCOPY);
            if (b > 0)
                StretchBlt(work, l, height - b, middleWidth, b, source, sourceX + l, sourceBottom, sourceMiddleWidth, b,
                           SRCCOPY);
        }
        if (middleWidth > 0 && middleHeight > 0)
            StretchBlt(work, l, t, middleWidth, middleHeight, source, sourceX + l, sourceY + t, sourceMiddleWidth,
                       sourceMiddleHeight, SRCCOPY);
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
                     int sourceX,
                     int sourceY,
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

    COLORREF keyRgb = 0;
    if (OleTranslateColor(key, palette, &keyRgb) != S_OK) {
        // No colour to key on (an unknown system colour index, say): nothing is transparent.
        BitBlt(target, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
        return;
    }
    keyRgb &= 0x00FFFFFF;

    // Background copy: what the target shows now.
    ScopedBitmap backBitmap(CreateCompatibleBitmap(display.get(), width, height));
    ScopedCreatedDC backDC(CreateCompatibleDC(display.get()));
    if (!backBitmap || !backDC)
        return;
    ScopedSelect backSelect(backDC.get(), backBitmap.get());
    ScopedSelectPalette backPalette(backDC.get(), palette, FALSE);
    BitBlt(backDC.get(), 0, 0, width, height, target, x, y, SRCCOPY);

    // Source copy, and the monochrome mask of its key pixels.
    ScopedBitmap sourceBitmap(CreateCompatibleBitmap(display.get(), width, height));
    ScopedBitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    ScopedCreatedDC sourceDC(CreateCompatibleDC(display.get()));
    if (!sourceBitmap || !maskBitmap || !sourceDC)
        return;
    ScopedSelect sourceSelect(sourceDC.get(), sourceBitmap.get());
    ScopedSelectPalette sourcePalette(sourceDC.get(), palette, TRUE);
    // A monochrome source expands through these colours; copy them so the copy matches it.
    SetBkColor(sourceDC.get(), GetBkColor(source));
    SetTextColor(sourceDC.get(), GetTextColor(source));
    BitBlt(sourceDC.get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);

    ScopedCreatedDC maskDC(CreateCompatibleDC(display.get()));
    if (!maskDC)
        return;
    ScopedSelect maskSelect(maskDC.get(), maskBitmap.get());
    // Colour to monochrome: pixels of the background colour become 1, all others 0.
    SetBkColor(sourceDC.get(), keyRgb);
    SetTextColor(sourceDC.get(), 0x00FFFFFF);
    BitBlt(maskDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, SRCCOPY);

    // Monochrome to colour: 1 expands to the background colour (white), 0 to the text colour
    // (black); destination AND NOT source then blackens the key pixels of the source copy.
    SetTextColor(sourceDC.get(), 0x00000000);
    SetBkColor(sourceDC.get(), 0x00FFFFFF);
    BitBlt(sourceDC.get(), 0, 0, width, height, maskDC.get(), 0, 0, 0x00220326);

    // The background copy keeps a fresh DC's black text and white background, so the mask
    // expands to white over key pixels (kept) and black elsewhere (cleared).
    BitBlt(backDC.get(), 0, 0, width, height, maskDC.get(), 0, 0, SRCAND);
    BitBlt(backDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, SRCPAINT);
    BitBlt(target, x, y, width, height, backDC.get(), 0, 0, SRCCOPY);
}
