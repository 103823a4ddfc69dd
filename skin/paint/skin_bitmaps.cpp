#include "paint/skin_bitmaps.h"

#include "paint/primitives.h"
#include "paint/skin_bitmap_tables.h"

namespace {

SkinBitmapSet& Bitmaps() {
    static SkinBitmapSet bitmaps;
    return bitmaps;
}

// Every pixel is written once, from the table, so nothing depends on what a new surface
// happens to contain. A surface that could not be made is 0 and its writes do nothing.
void PaintFromTable(HDC surface, const SkinPixelTable& table) {
    for (int y = 0; y < table.height; ++y)
        for (int x = 0; x < table.width; ++x)
            SetPixel(surface, x, y, table.pixels[y * table.width + x]);
}

}  // namespace

const SkinBitmapSet& SkinBitmaps() {
    return Bitmaps();
}

void BuildSkinBitmaps() {
    // A second build without a release in between would orphan the first set.
    ReleaseSkinBitmaps();
    SkinBitmapSet& bitmaps = Bitmaps();
    bitmaps.button_skin = CreateSurface(kButtonSkinTable.width, kButtonSkinTable.height);
    bitmaps.combo_button_skin = CreateSurface(kComboButtonSkinTable.width, kComboButtonSkinTable.height);
    bitmaps.glyph_skin = CreateSurface(kGlyphSkinTable.width, kGlyphSkinTable.height);
    bitmaps.option_skin = CreateSurface(kOptionSkinTable.width, kOptionSkinTable.height);
    bitmaps.header_skin = CreateSurface(kHeaderSkinTable.width, kHeaderSkinTable.height);

    PaintFromTable(bitmaps.button_skin, kButtonSkinTable);
    PaintFromTable(bitmaps.combo_button_skin, kComboButtonSkinTable);
    PaintFromTable(bitmaps.glyph_skin, kGlyphSkinTable);
    PaintFromTable(bitmaps.option_skin, kOptionSkinTable);
    PaintFromTable(bitmaps.header_skin, kHeaderSkinTable);
}

void ReleaseSkinBitmaps() {
    SkinBitmapSet& bitmaps = Bitmaps();
    ReleaseSurface(bitmaps.button_skin);
    ReleaseSurface(bitmaps.combo_button_skin);
    ReleaseSurface(bitmaps.glyph_skin);
    ReleaseSurface(bitmaps.option_skin);
    ReleaseSurface(bitmaps.header_skin);
    bitmaps = SkinBitmapSet{};
}
