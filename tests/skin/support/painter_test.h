// The fixture of the painter tests: a host form with the skin bitmaps built, children drawn
// and settled, and checks of glyphs and rings read back pixel by pixel against the bitmaps.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "engine/window_info.h"
#include "engine/window_props.h"
#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "support/family_windows.h"
#include "win/gdi_handles.h"
#include "win_support/message_pump.h"
#include "win_support/pixel_canvas.h"
#include "win_support/test_windows.h"
#include "win_support/window_pixels.h"

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
inline void
ExpectGlyph(const Pixels& pixels, int x, int y, int sourceX, int sourceY, int width, int height, COLORREF behind) {
    for (int gy = 0; gy < height; ++gy)
        for (int gx = 0; gx < width; ++gx) {
            COLORREF glyph = SkinPixel(SkinBitmaps().glyph_skin, sourceX + gx, sourceY + gy);
            COLORREF expected = glyph == kKeyColour ? behind : glyph;
            ASSERT_EQ(pixels.at(x + gx, y + gy), expected) << "glyph pixel " << gx << "," << gy;
        }
}

template <typename Pixels>
inline void ExpectRing(const Pixels& pixels, int x, int y, int width, int height, COLORREF colour) {
    for (int i = 0; i < width; ++i) {
        ASSERT_EQ(pixels.at(x + i, y), colour) << "top " << i;
        ASSERT_EQ(pixels.at(x + i, y + height - 1), colour) << "bottom " << i;
    }
    for (int j = 0; j < height; ++j) {
        ASSERT_EQ(pixels.at(x, y + j), colour) << "left " << j;
        ASSERT_EQ(pixels.at(x + width - 1, y + j), colour) << "right " << j;
    }
}
