// The five skin bitmaps, read back pixel by pixel after they are built.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "paint/primitives.h"
#include "paint/skin_bitmap_tables.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win_support/gdi_object_count.h"
#include "win_support/pixel_canvas.h"

namespace {

// "BBGGRR BBGGRR ..." as written in the design notes, into colour references.
std::vector<COLORREF> Row(const char* text) {
    std::vector<COLORREF> row;
    unsigned value = 0;
    int consumed = 0;
    while (std::sscanf(text, " %6x%n", &value, &consumed) == 1) {
        row.push_back(value);
        text += consumed;
    }
    return row;
}

class SkinBitmapsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { BuildSkinBitmaps(); }
    static void TearDownTestSuite() { ReleaseSkinBitmaps(); }

    static COLORREF At(HDC bitmap, int x, int y) { return GetPixel(bitmap, x, y); }

    // Checks `expected` against the bitmap's row y from column x onwards.
    static void ExpectRow(HDC bitmap, int x, int y, const char* expected) {
        std::vector<COLORREF> row = Row(expected);
        ASSERT_FALSE(row.empty());
        for (size_t i = 0; i < row.size(); ++i)
            EXPECT_EQ(At(bitmap, x + static_cast<int>(i), y), row[i]) << "pixel " << x + i << "," << y;
    }
    static int Channel(COLORREF colour, int shift) { return (colour >> shift) & 0xFF; }
    // Every channel of `later` is at most that of `earlier`: no lighter step.
    static bool NotLighter(COLORREF earlier, COLORREF later) {
        for (int shift : {0, 8, 16})
            if (Channel(later, shift) > Channel(earlier, shift))
                return false;
        return true;
    }
    static int Brightness(COLORREF colour) { return Channel(colour, 0) + Channel(colour, 8) + Channel(colour, 16); }
};

TEST_F(SkinBitmapsTest, SurfacesHaveTheirSizes) {
    struct Expected {
        HDC surface;
        int width, height;
    } expected[] = {{SkinBitmaps().button_skin, 7, 84},
                    {SkinBitmaps().combo_button_skin, 15, 18},
                    {SkinBitmaps().glyph_skin, 18, 24},
                    {SkinBitmaps().option_skin, 13, 52},
                    {SkinBitmaps().header_skin, 9, 20}};
    for (const Expected& e : expected) {
        ASSERT_NE(e.surface, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectW(GetCurrentObject(e.surface, OBJ_BITMAP), sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, e.width);
        EXPECT_EQ(info.bmHeight, e.height);
    }
}

TEST_F(SkinBitmapsTest, EveryPixelReadsBackAsItsTableValue) {
    struct Pair {
        HDC surface;
        const SkinPixelTable& table;
        int pixels;
    } pairs[] = {{SkinBitmaps().button_skin, kButtonSkinTable, 588},
                 {SkinBitmaps().combo_button_skin, kComboButtonSkinTable, 270},
                 {SkinBitmaps().glyph_skin, kGlyphSkinTable, 432},
                 {SkinBitmaps().option_skin, kOptionSkinTable, 676},
                 {SkinBitmaps().header_skin, kHeaderSkinTable, 180}};
    for (const Pair& p : pairs) {
        EXPECT_EQ(p.table.width * p.table.height, p.pixels);
        for (int y = 0; y < p.table.height; ++y)
            for (int x = 0; x < p.table.width; ++x)
                ASSERT_EQ(At(p.surface, x, y), p.table.pixels[y * p.table.width + x]) << x << "," << y;
    }
}

TEST_F(SkinBitmapsTest, ButtonAndHeaderAreFullyOpaque) {
    for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_NE(At(SkinBitmaps().button_skin, x, y), kKeyColour) << x << "," << y;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_NE(At(SkinBitmaps().header_skin, x, y), kKeyColour) << x << "," << y;
}

// ---- ButtonSkin ----

TEST_F(SkinBitmapsTest, ButtonNormalFrameListedRows) {
    HDC b = SkinBitmaps().button_skin;
    ExpectRow(b, 0, 0, "F9E1BF E3B36B D8972C D58F1B D8972C E3B36B F9E1BF");
    ExpectRow(b, 0, 1, "E2B269 E7C07E FBF3E7 FFFFFF FBF3E7 E7C07E E2B269");
    ExpectRow(b, 0, 2, "D79529 FCF6EC FFFFFF FFFFFF FFFFFF FCF6EC D79529");
    ExpectRow(b, 0, 3, "D58F1B FDFAF5 FCF8F1 FCF8F1 FCF8F1 FDFAF5 D58F1B");
    ExpectRow(b, 0, 17, "D58F1B F0DEC9 EAD0B1 EAD0B1 EAD0B1 F0DEC9 D58F1B");
    ExpectRow(b, 0, 18, "D79528 EED7BA ECD6BB E9CFB0 ECD5BB EED7BA D79528");
    ExpectRow(b, 0, 19, "E2B064 E1B268 EED8BB F1E0CC EED8BB E1B268 E1AF62");
    ExpectRow(b, 0, 20, "FBE7CA E1AE60 D8962A D58F1B D8962A E1AE60 FBE7CA");
}

TEST_F(SkinBitmapsTest, ButtonMiddleRowsHaveBorderSideAndCentreForm) {
    HDC b = SkinBitmaps().button_skin;
    for (int frame = 0; frame < 4; ++frame) {
        const COLORREF border = frame == 3 ? 0x00E8C387 : 0x00D58F1B;
        for (int row = 3; row <= 17; ++row) {
            const int y = 21 * frame + row;
            EXPECT_EQ(At(b, 0, y), border) << "frame " << frame << " row " << row;
            EXPECT_EQ(At(b, 6, y), border) << "frame " << frame << " row " << row;
            EXPECT_EQ(At(b, 1, y), At(b, 5, y)) << "frame " << frame << " row " << row;
            // Column 3 is stretched across the face; 2 and 4 beside it must match it.
            EXPECT_EQ(At(b, 2, y), At(b, 3, y)) << "frame " << frame << " row " << row;
            EXPECT_EQ(At(b, 4, y), At(b, 3, y)) << "frame " << frame << " row " << row;
            if (frame == 0 || frame == 3) {
                EXPECT_NE(At(b, 1, y), At(b, 3, y)) << "a shade apart, frame " << frame << " row " << row;
            }
        }
    }
}

TEST_F(SkinBitmapsTest, ButtonNormalFaceDarkensRowByRow) {
    HDC b = SkinBitmaps().button_skin;
    for (int y = 4; y <= 17; ++y) {
        EXPECT_TRUE(NotLighter(At(b, 1, y - 1), At(b, 1, y))) << "row " << y;
        EXPECT_TRUE(NotLighter(At(b, 3, y - 1), At(b, 3, y))) << "row " << y;
        EXPECT_LT(Brightness(At(b, 3, y)), Brightness(At(b, 3, y - 1))) << "row " << y;
    }
}

TEST_F(SkinBitmapsTest, ButtonHoverAndPressedShareTheOuterRows) {
    HDC b = SkinBitmaps().button_skin;
    for (int frame : {1, 2}) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(At(b, x, 21 * frame), At(b, x, 0)) << "frame " << frame << " column " << x;
            EXPECT_EQ(At(b, x, 21 * frame + 20), At(b, x, 20)) << "frame " << frame << " column " << x;
        }
    }
}

TEST_F(SkinBitmapsTest, ButtonHoverRingAndCentre) {
    HDC b = SkinBitmaps().button_skin;
    const int top = 21;
    for (int x : {1, 5}) {
        EXPECT_EQ(At(b, x, top + 1), 0x00E6A328u);
        EXPECT_EQ(At(b, x, top + 18), 0x00F6B633u);
        bool passesThrough = false;
        for (int row = 2; row < 18; ++row)
            passesThrough |= At(b, x, top + row) == 0x00FBC34C;
        EXPECT_TRUE(passesThrough) << "column " << x;
    }
    EXPECT_EQ(At(b, 3, top + 2), 0x00FFEDC6u);
    EXPECT_EQ(At(b, 3, top + 5), 0x00FCF2E4u);
    EXPECT_EQ(At(b, 3, top + 16), 0x00EFD5AFu);
    for (int row = 6; row <= 16; ++row)
        EXPECT_TRUE(NotLighter(At(b, 3, top + row - 1), At(b, 3, top + row))) << "darkening at row " << row;
}

TEST_F(SkinBitmapsTest, ButtonPressedCentreRunsTheOtherWay) {
    HDC b = SkinBitmaps().button_skin;
    const int top = 42;
    EXPECT_EQ(At(b, 3, top + 2), 0x00F3CC86u);
    EXPECT_EQ(At(b, 3, top + 15), 0x00FCEFD6u);
    for (int row = 3; row <= 15; ++row)
        EXPECT_GT(Brightness(At(b, 3, top + row)), Brightness(At(b, 3, top + row - 1))) << "row " << row;
    for (int x : {1, 5}) {
        EXPECT_EQ(At(b, x, top + 1), 0x00E6A328u);
        EXPECT_EQ(At(b, x, top + 18), 0x00F6B633u);
    }
}

TEST_F(SkinBitmapsTest, ButtonDisabledFrameIsPale) {
    HDC b = SkinBitmaps().button_skin;
    const int top = 63;
    EXPECT_EQ(At(b, 3, top), 0x00E8C387u);
    EXPECT_EQ(At(b, 3, top + 20), 0x00E8C387u);
    EXPECT_EQ(At(b, 3, top + 3), 0x00FDFBF8u);
    EXPECT_EQ(At(b, 3, top + 17), 0x00F3E3D2u);
    // The corners are softened: the outermost corner pixels are lighter than the border.
    for (int y : {top, top + 20})
        for (int x : {0, 6})
            EXPECT_GT(Brightness(At(b, x, y)), Brightness(0x00E8C387)) << x << "," << y;
}

// ---- ComboButtonSkin ----

TEST_F(SkinBitmapsTest, ComboBorderLinesAndFaceEnds) {
    HDC c = SkinBitmaps().combo_button_skin;
    for (int y = 0; y < 18; ++y) {
        EXPECT_EQ(At(c, 0, y), 0x00D1A04Eu) << "row " << y;
        EXPECT_EQ(At(c, 4, y), 0x00D1A04Eu) << "row " << y;
    }
    EXPECT_EQ(At(c, 1, 0), 0x00FFF9E8u);
    EXPECT_EQ(At(c, 1, 17), 0x00F3E1C0u);
    EXPECT_EQ(At(c, 2, 1), 0x00FDEEC1u);
    EXPECT_EQ(At(c, 2, 16), 0x00E3B865u);
    EXPECT_EQ(At(c, 5, 0), 0x00F3E1BEu);
    EXPECT_EQ(At(c, 5, 17), 0x00FEF8E6u);
    EXPECT_EQ(At(c, 6, 1), 0x00E2B561u);
    EXPECT_EQ(At(c, 6, 16), 0x00FCEBBCu);
    for (int y = 1; y <= 16; ++y) {
        // The middle column is a shade darker than its sides.
        EXPECT_LT(Brightness(At(c, 2, y)), Brightness(At(c, 1, y))) << "hover row " << y;
        EXPECT_LT(Brightness(At(c, 6, y)), Brightness(At(c, 5, y))) << "pressed row " << y;
    }
}

TEST_F(SkinBitmapsTest, ComboArrowsAreCentredTrianglesOnKeyColour) {
    HDC c = SkinBitmaps().combo_button_skin;
    for (int y = 0; y < 18; ++y) {
        for (int x = 8; x < 15; ++x) {
            COLORREF expected = kKeyColour;
            if (y < 8) {
                int row = y % 4;
                int column = x - 8;
                if (column >= row && column < 7 - row)
                    expected = y < 4 ? 0x005F5519 : 0x00ACA584;
            }
            ASSERT_EQ(At(c, x, y), expected) << x << "," << y;
        }
    }
}

// ---- GlyphSkin ----

TEST_F(SkinBitmapsTest, GlyphCheckMarkMaskAndColours) {
    static const char* const mask[8] = {"........#", ".......##", "......###", "##...###.",
                                        "###.###..", ".#####...", "..###....", "...#....."};
    static const COLORREF enabled[8] = {0x001DB754, 0x001BB451, 0x0017AF4D, 0x0013A948,
                                        0x000FA243, 0x000A9C3E, 0x00069639, 0x00029135};
    static const COLORREF disabled[8] = {0x008CDAA8, 0x008BD9A6, 0x0089D6A4, 0x0087D3A2,
                                         0x0085D09F, 0x0082CD9D, 0x0080C99A, 0x007EC798};
    HDC g = SkinBitmaps().glyph_skin;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 9; ++x) {
            bool mark = mask[y][x] == '#';
            ASSERT_EQ(At(g, x, y), mark ? enabled[y] : kKeyColour) << x << "," << y;
            ASSERT_EQ(At(g, 9 + x, y), mark ? disabled[y] : kKeyColour) << 9 + x << "," << y;
        }
    }
}

TEST_F(SkinBitmapsTest, GlyphIndeterminateSquareIsAFullBlock) {
    static const COLORREF enabled[7] = {0x001BB451, 0x0018B04E, 0x0014AB49, 0x0010A445,
                                        0x000C9E40, 0x0007983B, 0x00069639};
    static const COLORREF disabled[7] = {0x008BD9A6, 0x0089D6A4, 0x0087D4A3, 0x0086D1A0,
                                         0x0083CE9E, 0x0081CA9B, 0x0080C99A};
    HDC g = SkinBitmaps().glyph_skin;
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(At(g, 1 + x, 9 + y), enabled[y]) << x << "," << y;
            ASSERT_EQ(At(g, 10 + x, 9 + y), disabled[y]) << x << "," << y;
        }
    }
}

TEST_F(SkinBitmapsTest, GlyphOptionDotRows) {
    HDC g = SkinBitmaps().glyph_skin;
    ExpectRow(g, 3, 18, "60CC87 28BA5C 60CC87");
    ExpectRow(g, 2, 19, "5EC883 19B14F 19B14F 19B14F 5EC883");
    ExpectRow(g, 2, 20, "1DAC50 12A847 12A847 12A847 1DAC50");
    ExpectRow(g, 2, 21, "54BA78 0B9D3F 0B9D3F 0B9D3F 54BA78");
    ExpectRow(g, 3, 22, "4FB473 109940 4FB473");
    ExpectRow(g, 12, 18, "AFE5C3 93DCAD AFE5C3");
    ExpectRow(g, 11, 19, "AEE3C1 8CD8A7 8CD8A7 8CD8A7 AEE3C1");
    ExpectRow(g, 11, 20, "8ED5A7 88D3A3 88D3A3 88D3A3 8ED5A7");
    ExpectRow(g, 11, 21, "A9DCBB 85CE9F 85CE9F 85CE9F A9DCBB");
    ExpectRow(g, 12, 22, "A7D9B9 87CC9F A7D9B9");
}

TEST_F(SkinBitmapsTest, GlyphEverythingOutsideTheMarksIsKeyColour) {
    auto inMark = [](int x, int y) {
        for (int left : {0, 9}) {
            int column = x - left;
            if (y < 8 && column >= 0 && column < 9)
                return true;  // the check mask is tested above
            if (y >= 9 && y < 16 && column >= 1 && column < 8)
                return true;
            if (y >= 18 && y < 23 && column >= 2 && column < 7) {
                bool corner = (y == 18 || y == 22) && (column == 2 || column == 6);
                return !corner;
            }
        }
        return false;
    };
    HDC g = SkinBitmaps().glyph_skin;
    int keyed = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (inMark(x, y)) {
                if (y >= 9) {
                    ASSERT_NE(At(g, x, y), kKeyColour) << x << "," << y;
                }
                continue;
            }
            ASSERT_EQ(At(g, x, y), kKeyColour) << x << "," << y;
            ++keyed;
        }
    }
    EXPECT_EQ(keyed, 432 - 8 * 18 - 2 * 49 - 2 * 21);
}

// ---- OptionSkin ----

bool InDisc(int x, int y) {
    int first = y == 0 || y == 12 ? 3 : y == 1 || y == 11 ? 2 : y == 2 || y == 10 ? 1 : 0;
    return x >= first && x <= 12 - first;
}

TEST_F(SkinBitmapsTest, OptionDiscShapeIsTheSameInEveryFrame) {
    HDC o = SkinBitmaps().option_skin;
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                COLORREF pixel = At(o, x, 13 * frame + y);
                EXPECT_EQ(pixel != kKeyColour, InDisc(x, y)) << "frame " << frame << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(SkinBitmapsTest, OptionOuterRingRunsRoundAllFourSides) {
    struct Ring {
        int frame;
        const char* top;
    } rings[] = {{0, "E7CFBC D9B395 D3A886 D2A683 D3A886 D9B395 E7CFBC"},
                 {1, "E7CFBC D9B395 D3A886 D2A683 D3A886 D9B395 E7CFBC"},
                 {2, "DDBCA4 CA9976 C28B67 C18964 C28B67 CA9976 DDBCA4"},
                 {3, "F3E7DD ECD9CA E9D3C2 E8D2C1 E9D3C2 ECD9CA F3E7DD"}};
    HDC o = SkinBitmaps().option_skin;
    for (const Ring& ring : rings) {
        std::vector<COLORREF> colours = Row(ring.top);
        const int top = 13 * ring.frame;
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(At(o, 3 + i, top), colours[i]) << "frame " << ring.frame << " top " << i;
            EXPECT_EQ(At(o, 3 + i, top + 12), colours[i]) << "frame " << ring.frame << " bottom " << i;
            EXPECT_EQ(At(o, 0, top + 3 + i), colours[i]) << "frame " << ring.frame << " left " << i;
            EXPECT_EQ(At(o, 12, top + 3 + i), colours[i]) << "frame " << ring.frame << " right " << i;
        }
    }
}

TEST_F(SkinBitmapsTest, OptionFramesAreSymmetric) {
    HDC o = SkinBitmaps().option_skin;
    for (int frame : {0, 3}) {
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                COLORREF pixel = At(o, x, 13 * frame + y);
                ASSERT_EQ(pixel, At(o, 12 - x, 13 * frame + y)) << frame << ":" << x << "," << y;
                ASSERT_EQ(pixel, At(o, x, 13 * frame + 12 - y)) << frame << ":" << x << "," << y;
                ASSERT_EQ(pixel, At(o, y, 13 * frame + x)) << frame << ":" << x << "," << y;
            }
        }
    }
}

TEST_F(SkinBitmapsTest, OptionInteriors) {
    HDC o = SkinBitmaps().option_skin;
    EXPECT_EQ(At(o, 6, 6), kWhite) << "normal centre";
    EXPECT_EQ(At(o, 6, 39 + 6), kWhite) << "disabled centre";
    // The normal frame has a rim inside the ring, darker than the white centre.
    EXPECT_LT(Brightness(At(o, 6, 1)), Brightness(kWhite));
    // Hover: from the top left to the bottom right of the interior.
    EXPECT_EQ(At(o, 2, 13 + 3), 0x00F8EAC3u);
    EXPECT_EQ(At(o, 10, 13 + 9), 0x00FDF5E1u);
    EXPECT_LT(Brightness(At(o, 3, 13 + 4)), Brightness(At(o, 9, 13 + 8)));
    // Pressed: from bottom left to top right.
    EXPECT_EQ(At(o, 2, 26 + 9), 0x00F5E1ADu);
    EXPECT_EQ(At(o, 10, 26 + 3), 0x00FDF1D4u);
    EXPECT_LT(Brightness(At(o, 3, 26 + 8)), Brightness(At(o, 9, 26 + 4)));
}

// ---- HeaderSkin ----

TEST_F(SkinBitmapsTest, HeaderBottomLineAndNormalFace) {
    HDC h = SkinBitmaps().header_skin;
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(At(h, x, 19), 0x00F2DAC0u) << "column " << x;
    for (int x : {0, 1}) {
        EXPECT_EQ(At(h, x, 0), 0x00FEF5EAu);
        EXPECT_EQ(At(h, x, 18), 0x00F6E5D3u);
        for (int y = 1; y <= 18; ++y)
            EXPECT_TRUE(NotLighter(At(h, x, y - 1), At(h, x, y))) << "row " << y;
    }
    // The separator is darkest in the middle and fades to the face at both ends.
    EXPECT_EQ(At(h, 2, 9), 0x00D9B07Au);
    EXPECT_EQ(At(h, 2, 10), 0x00D9B07Au);
    EXPECT_EQ(At(h, 2, 0), At(h, 1, 0));
    EXPECT_EQ(At(h, 2, 18), At(h, 1, 18));
    for (int y = 1; y <= 9; ++y)
        EXPECT_LT(Brightness(At(h, 2, y)), Brightness(At(h, 2, y - 1))) << "row " << y;
    for (int y = 11; y <= 18; ++y)
        EXPECT_GT(Brightness(At(h, 2, y)), Brightness(At(h, 2, y - 1))) << "row " << y;
}

TEST_F(SkinBitmapsTest, HeaderHoverFace) {
    HDC h = SkinBitmaps().header_skin;
    EXPECT_EQ(At(h, 3, 0), 0x00FDE6BDu);
    for (int y = 5; y <= 17; ++y)
        EXPECT_EQ(At(h, 3, y), 0x00FAC25Eu) << "row " << y;
    EXPECT_EQ(At(h, 4, 0), 0x00FEEED3u);
    EXPECT_EQ(At(h, 4, 17), 0x00FDE0ACu);
    EXPECT_EQ(At(h, 5, 9), 0x00DBA24Bu);
    EXPECT_EQ(At(h, 5, 10), 0x00DBA24Bu);
    for (int y = 0; y <= 18; ++y)
        EXPECT_LE(Brightness(At(h, 5, y)), Brightness(At(h, 4, y))) << "darker edge, row " << y;
}

TEST_F(SkinBitmapsTest, HeaderPressedFace) {
    HDC h = SkinBitmaps().header_skin;
    EXPECT_EQ(At(h, 6, 0), 0x00FBD797u);
    for (int y = 3; y <= 12; ++y)
        EXPECT_EQ(At(h, 6, y), 0x00FAC25Eu) << "row " << y;
    EXPECT_EQ(At(h, 6, 18), 0x00FDE3A8u);
    for (int y = 13; y <= 18; ++y)
        EXPECT_GT(Brightness(At(h, 6, y)), Brightness(At(h, 6, y - 1))) << "row " << y;
    EXPECT_EQ(At(h, 7, 1), 0x00FFDC9Fu);
    for (int y = 16; y <= 18; ++y)
        EXPECT_EQ(At(h, 7, y), 0x00FFF2C8u) << "row " << y;
    for (int y = 2; y <= 16; ++y)
        EXPECT_GE(Brightness(At(h, 7, y)), Brightness(At(h, 7, y - 1))) << "row " << y;
    for (int y = 5; y <= 12; ++y)
        EXPECT_EQ(At(h, 8, y), At(h, 5, y)) << "row " << y;
}

// ---- Life cycle ----

TEST(SkinBitmapsLifecycle, ReleaseFreesEverySurfaceAndClearsTheSlots) {
    BuildSkinBitmaps();
    std::vector<HGDIOBJ> objects;
    for (HDC surface : {SkinBitmaps().button_skin, SkinBitmaps().combo_button_skin, SkinBitmaps().glyph_skin,
                        SkinBitmaps().option_skin, SkinBitmaps().header_skin}) {
        ASSERT_NE(surface, nullptr);
        objects.push_back(surface);
        objects.push_back(GetCurrentObject(surface, OBJ_BITMAP));
    }
    ReleaseSkinBitmaps();
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u);
    EXPECT_EQ(SkinBitmaps().button_skin, nullptr);
    EXPECT_EQ(SkinBitmaps().combo_button_skin, nullptr);
    EXPECT_EQ(SkinBitmaps().glyph_skin, nullptr);
    EXPECT_EQ(SkinBitmaps().option_skin, nullptr);
    EXPECT_EQ(SkinBitmaps().header_skin, nullptr);
    ReleaseSkinBitmaps();  // nothing built: nothing happens
}

TEST(SkinBitmapsLifecycle, BuildingAndReleasingAThousandTimesLeavesNoGdiObject) {
    BuildSkinBitmaps();  // first use may make lasting objects of the system's own
    ReleaseSkinBitmaps();
    const DWORD before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1000; ++i) {
        BuildSkinBitmaps();
        ASSERT_EQ(GdiObjectCount(), before + 10) << "five DCs and five bitmaps, cycle " << i;
        ReleaseSkinBitmaps();
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(SkinBitmapsLifecycle, BuildingTwiceReplacesTheFirstSet) {
    BuildSkinBitmaps();
    ReleaseSkinBitmaps();
    const DWORD before = GdiObjectCount();
    BuildSkinBitmaps();
    BuildSkinBitmaps();
    EXPECT_EQ(GdiObjectCount(), before + 10);
    ReleaseSkinBitmaps();
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
