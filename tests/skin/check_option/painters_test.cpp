// The check-box and option-button painters, drawn on real windows (or, for mark sizes the
// system does not use, on a canvas) and read back pixel by pixel against the skin bitmaps.
#include <gtest/gtest.h>

#include <string>

#include "families/check_option/check_option.h"
#include "support/painter_test.h"

namespace {

int PaintCheckBox(HWND box, int state, bool force) {
    return RedrawCheckOptionBox(box, ControlKind::kCheck, state, force);
}

int PaintOptionButton(HWND option, int state, bool force) {
    return RedrawCheckOptionBox(option, ControlKind::kOption, state, force);
}

TEST(HalveToEvenTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(HalveToEven(5), 2);
    EXPECT_EQ(HalveToEven(7), 4);
    EXPECT_EQ(HalveToEven(6), 3);
    EXPECT_EQ(HalveToEven(-3), -2);
    EXPECT_EQ(HalveToEven(-1), 0);
}

TEST_F(PaintersTest, CheckBoxSkipsAnUnchangedStateUnlessForced) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 120, 20, L"Check");
    const int top = HalveToEven(Height(box) - ch_);
    EXPECT_EQ(PaintCheckBox(box, 1, false), 1);
    EXPECT_EQ(GetSkinProp(box, prop::kOldState), 1);
    // Paint over the box: an unforced call with the same state must leave it so.
    {
        ScopedWindowDC dc(box);
        FillSolid(dc.get(), 0, 0, cw_, Height(box), RGB(0, 0, 0));
    }
    EXPECT_EQ(PaintCheckBox(box, 1, false), 0);
    EXPECT_EQ(WindowPixels(box).at(0, top), RGB(0, 0, 0));
    EXPECT_EQ(PaintCheckBox(box, 1, true), 1);
    EXPECT_EQ(WindowPixels(box).at(0, top), kFrameColour);
    EXPECT_EQ(PaintCheckBox(box, 0, false), 1);
    EXPECT_EQ(GetSkinProp(box, prop::kOldState), 0);
}

TEST_F(PaintersTest, OptionButtonSkipsAnUnchangedStateUnlessForced) {
    HWND option = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 120, 20, L"Option");
    // An unset "OLDSTATE" reads as 0, so the first unforced normal draw is already a skip.
    EXPECT_EQ(PaintOptionButton(option, 0, false), 0);
    EXPECT_EQ(PaintOptionButton(option, 2, false), 1);
    EXPECT_EQ(PaintOptionButton(option, 2, false), 0);
    EXPECT_EQ(PaintOptionButton(option, 2, true), 1);
    EXPECT_EQ(GetSkinProp(option, prop::kOldState), 2);
}

TEST_F(PaintersTest, CheckBoxLooksNormalHoverPressed) {
    // Heights 20 and 19 put the square at half of an odd and of an even difference.
    for (int height : {20, 19}) {
        HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 120, height, L"Check");
        const int top = HalveToEven(height - ch_);
        ASSERT_EQ(Height(box), height);

        PaintCheckBox(box, 0, true);
        WindowPixels normal(box);
        ExpectRing(normal, 0, top, cw_, ch_, kFrameColour);
        for (int y = 1; y < ch_ - 1; ++y)
            for (int x = 1; x < cw_ - 1; ++x)
                ASSERT_EQ(normal.at(x, top + y), kWhite);

        // Hover and pressed fill the inside with a stretch of an option-circle strip.
        struct Look {
            int state;
            COLORREF frame;
            int stripY;
        };
        for (Look look : {Look{1, kFrameColour, 17}, Look{2, kPressedFrameColour, 30}}) {
            PaintCheckBox(box, look.state, true);
            WindowPixels pixels(box);
            ExpectRing(pixels, 0, top, cw_, ch_, look.frame);
            PixelCanvas strip(cw_ - 2, ch_ - 2);
            StretchBlt(strip.dc(), 0, 0, cw_ - 2, ch_ - 2, SkinBitmaps().option_skin, 1, look.stripY, 11, 5, SRCCOPY);
            EXPECT_EQ(pixels.at(1, top + 1), SkinPixel(SkinBitmaps().option_skin, 1, look.stripY));
            EXPECT_EQ(pixels.at(cw_ - 2, top + ch_ - 2), SkinPixel(SkinBitmaps().option_skin, 11, look.stripY + 4));
            for (int y = 0; y < ch_ - 2; ++y)
                for (int x = 0; x < cw_ - 2; ++x)
                    ASSERT_EQ(pixels.at(1 + x, top + 1 + y), strip.at(x, y));
        }
        DestroyWindow(box);
    }
}

TEST_F(PaintersTest, CheckBoxMarksCheckedIndeterminateAndDisabled) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTO3STATE, 120, 20, L"Three states");
    const int top = HalveToEven(20 - ch_);

    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    PaintCheckBox(box, 0, true);
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 9), top + HalveToEven(ch_ - 8), 0, 0, 9, 8, kWhite);

    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    PaintCheckBox(box, 0, true);
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 7), top + HalveToEven(ch_ - 7), 1, 9, 7, 7, kWhite);

    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PaintCheckBox(box, 0, true);
    WindowPixels unchecked(box);
    for (int y = 1; y < ch_ - 1; ++y)
        for (int x = 1; x < cw_ - 1; ++x)
            ASSERT_EQ(unchecked.at(x, top + y), kWhite);

    // Disabled: pale frame, white inside whatever state is asked, pale marks.
    EnableWindow(box, FALSE);
    SettleMessages();
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    PaintCheckBox(box, 2, true);
    WindowPixels disabled(box);
    ExpectRing(disabled, 0, top, cw_, ch_, kDisabledFrameColour);
    ExpectGlyph(disabled, HalveToEven(cw_ - 9), top + HalveToEven(ch_ - 8), 9, 0, 9, 8, kWhite);
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    PaintCheckBox(box, 1, true);
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 7), top + HalveToEven(ch_ - 7), 10, 9, 7, 7, kWhite);
}

// Mark sizes the system does not offer here: the same drawing on a canvas standing in for the
// window's DC. The offsets are chosen so that halves fall both ways.
TEST_F(PaintersTest, CheckBoxGeometryForOtherMarkSizesRoundsHalvesToEven) {
    {
        PixelCanvas window(40, 21);
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 21, 14, 14, 0, true, BST_CHECKED);
        const int top = 4;  // (21 - 14) / 2 = 3.5
        ExpectRing(window, 0, top, 14, 14, kFrameColour);
        EXPECT_EQ(window.at(0, top - 1), FormBackground);
        ExpectGlyph(window, 2, top + 3, 0, 0, 9, 8, kWhite);  // (14 - 9) / 2 = 2.5, (14 - 8) / 2 = 3
    }
    {
        PixelCanvas window(40, 19);
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 19, 16, 16, 0, true, BST_CHECKED);
        const int top = 2;  // (19 - 16) / 2 = 1.5
        ExpectRing(window, 0, top, 16, 16, kFrameColour);
        ExpectGlyph(window, 4, top + 4, 0, 0, 9, 8, kWhite);  // 3.5 and 4
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 19, 16, 16, 0, true, BST_INDETERMINATE);
        ExpectGlyph(window, 4, top + 4, 1, 9, 7, 7, kWhite);  // (16 - 7) / 2 = 4.5
    }
}

TEST_F(PaintersTest, OptionCircleIsTheBitmapFramePixelForPixelWithTheBackgroundInItsCorners) {
    HWND option = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 120, 20, L"Option");
    const int top = HalveToEven(20 - ch_);
    // The unscaled comparison below needs the common 13 x 13 menu-check size; other sizes are
    // covered by the canvas tests.
    ASSERT_EQ(cw_, 13);
    ASSERT_EQ(ch_, 13);
    WindowPixels before(option);
    for (int state = 0; state <= 2; ++state) {
        PaintOptionButton(option, state, true);
        WindowPixels after(option);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) {
                COLORREF source = SkinPixel(SkinBitmaps().option_skin, x, 13 * state + y);
                ASSERT_EQ(after.at(x, top + y), source == kKeyColour ? before.at(x, top + y) : source)
                    << "state " << state << " pixel " << x << "," << y;
            }
        // The key-coloured corners show the window's own background, as the form's colour
        // message gave it.
        EXPECT_EQ(after.at(0, top), FormBackground);
        EXPECT_EQ(after.at(12, top + 12), FormBackground);
    }

    SendMessageW(option, BM_SETCHECK, BST_CHECKED, 0);
    PaintOptionButton(option, 0, true);
    WindowPixels checked(option);
    const int dotX = HalveToEven(cw_ - 5), dotY = HalveToEven(2 * top + ch_ - 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            COLORREF dot = SkinPixel(SkinBitmaps().glyph_skin, 2 + x, 18 + y);
            COLORREF circle = SkinPixel(SkinBitmaps().option_skin, dotX + x, dotY - top + y);
            ASSERT_EQ(checked.at(dotX + x, dotY + y), dot == kKeyColour ? circle : dot) << x << "," << y;
        }

    EnableWindow(option, FALSE);
    SettleMessages();
    PaintOptionButton(option, 1, true);
    WindowPixels disabled(option);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            COLORREF circle = SkinPixel(SkinBitmaps().option_skin, x, 39 + y);
            COLORREF dot = (x >= dotX && x < dotX + 5 && y >= dotY - top && y < dotY - top + 5)
                               ? SkinPixel(SkinBitmaps().glyph_skin, 11 + x - dotX, 18 + y - dotY + top)
                               : kKeyColour;
            if (dot == kKeyColour && circle == kKeyColour)
                continue;
            ASSERT_EQ(disabled.at(x, top + y), dot != kKeyColour ? dot : circle) << x << "," << y;
        }
}

// A larger mark keeps the 5-pixel rims of the 13 x 13 frame and stretches only its middle
// three rows and columns. Drawn on a canvas standing in for a window 30 pixels high.
TEST_F(PaintersTest, LargerOptionMarkKeepsItsFivePixelRims) {
    PixelCanvas window(40, 30);
    window.fill(FormBackground);
    DrawOptionMark(window.dc(), 30, 17, 17, 1, true, BST_UNCHECKED);
    const int top = 6;  // (30 - 17) / 2 = 6.5
    auto source = [](int x, int y) {
        COLORREF pixel = SkinPixel(SkinBitmaps().option_skin, x, 13 + y);
        return pixel == kKeyColour ? FormBackground : pixel;
    };
    // Target row/column -> the source rows/columns it may come from.
    auto sources = [](int t) -> std::pair<int, int> {
        if (t < 5)
            return {t, t};
        if (t >= 12)
            return {t - 4, t - 4};
        return {5, 7};
    };
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            auto [x0, x1] = sources(x);
            auto [y0, y1] = sources(y);
            bool found = false;
            for (int sy = y0; sy <= y1 && !found; ++sy) {
                for (int sx = x0; sx <= x1 && !found; ++sx)
                    found = window.at(x, top + y) == source(sx, sy);
            }
            ASSERT_TRUE(found) << "pixel " << x << "," << y;
        }
    // The first and last stretched row and column start and end on the middle's edges.
    EXPECT_EQ(window.at(5, top + 1), source(5, 1));
    EXPECT_EQ(window.at(11, top + 1), source(7, 1));
    EXPECT_EQ(window.at(1, top + 5), source(1, 5));
    EXPECT_EQ(window.at(1, top + 11), source(1, 7));
    EXPECT_EQ(window.at(0, top - 1), FormBackground);

    // The dot: top 5 (odd) and ch - 5 = 11 give y = 5 + 5.5 = 10.5 -> 10, not 5 + 6.
    window.fill(FormBackground);
    DrawOptionMark(window.dc(), 26, 16, 16, 0, true, BST_CHECKED);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            COLORREF dot = SkinPixel(SkinBitmaps().glyph_skin, 2 + x, 18 + y);
            if (dot != kKeyColour) {
                ASSERT_EQ(window.at(6 + x, 10 + y), dot) << x << "," << y;
            }
        }
}

}  // namespace
