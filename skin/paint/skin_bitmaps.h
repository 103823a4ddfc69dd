// The five built-in skin bitmaps, painted from pixel tables into memory surfaces.
#pragma once

#include <windows.h>

struct SkinBitmapSet {
    HDC button_skin = nullptr;        // 7 x 84: four 7 x 21 frames, states 0-3 from the top
    HDC combo_button_skin = nullptr;  // 15 x 18: hover and pressed drop-button faces, the arrows
    HDC glyph_skin = nullptr;         // 18 x 24: check mark, indeterminate square, option dot
    HDC option_skin = nullptr;        // 13 x 52: four 13 x 13 option circles
    HDC header_skin = nullptr;        // 9 x 20: three 3 x 20 header item faces
};

// Engine-wide; alive from the first skinned window to the last (all null outside that time).
const SkinBitmapSet& SkinBitmaps();

// Creates the five surfaces and paints them pixel by pixel.
void BuildSkinBitmaps();
// Releases the five surfaces and clears the slots. Safe when nothing is built.
void ReleaseSkinBitmaps();
