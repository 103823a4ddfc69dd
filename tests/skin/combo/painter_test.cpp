// The combo drop-button painter on real combo boxes, read back pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "families/combo/combo.h"
#include "support/painter_test.h"

namespace {

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
                COLORREF arrow = SkinPixel(SkinBitmaps().combo_button_skin, 8 + x, (enabled ? 0 : 4) + y);
                if (arrow == kKeyColour) {
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
    RedrawComboButton(combo, nullptr, state, true);
    WindowPixels normal(combo);
    EXPECT_EQ(GetSkinProp(combo, prop::kOldState), 0);
    EXPECT_EQ(normal.at(g.x0, 1), kWhite);
    EXPECT_EQ(normal.at(g.x0 + g.bw - 1, g.bh), kWhite);
    ExpectArrow(normal, g, 0, true, kWhite);

    for (int look : {1, 2}) {
        state = look;
        RedrawComboButton(combo, nullptr, state, true);
        EXPECT_EQ(GetSkinProp(combo, prop::kOldState), look);
        WindowPixels pixels(combo);
        const int sx = look == 1 ? 0 : 4;
        // Left border columns 0-1, right border column 3, top and bottom rows unscaled.
        for (int y = 0; y < g.bh; ++y)
            ASSERT_EQ(pixels.at(g.x0, 1 + y), 0x00D1A04Eu) << y;
        EXPECT_EQ(pixels.at(g.x0 + 1, 1), SkinPixel(SkinBitmaps().combo_button_skin, sx + 1, 0));
        EXPECT_EQ(pixels.at(g.x0 + g.bw - 1, 1), SkinPixel(SkinBitmaps().combo_button_skin, sx + 3, 0));
        EXPECT_EQ(pixels.at(g.x0 + g.bw - 1, g.bh), SkinPixel(SkinBitmaps().combo_button_skin, sx + 3, 17));
        EXPECT_EQ(pixels.at(g.x0 + 2, 2), SkinPixel(SkinBitmaps().combo_button_skin, sx + 2, 1));
        EXPECT_EQ(pixels.at(g.x0 + 2, g.bh), SkinPixel(SkinBitmaps().combo_button_skin, sx + 2, 17));
        ExpectArrow(pixels, g, 0, true, CLR_INVALID);
    }

    EnableWindow(combo, FALSE);
    SettleMessages();
    state = 0;
    RedrawComboButton(combo, nullptr, state, true);
    ExpectArrow(WindowPixels(combo), g, 4, false, kWhite);
}

TEST_F(ComboButtonTest, UnchangedStateIsSkippedUnlessForced) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 160, 200);
    const Geometry g = GeometryOf(combo);
    int state = 1;
    RedrawComboButton(combo, nullptr, state, false);
    {
        ScopedWindowDC dc(combo);
        FillSolid(dc.get(), g.x0, 1, g.bw, g.bh, RGB(0, 0, 0));
    }
    RedrawComboButton(combo, nullptr, state, false);
    EXPECT_EQ(WindowPixels(combo).at(g.x0, 2), RGB(0, 0, 0));
    RedrawComboButton(combo, nullptr, state, true);
    EXPECT_EQ(WindowPixels(combo).at(g.x0, 2), 0x00D1A04Eu);
}

TEST_F(ComboButtonTest, DroppedListShowsPressedAndTellsTheCaller) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 160, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    const Geometry g = GeometryOf(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_NE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    int state = 1;
    RedrawComboButton(combo, nullptr, state, false);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(GetSkinProp(combo, prop::kOldState), 2);
    WindowPixels pixels(combo);
    EXPECT_EQ(pixels.at(g.x0 + 2, 2), SkinPixel(SkinBitmaps().combo_button_skin, 6, 1));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SettleMessages();
}

TEST_F(ComboButtonTest, SimpleComboBoxGetsNoDropButton) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_SIMPLE, 160, 100);
    WindowPixels before(combo);
    int state = 1;
    RedrawComboButton(combo, nullptr, state, true);
    EXPECT_EQ(GetSkinProp(combo, prop::kOldState), 0);
    EXPECT_TRUE(WindowPixels(combo) == before);
}

TEST_F(ComboButtonTest, GivenContextIsTheOnlyOneDrawnInto) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 160, 200);
    const Geometry g = GeometryOf(combo);
    WindowPixels before(combo);
    PixelCanvas target(g.width, g.height);
    target.fill(RGB(1, 2, 3));
    int state = 1;
    RedrawComboButton(combo, target.dc(), state, false);
    EXPECT_EQ(target.at(g.x0, 1), 0x00D1A04Eu);
    EXPECT_EQ(target.at(g.x0 - 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(target.at(g.x0, 0), RGB(1, 2, 3));
    EXPECT_TRUE(WindowPixels(combo) == before);
}

}  // namespace
