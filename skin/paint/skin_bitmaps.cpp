#include "skin/paint/skin_bitmaps.h"

#include "skin/paint/primitives.h"
#include "skin/paint/skin_bitmap_tables.h"

SkinBitmapSet SkinBitmaps;

namespace {

// Every pixel is written once, from the table, so nothing depends on what a new surface
// happens to contain. A surface that could not be made is 0 and its writes do nothing.
void PaintFromTable(HDC surface, const SkinPixelTable& table) {
    for (int y = 0; y < table.height; ++y)
        for (int x = 0; x < table.width; ++x)
            SetPixel(surface, x, y, table.pixels[y * table.width + x]);
}

}  // namespace

void BuildSkinBitmaps() {
    // A second build without a release in between would orphan the first set.
    ReleaseSkinBitmaps();
    SkinBitmaps.ButtonSkin = CreateSurface(ButtonSkinTable.width, ButtonSkinTable.height);
    SkinBitmaps.ComboButtonSkin = CreateSurface(ComboButtonSkinTable.width, ComboButtonSkinTable.height);
    SkinBitmaps.GlyphSkin = CreateSurface(GlyphSkinTable.width, GlyphSkinTable.height);
    SkinBitmaps.OptionSkin = CreateSurface(OptionSkinTable.width, OptionSkinTable.height);
    SkinBitmaps.HeaderSkin = CreateSurface(HeaderSkinTable.width, HeaderSkinTable.height);

    PaintFromTable(SkinBitmaps.ButtonSkin, ButtonSkinTable);
    PaintFromTable(SkinBitmaps.ComboButtonSkin, ComboButtonSkinTable);
    PaintFromTable(SkinBitmaps.GlyphSkin, GlyphSkinTable);
    PaintFromTable(SkinBitmaps.OptionSkin, OptionSkinTable);
    PaintFromTable(SkinBitmaps.HeaderSkin, HeaderSkinTable);
}

void ReleaseSkinBitmaps() {
    ReleaseSurface(SkinBitmaps.ButtonSkin);
    ReleaseSurface(SkinBitmaps.ComboButtonSkin);
    ReleaseSurface(SkinBitmaps.GlyphSkin);
    ReleaseSurface(SkinBitmaps.OptionSkin);
    ReleaseSurface(SkinBitmaps.HeaderSkin);
    SkinBitmaps = SkinBitmapSet{};
}
