// The check-box, option-button, combo drop-button and header-item painters, drawn on real
// windows (or, for mark sizes the system does not use, on a canvas) and read back pixel by
// pixel against the skin bitmaps.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "skin/engine/window_info.h"
#include "skin/engine/window_props.h"
#include "skin/paint/control_painters.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_bitmaps.h"
#include "skin/paint/skin_colours.h"
#include "tests/skin_families/family_windows.h"
#include "tests/win_support/message_pump.h"
#include "tests/win_support/pixel_canvas.h"
#include "tests/win_support/test_windows.h"
#include "tests/win_support/window_pixels.h"

namespace {

class PaintersTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { BuildSkinBitmaps(); }
    static void TearDownTestSuite() { ReleaseSkinBitmaps(); }
    void SetUp() override {
        form_ = CreateHostForm(40, 40, 400, 300);
        cw_ = GetSystemMetrics(SM_CXMENUCHECK);
        ch_ = GetSystemMetrics(SM_CYMENUCHECK);
    }
    void TearDown() override { DestroyWindow(form_); }

    HWND Child(const wchar_t* className, DWORD style, int width, int height, const wchar_t* text = L"") {
        HWND child = CreateChild(form_, className, style, 10, 10, width, height, text);
        UpdateWindow(child);
        SettleMessages();
        return child;
    }

    static int Height(HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        return rect.bottom - rect.top;
    }

    HWND form_ = nullptr;
    int cw_ = 0;
    int ch_ = 0;
};

// Expects the 9 x 8 check mark (or 7 x 7 square) of GlyphSkin at (x, y) of the pixels, and
// `behind` where the glyph is key-coloured.
template <typename Pixels>
void ExpectGlyph(const Pixels& pixels, int x, int y, int sourceX, int sourceY, int width, int height, COLORREF behind) {
    for (int gy = 0; gy < height; ++gy)
        for (int gx = 0; gx < width; ++gx) {
            COLORREF glyph = SkinPixel(SkinBitmaps.GlyphSkin, sourceX + gx, sourceY + gy);
            COLORREF expected = glyph == KeyColour ? behind : glyph;
            ASSERT_EQ(pixels.at(x + gx, y + gy), expected) << "glyph pixel " << gx << "," << gy;
        }
}

template <typename Pixels>
void ExpectRing(const Pixels& pixels, int x, int y, int width, int height, COLORREF colour) {
    for (int i = 0; i < width; ++i) {
        ASSERT_EQ(pixels.at(x + i, y), colour) << "top " << i;
        ASSERT_EQ(pixels.at(x + i, y + height - 1), colour) << "bottom " << i;
    }
    for (int j = 0; j < height; ++j) {
        ASSERT_EQ(pixels.at(x, y + j), colour) << "left " << j;
        ASSERT_EQ(pixels.at(x + width - 1, y + j), colour) << "right " << j;
    }
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
    EXPECT_EQ(GetSkinProp(box, prop::OldState), 1);
    // Paint over the box: an unforced call with the same state must leave it so.
    {
        ScopedWindowDC dc(box);
        FillSolid(dc.get(), 0, 0, cw_, Height(box), RGB(0, 0, 0));
    }
    EXPECT_EQ(PaintCheckBox(box, 1, false), 0);
    EXPECT_EQ(WindowPixels(box).at(0, top), RGB(0, 0, 0));
    EXPECT_EQ(PaintCheckBox(box, 1, true), 1);
    EXPECT_EQ(WindowPixels(box).at(0, top), FrameColour);
    EXPECT_EQ(PaintCheckBox(box, 0, false), 1);
    EXPECT_EQ(GetSkinProp(box, prop::OldState), 0);
}

TEST_F(PaintersTest, OptionButtonSkipsAnUnchangedStateUnlessForced) {
    HWND option = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 120, 20, L"Option");
    // An unset "OLDSTATE" reads as 0, so the first unforced normal draw is already a skip.
    EXPECT_EQ(PaintOptionButton(option, 0, false), 0);
    EXPECT_EQ(PaintOptionButton(option, 2, false), 1);
    EXPECT_EQ(PaintOptionButton(option, 2, false), 0);
    EXPECT_EQ(PaintOptionButton(option, 2, true), 1);
    EXPECT_EQ(GetSkinProp(option, prop::OldState), 2);
}

TEST_F(PaintersTest, CheckBoxLooksNormalHoverPressed) {
    // Heights 20 and 19 put the square at half of an odd and of an even difference.
    for (int height : {20, 19}) {
        HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 120, height, L"Check");
        const int top = HalveToEven(height - ch_);
        ASSERT_EQ(Height(box), height);

        PaintCheckBox(box, 0, true);
        WindowPixels normal(box);
        ExpectRing(normal, 0, top, cw_, ch_, FrameColour);
        for (int y = 1; y < ch_ - 1; ++y)
            for (int x = 1; x < cw_ - 1; ++x)
                ASSERT_EQ(normal.at(x, top + y), White);

        // Hover and pressed fill the inside with a stretch of an option-circle strip.
        struct Look {
            int state;
            COLORREF frame;
            int stripY;
        };
        for (Look look : {Look{1, FrameColour, 17}, Look{2, PressedFrameColour, 30}}) {
            PaintCheckBox(box, look.state, true);
            WindowPixels pixels(box);
            ExpectRing(pixels, 0, top, cw_, ch_, look.frame);
            PixelCanvas strip(cw_ - 2, ch_ - 2);
            StretchBlt(strip.dc(), 0, 0, cw_ - 2, ch_ - 2, SkinBitmaps.OptionSkin, 1, look.stripY, 11, 5, SRCCOPY);
            EXPECT_EQ(pixels.at(1, top + 1), SkinPixel(SkinBitmaps.OptionSkin, 1, look.stripY));
            EXPECT_EQ(pixels.at(cw_ - 2, top + ch_ - 2), SkinPixel(SkinBitmaps.OptionSkin, 11, look.stripY + 4));
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
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 9), top + HalveToEven(ch_ - 8), 0, 0, 9, 8, White);

    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    PaintCheckBox(box, 0, true);
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 7), top + HalveToEven(ch_ - 7), 1, 9, 7, 7, White);

    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PaintCheckBox(box, 0, true);
    WindowPixels unchecked(box);
    for (int y = 1; y < ch_ - 1; ++y)
        for (int x = 1; x < cw_ - 1; ++x)
            ASSERT_EQ(unchecked.at(x, top + y), White);

    // Disabled: pale frame, white inside whatever state is asked, pale marks.
    EnableWindow(box, FALSE);
    SettleMessages();
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    PaintCheckBox(box, 2, true);
    WindowPixels disabled(box);
    ExpectRing(disabled, 0, top, cw_, ch_, DisabledFrameColour);
    ExpectGlyph(disabled, HalveToEven(cw_ - 9), top + HalveToEven(ch_ - 8), 9, 0, 9, 8, White);
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    PaintCheckBox(box, 1, true);
    ExpectGlyph(WindowPixels(box), HalveToEven(cw_ - 7), top + HalveToEven(ch_ - 7), 10, 9, 7, 7, White);
}

// Mark sizes the system does not offer here: the same drawing on a canvas standing in for the
// window's DC. The offsets are chosen so that halves fall both ways.
TEST_F(PaintersTest, CheckBoxGeometryForOtherMarkSizesRoundsHalvesToEven) {
    {
        PixelCanvas window(40, 21);
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 21, 14, 14, 0, true, BST_CHECKED);
        const int top = 4;  // (21 - 14) / 2 = 3.5
        ExpectRing(window, 0, top, 14, 14, FrameColour);
        EXPECT_EQ(window.at(0, top - 1), FormBackground);
        ExpectGlyph(window, 2, top + 3, 0, 0, 9, 8, White);  // (14 - 9) / 2 = 2.5, (14 - 8) / 2 = 3
    }
    {
        PixelCanvas window(40, 19);
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 19, 16, 16, 0, true, BST_CHECKED);
        const int top = 2;  // (19 - 16) / 2 = 1.5
        ExpectRing(window, 0, top, 16, 16, FrameColour);
        ExpectGlyph(window, 4, top + 4, 0, 0, 9, 8, White);  // 3.5 and 4
        window.fill(FormBackground);
        DrawCheckBoxMark(window.dc(), 19, 16, 16, 0, true, BST_INDETERMINATE);
        ExpectGlyph(window, 4, top + 4, 1, 9, 7, 7, White);  // (16 - 7) / 2 = 4.5
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
                COLORREF source = SkinPixel(SkinBitmaps.OptionSkin, x, 13 * state + y);
                ASSERT_EQ(after.at(x, top + y), source == KeyColour ? before.at(x, top + y) : source)
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
            COLORREF dot = SkinPixel(SkinBitmaps.GlyphSkin, 2 + x, 18 + y);
            COLORREF circle = SkinPixel(SkinBitmaps.OptionSkin, dotX + x, dotY - top + y);
            ASSERT_EQ(checked.at(dotX + x, dotY + y), dot == KeyColour ? circle : dot) << x << "," << y;
        }

    EnableWindow(option, FALSE);
    SettleMessages();
    PaintOptionButton(option, 1, true);
    WindowPixels disabled(option);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            COLORREF circle = SkinPixel(SkinBitmaps.OptionSkin, x, 39 + y);
            COLORREF dot = (x >= dotX && x < dotX + 5 && y >= dotY - top && y < dotY - top + 5)
                               ? SkinPixel(SkinBitmaps.GlyphSkin, 11 + x - dotX, 18 + y - dotY + top)
                               : KeyColour;
            if (dot == KeyColour && circle == KeyColour)
                continue;
            ASSERT_EQ(disabled.at(x, top + y), dot != KeyColour ? dot : circle) << x << "," << y;
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
        COLORREF pixel = SkinPixel(SkinBitmaps.OptionSkin, x, 13 + y);
        return pixel == KeyColour ? FormBackground : pixel;
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
            COLORREF dot = SkinPixel(SkinBitmaps.GlyphSkin, 2 + x, 18 + y);
            if (dot != KeyColour) {
                ASSERT_EQ(window.at(6 + x, 10 + y), dot) << x << "," << y;
            }
        }
}

class ComboButtonTest : public PaintersTest {
  protected:
    struct Geometry {
        int width, height, bw, bh, x0;
    };
    static Geometry GeometryOf(HWND combo) {
        RECT rect;
        GetWindowRect(combo, &rect);
        Geometry g{};
        g.width = rect.right - rect.left;
        g.height = rect.bottom - rect.top;
        g.bw = GetSystemMetrics(SM_CXVSCROLL) + 1;
        g.bh = g.height - 2;
        g.x0 = g.width - g.bw - 1;
        return g;
    }
    static void ExpectArrow(const WindowPixels& pixels,
                            const Geometry& g,
                            int arrowRow,
                            bool enabled,
                            COLORREF behind) {
        const int ax = g.x0 + HalveToEven(g.bw - 7), ay = 1 + HalveToEven(g.height - 6);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 7; ++x) {
                COLORREF arrow = SkinPixel(SkinBitmaps.ComboButtonSkin, 8 + x, (enabled ? 0 : 4) + y);
                if (arrow == KeyColour) {
                    if (behind != CLR_INVALID) {
                        ASSERT_EQ(pixels.at(ax + x, ay + y), behind);
                    }
                } else {
                    ASSERT_EQ(pixels.at(ax + x, ay + y), arrow) << x << "," << y;
                }
            }
        (void)arrowRow;
    }
};

TEST_F(ComboButtonTest, DropButtonInItsThreeLooks) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 160, 200);
    const Geometry g = GeometryOf(combo);

    int state = 0;
    PaintComboButton(combo, nullptr, state, true);
    WindowPixels normal(combo);
    EXPECT_EQ(GetSkinProp(combo, prop::OldState), 0);
    EXPECT_EQ(normal.at(g.x0, 1), White);
    EXPECT_EQ(normal.at(g.x0 + g.bw - 1, g.bh), White);
    ExpectArrow(normal, g, 0, true, White);

    for (int look : {1, 2}) {
        state = look;
        PaintComboButton(combo, nullptr, state, true);
        EXPECT_EQ(GetSkinProp(combo, prop::OldState), look);
        WindowPixels pixels(combo);
        const int sx = look == 1 ? 0 : 4;
        // Left border columns 0-1, right border column 3, top and bottom rows unscaled.
        for (int y = 0; y < g.bh; ++y)
            ASSERT_EQ(pixels.at(g.x0, 1 + y), 0x00D1A04Eu) << y;
        EXPECT_EQ(pixels.at(g.x0 + 1, 1), SkinPixel(SkinBitmaps.ComboButtonSkin, sx + 1, 0));
        EXPECT_EQ(pixels.at(g.x0 + g.bw - 1, 1), SkinPixel(SkinBitmaps.ComboButtonSkin, sx + 3, 0));
        EXPECT_EQ(pixels.at(g.x0 + g.bw - 1, g.bh), SkinPixel(SkinBitmaps.ComboButtonSkin, sx + 3, 17));
        EXPECT_EQ(pixels.at(g.x0 + 2, 2), SkinPixel(SkinBitmaps.ComboButtonSkin, sx + 2, 1));
        EXPECT_EQ(pixels.at(g.x0 + 2, g.bh), SkinPixel(SkinBitmaps.ComboButtonSkin, sx + 2, 17));
        ExpectArrow(pixels, g, 0, true, CLR_INVALID);
    }

    EnableWindow(combo, FALSE);
    SettleMessages();
    state = 0;
    PaintComboButton(combo, nullptr, state, true);
    ExpectArrow(WindowPixels(combo), g, 4, false, White);
}

TEST_F(ComboButtonTest, UnchangedStateIsSkippedUnlessForced) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 160, 200);
    const Geometry g = GeometryOf(combo);
    int state = 1;
    PaintComboButton(combo, nullptr, state, false);
    {
        ScopedWindowDC dc(combo);
        FillSolid(dc.get(), g.x0, 1, g.bw, g.bh, RGB(0, 0, 0));
    }
    PaintComboButton(combo, nullptr, state, false);
    EXPECT_EQ(WindowPixels(combo).at(g.x0, 2), RGB(0, 0, 0));
    PaintComboButton(combo, nullptr, state, true);
    EXPECT_EQ(WindowPixels(combo).at(g.x0, 2), 0x00D1A04Eu);
}

TEST_F(ComboButtonTest, DroppedListShowsPressedAndTellsTheCaller) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 160, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    const Geometry g = GeometryOf(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_NE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    int state = 1;
    PaintComboButton(combo, nullptr, state, false);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(GetSkinProp(combo, prop::OldState), 2);
    WindowPixels pixels(combo);
    EXPECT_EQ(pixels.at(g.x0 + 2, 2), SkinPixel(SkinBitmaps.ComboButtonSkin, 6, 1));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SettleMessages();
}

TEST_F(ComboButtonTest, SimpleComboBoxGetsNoDropButton) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_SIMPLE, 160, 100);
    WindowPixels before(combo);
    int state = 1;
    PaintComboButton(combo, nullptr, state, true);
    EXPECT_EQ(GetSkinProp(combo, prop::OldState), 0);
    EXPECT_TRUE(WindowPixels(combo) == before);
}

TEST_F(ComboButtonTest, GivenContextIsTheOnlyOneDrawnInto) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 160, 200);
    const Geometry g = GeometryOf(combo);
    WindowPixels before(combo);
    PixelCanvas target(g.width, g.height);
    target.fill(RGB(1, 2, 3));
    int state = 1;
    PaintComboButton(combo, target.dc(), state, false);
    EXPECT_EQ(target.at(g.x0, 1), 0x00D1A04Eu);
    EXPECT_EQ(target.at(g.x0 - 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(target.at(g.x0, 0), RGB(1, 2, 3));
    EXPECT_TRUE(WindowPixels(combo) == before);
}

class HeaderItemTest : public PaintersTest {
  protected:
    void SetUp() override {
        PaintersTest::SetUp();
        header_ = CreateChild(form_, WC_HEADERW, HDS_HORZ | HDS_BUTTONS, 10, 100, 360, 20);
        Insert(0, L"Name", 80);
        Insert(1, L"Size", 60);
        Insert(2, L"A caption far too long for its narrow column", 60);
        Insert(3, L"", 60);
        UpdateWindow(header_);
        SettleMessages();
    }
    void Insert(int index, const wchar_t* text, int width) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<wchar_t*>(text);
        item.cxy = width;
        item.fmt = HDF_LEFT | HDF_STRING;
        SendMessageW(header_, HDM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
    RECT ItemRect(int index) {
        RECT rect{};
        SendMessageW(header_, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // The item as it must look: the face, then the caption with the given format.
    void Reference(PixelCanvas& canvas, int look, const wchar_t* caption, UINT format) {
        BlitSkinPiece(canvas.dc(), 0, 0, canvas.width(), canvas.height(), SkinBitmaps.HeaderSkin, 3 * look, 0, 3, 20, 1,
                      1, 1, 1);
        if (*caption) {
            HGDIOBJ old = SelectObject(canvas.dc(), reinterpret_cast<HFONT>(SendMessageW(header_, WM_GETFONT, 0, 0)));
            SetBkMode(canvas.dc(), TRANSPARENT);
            RECT box{0, 0, canvas.width(), canvas.height()};
            DrawTextW(canvas.dc(), caption, -1, &box, format);
            SelectObject(canvas.dc(), old);
        }
    }
    HWND header_ = nullptr;
};

TEST_F(HeaderItemTest, FacesNormalHoverPressed) {
    for (int look : {0, 1, 2}) {
        EXPECT_EQ(PaintHeaderItem(header_, nullptr, 1, look), 0);
        WindowPixels pixels(header_);
        const RECT r = ItemRect(1);
        ASSERT_EQ(r.bottom - r.top, 20);
        const int sx = 3 * look;
        for (int y = 0; y < 20; ++y) {
            ASSERT_EQ(pixels.at(r.left, y), SkinPixel(SkinBitmaps.HeaderSkin, sx, y)) << y;
            ASSERT_EQ(pixels.at(r.right - 1, y), SkinPixel(SkinBitmaps.HeaderSkin, sx + 2, y)) << y;
        }
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            ASSERT_EQ(pixels.at(x, 0), SkinPixel(SkinBitmaps.HeaderSkin, sx + 1, 0)) << x;
            ASSERT_EQ(pixels.at(x, 19), SkinPixel(SkinBitmaps.HeaderSkin, sx + 1, 19)) << x;
        }
        PixelCanvas expected(r.right - r.left, 20);
        Reference(expected, look, L"Size", HeaderCaptionFormat);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(pixels.at(r.left + x, y), expected.at(x, y));
    }
}

TEST_F(HeaderItemTest, LongCaptionEndsInAnEllipsisAndEmptyCaptionDrawsNoText) {
    PaintHeaderItem(header_, nullptr, 2, 0);
    PaintHeaderItem(header_, nullptr, 3, 0);
    WindowPixels pixels(header_);
    const wchar_t* caption = L"A caption far too long for its narrow column";
    RECT r = ItemRect(2);
    PixelCanvas ellipsis(r.right - r.left, 20), clipped(r.right - r.left, 20);
    Reference(ellipsis, 0, caption, HeaderCaptionFormat);
    Reference(clipped, 0, caption, HeaderCaptionFormat & ~static_cast<UINT>(DT_END_ELLIPSIS));
    bool differs = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < ellipsis.width(); ++x) {
            ASSERT_EQ(pixels.at(r.left + x, y), ellipsis.at(x, y)) << x << "," << y;
            differs = differs || ellipsis.at(x, y) != clipped.at(x, y);
        }
    EXPECT_TRUE(differs) << "the ellipsis must change what a clipped caption would show";

    r = ItemRect(3);
    PixelCanvas face(r.right - r.left, 20);
    Reference(face, 0, L"", 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < face.width(); ++x)
            ASSERT_EQ(pixels.at(r.left + x, y), face.at(x, y));
}

TEST_F(HeaderItemTest, NegativeIndexDrawsNothingAndAGivenContextIsUsed) {
    SettleMessages();
    WindowPixels before(header_);
    PaintHeaderItem(header_, nullptr, -1, 1);
    EXPECT_TRUE(WindowPixels(header_) == before);

    PixelCanvas target(360, 20);
    target.fill(RGB(1, 2, 3));
    PaintHeaderItem(header_, target.dc(), 1, 2);
    const RECT r = ItemRect(1);
    EXPECT_EQ(target.at(r.left, 5), SkinPixel(SkinBitmaps.HeaderSkin, 6, 5));
    EXPECT_EQ(target.at(r.left - 1, 5), RGB(1, 2, 3));
    EXPECT_TRUE(WindowPixels(header_) == before);
}

TEST_F(HeaderItemTest, CaptionIsCutTo255CharactersAndKeepsChinese) {
    std::wstring longText(300, L'x');
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = longText.data();
    SendMessageW(header_, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(GetHeaderItemCaption(header_, 0), std::string(255, 'x'));

    std::wstring chinese = L"\u540d\u79f0";  // 名称
    item.pszText = chinese.data();
    SendMessageW(header_, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(GetHeaderItemCaption(header_, 1), "\xe5\x90\x8d\xe7\xa7\xb0");
    EXPECT_EQ(GetHeaderItemCaption(header_, 3), "");
}

}  // namespace
