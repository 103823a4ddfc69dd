// The pixel tables of the five skin bitmaps: one COLORREF per pixel, row by row from the
// top, each row left to right. Key-coloured pixels are background.
#pragma once

#include <windows.h>

struct SkinPixelTable {
    int width;
    int height;
    const COLORREF* pixels;  // width * height values
};

extern const SkinPixelTable kButtonSkinTable;       // 7 x 84
extern const SkinPixelTable kComboButtonSkinTable;  // 15 x 18
extern const SkinPixelTable kGlyphSkinTable;        // 18 x 24
extern const SkinPixelTable kOptionSkinTable;       // 13 x 52
extern const SkinPixelTable kHeaderSkinTable;       // 9 x 20
