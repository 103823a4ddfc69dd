// The nine-slice copy and the colour-keyed copy, pixels read back from a DIB section.
#include <gtest/gtest.h>

#include <set>

#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win_support/gdi_object_count.h"
#include "win_support/pixel_canvas.h"

namespace {

constexpr COLORREF Paper = RGB(250, 250, 250);
// Painted around every source piece: a target pixel of this colour was read outside the piece.
constexpr COLORREF Outside = RGB(0, 255, 0);

// Every pixel of the piece its own colour, so each target pixel tells where it came from.
COLORREF PieceColour(int x, int y) {
    return RGB(10 + 20 * x, 5 + 9 * y, 100);
}

// A surface holding a width x height piece at (2, 3), surrounded by the Outside colour.
class SourcePiece {
  public:
    static constexpr int X = 2;
    static constexpr int Y = 3;
    SourcePiece(int width, int height) : width_(width), height_(height), dc_(CreateSurface(width + 5, height + 6)) {
        for (int y = 0; y < height + 6; ++y)
            for (int x = 0; x < width + 5; ++x)
                SetPixel(dc_, x, y, Contains(x - X, y - Y) ? PieceColour(x - X, y - Y) : Outside);
    }
    ~SourcePiece() { ReleaseSurface(dc_); }
    SourcePiece(const SourcePiece&) = delete;
    SourcePiece& operator=(const SourcePiece&) = delete;
    HDC dc() const { return dc_; }
    bool Contains(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }

  private:
    int width_;
    int height_;
    HDC dc_;
};

void ExpectUntouchedOutside(const PixelCanvas& canvas, int x, int y, int width, int height) {
    for (int py = 0; py < canvas.height(); ++py) {
        for (int px = 0; px < canvas.width(); ++px) {
            if (px >= x && px < x + width && py >= y && py < y + height)
                continue;
            ASSERT_EQ(canvas.at(px, py), Paper) << "written outside the box at " << px << "," << py;
        }
    }
}

TEST(BlitSkinPiece, ZeroSizesDrawNothingAndReturnZero) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(40, 40);
    canvas.fill(Paper);
    const int P = SourcePiece::X, Q = SourcePiece::Y;
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, 0, 21, piece.dc(), P, Q, 7, 21, 3, 3, 3, 3), 0);
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, 7, 0, piece.dc(), P, Q, 7, 21, 3, 3, 3, 3), 0);
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, 7, 21, piece.dc(), P, Q, 0, 21, 3, 3, 3, 3), 0);
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, 7, 21, piece.dc(), P, Q, 7, 0, 3, 3, 3, 3), 0);
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, 0, 0, piece.dc(), P, Q, 7, 21, 0, 0, 0, 0, kKeyColour), 0);
    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 1, 1, -5, 21, piece.dc(), P, Q, 7, 21, 3, 3, 3, 3), 0);
    ExpectUntouchedOutside(canvas, 0, 0, 0, 0);
}

TEST(BlitSkinPiece, AllBordersZeroStretchesTheWholePiece) {
    SourcePiece piece(4, 3);
    PixelCanvas canvas(30, 30);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 5, 6, 12, 9, piece.dc(), SourcePiece::X, SourcePiece::Y, 4, 3, 0, 0, 0, 0), 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(canvas.at(5 + x, 6 + y), PieceColour(x / 3, y / 3)) << x << "," << y;
    ExpectUntouchedOutside(canvas, 5, 6, 12, 9);
}

TEST(BlitSkinPiece, NegativeBordersCountAsZero) {
    SourcePiece piece(4, 3);
    PixelCanvas canvas(30, 30);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 0, 0, 8, 6, piece.dc(), SourcePiece::X, SourcePiece::Y, 4, 3, -1, 0, -2, 0),
              0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(canvas.at(x, y), PieceColour(x / 2, y / 2)) << x << "," << y;
}

TEST(BlitSkinPiece, TargetOfTheSourceSizeReproducesItPixelForPixel) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(20, 30);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 4, 2, 7, 21, piece.dc(), SourcePiece::X, SourcePiece::Y, 7, 21, 3, 3, 3, 3),
              0);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(canvas.at(4 + x, 2 + y), PieceColour(x, y)) << x << "," << y;
    ExpectUntouchedOutside(canvas, 4, 2, 7, 21);
}

TEST(BlitSkinPiece, WiderTargetKeepsCornersAndRepeatsTheMiddleColumn) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(40, 30);
    canvas.fill(Paper);
    const int width = 30;
    EXPECT_NE(
        BlitSkinPiece(canvas.dc(), 1, 1, width, 21, piece.dc(), SourcePiece::X, SourcePiece::Y, 7, 21, 3, 3, 3, 3), 0);
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < width; ++x) {
            int sourceX = x < 3 ? x : x >= width - 3 ? x - (width - 7) : 3;
            ASSERT_EQ(canvas.at(1 + x, 1 + y), PieceColour(sourceX, y)) << x << "," << y;
        }
    }
    ExpectUntouchedOutside(canvas, 1, 1, width, 21);
}

TEST(BlitSkinPiece, TallerTargetKeepsTopAndBottomRowsAndStretchesTheEdges) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(20, 60);
    canvas.fill(Paper);
    const int height = 45;
    EXPECT_NE(
        BlitSkinPiece(canvas.dc(), 0, 0, 7, height, piece.dc(), SourcePiece::X, SourcePiece::Y, 7, 21, 3, 3, 3, 3), 0);
    int lastSourceRow = 2;
    for (int y = 0; y < height; ++y) {
        if (y < 3 || y >= height - 3) {
            int sourceY = y < 3 ? y : y - (height - 21);
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(canvas.at(x, y), PieceColour(x, sourceY)) << x << "," << y;
            continue;
        }
        // A middle row repeats one of the source's middle rows, in order, none skipped.
        int sourceY = -1;
        for (int candidate = 3; candidate < 18; ++candidate)
            if (canvas.at(0, y) == PieceColour(0, candidate))
                sourceY = candidate;
        ASSERT_GE(sourceY, 3) << "row " << y;
        ASSERT_TRUE(sourceY == lastSourceRow || sourceY == lastSourceRow + 1) << "row " << y;
        lastSourceRow = sourceY;
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(canvas.at(x, y), PieceColour(x, sourceY)) << x << "," << y;
    }
    EXPECT_EQ(lastSourceRow, 17);
}

TEST(BlitSkinPiece, KeyColouredPixelsLeaveTheTargetUnchanged) {
    HDC source = CreateSurface(7, 21);
    ASSERT_NE(source, nullptr);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 7; ++x)
            SetPixel(source, x, y, (x + y) % 3 == 0 ? kKeyColour : PieceColour(x, y));
    PixelCanvas canvas(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            canvas.set(x, y, RGB(x * 8, 200, y * 8));
    PixelCanvas before(30, 30);
    BitBlt(before.dc(), 0, 0, 30, 30, canvas.dc(), 0, 0, SRCCOPY);

    EXPECT_EQ(BlitSkinPiece(canvas.dc(), 3, 4, 7, 21, source, 0, 0, 7, 21, 3, 3, 3, 3, kKeyColour), 1);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            int px = x - 3, py = y - 4;
            bool inside = px >= 0 && px < 7 && py >= 0 && py < 21;
            COLORREF expected = inside && (px + py) % 3 != 0 ? PieceColour(px, py) : before.at(x, y);
            ASSERT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
    }
    ReleaseSurface(source);
}

// A push button lower than its 21-pixel skin frame shrinks the frame's middle rows. Every pixel
// of the face must be a colour of the frame: the default stretch mode ANDs the dropped rows
// together and shows colours the bitmap does not hold.
TEST(BlitSkinPiece, ShrinkingAButtonFrameShowsOnlyColoursOfTheFrame) {
    BuildSkinBitmaps();
    HDC skin = SkinBitmaps().button_skin;
    for (int state = 0; state < 4; ++state) {
        std::set<COLORREF> frame;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 7; ++x)
                frame.insert(GetPixel(skin, x, 21 * state + y));
        PixelCanvas canvas(40, 15);
        ASSERT_NE(BlitSkinPiece(canvas.dc(), 0, 0, 40, 15, skin, 0, 21 * state, 7, 21, 3, 3, 3, 3), 0);
        int foreign = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 40; ++x)
                foreign += frame.count(canvas.at(x, y)) == 0 ? 1 : 0;
        EXPECT_EQ(foreign, 0) << "state " << state;
    }
    ReleaseSkinBitmaps();
}

// A target narrower and lower than its two borders shows the outer part of each border,
// split in proportion to the borders, and nothing else.
TEST(BlitSkinPiece, TargetSmallerThanItsBordersShowsTheOuterBorderParts) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(20, 20);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 6, 7, 4, 5, piece.dc(), SourcePiece::X, SourcePiece::Y, 7, 21, 3, 3, 3, 3), 0);
    // Across: 4 pixels for borders 3 and 3 give 2 and 2. Down: 5 for 3 and 3 give 2.5,
    // rounded to even, so 2 and 3.
    const int sourceColumns[4] = {0, 1, 5, 6};
    const int sourceRows[5] = {0, 1, 18, 19, 20};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(canvas.at(6 + x, 7 + y), PieceColour(sourceColumns[x], sourceRows[y])) << x << "," << y;
    ExpectUntouchedOutside(canvas, 6, 7, 4, 5);
}

TEST(BlitSkinPiece, UnequalBordersSqueezedIntoATinyTargetStayInsideIt) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(10, 10);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 4, 4, 1, 1, piece.dc(), SourcePiece::X, SourcePiece::Y, 7, 21, 5, 2, 1, 1), 0);
    // One pixel for borders 5 and 1 goes to the left one; 1 for 2 and 1 to the top one.
    EXPECT_EQ(canvas.at(4, 4), PieceColour(0, 0));
    ExpectUntouchedOutside(canvas, 4, 4, 1, 1);
}

// A source no wider than its borders, into a wider target: one source column is kept for the
// centre, so every target pixel comes from inside the piece and none is left undrawn.
TEST(BlitSkinPiece, SourceSmallerThanItsBordersNeverReadsOutsideThePiece) {
    SourcePiece piece(4, 4);
    PixelCanvas canvas(20, 20);
    canvas.fill(Paper);
    EXPECT_NE(BlitSkinPiece(canvas.dc(), 2, 2, 10, 10, piece.dc(), SourcePiece::X, SourcePiece::Y, 4, 4, 3, 3, 3, 3),
              0);
    std::set<COLORREF> pieceColours;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pieceColours.insert(PieceColour(x, y));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_TRUE(pieceColours.count(canvas.at(2 + x, 2 + y))) << "foreign pixel at " << x << "," << y;
    // Room 3 for borders 3 and 3: 1.5 rounds to even, 2; the other border gets 1.
    EXPECT_EQ(canvas.at(2, 2), PieceColour(0, 0));
    EXPECT_EQ(canvas.at(3, 3), PieceColour(1, 1));
    EXPECT_EQ(canvas.at(7, 7), PieceColour(2, 2));
    EXPECT_EQ(canvas.at(11, 11), PieceColour(3, 3));
    ExpectUntouchedOutside(canvas, 2, 2, 10, 10);
}

class Transparent : public ::testing::Test {
  protected:
    void SetUp() override {
        source_ = CreateSurface(12, 10);
        ASSERT_NE(source_, nullptr);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                canvas_.set(x, y, RGB(x * 8, 190, y * 8));
        BitBlt(before_.dc(), 0, 0, 30, 30, canvas_.dc(), 0, 0, SRCCOPY);
    }
    void TearDown() override { ReleaseSurface(source_); }

    // Checks that the 8 x 6 copy from (2, 3) of the source reached (5, 9) through the key.
    void ExpectKeyedCopy(bool (*isKey)(int, int), COLORREF (*colour)(int, int)) {
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                int sx = x - 5 + 2, sy = y - 9 + 3;
                bool inside = x >= 5 && x < 13 && y >= 9 && y < 15;
                COLORREF expected = inside && !isKey(sx, sy) ? colour(sx, sy) : before_.at(x, y);
                ASSERT_EQ(canvas_.at(x, y), expected) << x << "," << y;
            }
        }
    }

    HDC source_ = nullptr;
    PixelCanvas canvas_{30, 30};
    PixelCanvas before_{30, 30};
};

bool Checker(int x, int y) {
    return (x + 2 * y) % 5 < 2;
}
COLORREF CheckerColour(int x, int y) {
    return Checker(x, y) ? kKeyColour : PieceColour(x, y);
}

TEST_F(Transparent, KeyPixelsKeepTheTargetAndOthersTakeTheSource) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(source_, x, y, CheckerColour(x, y));
    TransparentBlit(canvas_.dc(), 5, 9, 8, 6, source_, 2, 3, kKeyColour);
    ExpectKeyedCopy(Checker, CheckerColour);
}

TEST_F(Transparent, WorksTheSameWithAPaletteGiven) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(source_, x, y, CheckerColour(x, y));
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    TransparentBlit(canvas_.dc(), 5, 9, 8, 6, source_, 2, 3, kKeyColour, palette);
    ExpectKeyedCopy(Checker, CheckerColour);
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL)) << "a given palette belongs to the caller";
    DeleteObject(palette);
}

bool WindowColoured(int x, int y) {
    return (x * y) % 3 == 1;
}
COLORREF WindowOrMagenta(int x, int y) {
    if (WindowColoured(x, y))
        return GetSysColor(COLOR_WINDOW);
    return (x + y) % 4 == 0 ? kKeyColour : PieceColour(x, y);
}

TEST_F(Transparent, KeyGivenAsSystemColourIndexUsesThatColour) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(source_, x, y, WindowOrMagenta(x, y));
    // Magenta is an ordinary colour now and is copied; the window colour is the hole.
    TransparentBlit(canvas_.dc(), 5, 9, 8, 6, source_, 2, 3, 0x80000000 | COLOR_WINDOW);
    ExpectKeyedCopy(WindowColoured, WindowOrMagenta);
}

TEST_F(Transparent, KeyThatNamesNoColourMakesNothingTransparent) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(source_, x, y, CheckerColour(x, y));
    // System colour index 0xFF does not exist; magenta is then an ordinary colour too.
    TransparentBlit(canvas_.dc(), 5, 9, 8, 6, source_, 2, 3, 0x800000FF);
    ExpectKeyedCopy([](int, int) { return false; }, CheckerColour);
}

TEST_F(Transparent, EmptyBoxChangesNothing) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            SetPixel(source_, x, y, PieceColour(x, y));
    TransparentBlit(canvas_.dc(), 5, 9, 0, 6, source_, 2, 3, kKeyColour);
    TransparentBlit(canvas_.dc(), 5, 9, 8, -1, source_, 2, 3, kKeyColour);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(canvas_.at(x, y), before_.at(x, y));
}

TEST(BlitResources, RepeatedCopiesLeaveNoGdiObjectBehind) {
    SourcePiece piece(7, 21);
    PixelCanvas canvas(60, 40);
    // Warm up once: the system may create objects of its own on first use.
    BlitSkinPiece(canvas.dc(), 0, 0, 50, 30, piece.dc(), 2, 3, 7, 21, 3, 3, 3, 3, kKeyColour);
    DWORD before = GdiObjectCount();
    for (int i = 0; i < 200; ++i) {
        BlitSkinPiece(canvas.dc(), 0, 0, 50, 30, piece.dc(), 2, 3, 7, 21, 3, 3, 3, 3, kKeyColour);
        BlitSkinPiece(canvas.dc(), 0, 0, 50, 30, piece.dc(), 2, 3, 7, 21, 3, 3, 3, 3);
        TransparentBlit(canvas.dc(), 1, 1, 7, 21, piece.dc(), 2, 3, 0x80000000 | COLOR_BTNFACE);
        FillSolid(canvas.dc(), 0, 0, 5, 5, RGB(1, 2, 3));
        FrameSolid(canvas.dc(), 0, 0, 5, 5, RGB(1, 2, 3));
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
