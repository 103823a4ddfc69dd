// The pointing hand shown over the help picture: a 32 x 32 monochrome cursor whose hot spot
// is the tip of the index finger. X is black, o is white, a blank is transparent.
#pragma once

#include "ui/art/pixel_art.h"

inline constexpr PaletteEntry kHandCursorPalette[] = {
    {'X', 0, 0, 0, 255},
    {'o', 255, 255, 255, 255},
};
inline constexpr const char* kHandCursorRows[] = {
    "      XX                        ", "     XooX                       ", "     XooX                       ",
    "     XooX                       ", "     XooX                       ", "     XooXXX                     ",
    "     XooXooXXX                  ", "     XooXooXooXX                ", " XX  XooXooXooXoX               ",
    "XooX XooXooXooXooX              ", "XoooXXooooooooXooX              ", " XooXXoooooooooooX              ",
    "  XooXoooooooooooX              ", "  XooooooooooooooX              ", "   XoooooooooooooX              ",
    "   XooooooooooooX               ", "    XoooooooooooX               ", "    XooooooooooX                ",
    "     XoooooooooX                ", "     XoooooooooX                ", "     XXXXXXXXXXX                ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ",
};

inline constexpr PixelArt kHandCursor = MakePixelArt(32, kHandCursorPalette, kHandCursorRows);
inline constexpr int kHandCursorHotSpotX = 6;
inline constexpr int kHandCursorHotSpotY = 0;
