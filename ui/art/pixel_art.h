// Artwork kept as text: every picture is a table of rows, one character per pixel, and a
// palette that maps characters to colours. A blank is a transparent pixel. The same tables
// feed the resource writer (build time, host compiler) and the program (run time).
#pragma once

#include <cstdint>

struct PaletteEntry {
    char key;
    uint8_t red, green, blue, alpha;
};

struct Rgba {
    uint8_t red = 0, green = 0, blue = 0, alpha = 0;
};

struct PixelArt {
    int width;
    int height;
    const PaletteEntry* palette;
    int palette_size;
    const char* const* rows;

    // The colour at (x, y); transparent for a blank, an unknown key or a point outside.
    constexpr Rgba At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return {};
        const char key = rows[y][x];
        for (int i = 0; i < palette_size; ++i) {
            if (palette[i].key == key)
                return {palette[i].red, palette[i].green, palette[i].blue, palette[i].alpha};
        }
        return {};
    }
};

template <int N, int H>
constexpr PixelArt MakePixelArt(int width, const PaletteEntry (&palette)[N], const char* const (&rows)[H]) {
    return PixelArt{width, H, palette, N, rows};
}
