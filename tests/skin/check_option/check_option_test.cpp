// Check boxes and option buttons through the skinned window procedure: the box follows the
// mouse, the left button and the space bar, and a click redraws every sibling box.
#include <windows.h>

#include "engine/window_info.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "support/skinned_form.h"

namespace {

class CheckOptionTest : public SkinnedFormTest {
  protected:
    static int Top(HWND window) { return HalveToEven(WindowSize(window).cy - GetSystemMetrics(SM_CYMENUCHECK)); }
    // Blackens the box area only, so a redraw of the box shows.
    static void BlackenBox(HWND window) {
        HDC dc = GetWindowDC(window);
        RECT box{0, 0, GetSystemMetrics(SM_CXMENUCHECK), WindowSize(window).cy};
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window, dc);
    }
    static bool IsSkinFrame(COLORREF colour) {
        return colour == kFrameColour || colour == kPressedFrameColour || colour == kDisabledFrameColour;
    }
    static COLORREF BoxCorner(HWND window) { return WindowPixels(window).at(0, Top(window)); }
    // The option circle of a state, as drawn unscaled (13 x 13 menu-check size).
    static void ExpectCircle(HWND option, int frame, bool dot) {
        WindowPixels pixels(option);
        const int top = Top(option);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) {
                COLORREF circle = SkinPixel(SkinBitmaps().option_skin, x, 13 * frame + y);
                if (circle == kKeyColour)
                    continue;
                COLORREF glyph = kKeyColour;
                if (x >= 4 && x < 9 && y >= 4 && y < 9)
                    glyph = SkinPixel(SkinBitmaps().glyph_skin, 2 + x - 4, 18 + y - 4);
                COLORREF expected = dot && glyph != kKeyColour ? glyph : circle;
                ASSERT_EQ(pixels.at(x, top + y), expected) << "frame " << frame << " pixel " << x << "," << y;
            }
    }
};

TEST_F(CheckOptionTest, MouseMovesRedrawTheBoxEveryTimeInHoverOrPressedLook) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 10, 10, 140, 20, L"Check");
    Skin();
    EXPECT_EQ(Prop(box, "MOUSEFLAG"), 0);
    SendMessageW(box, WM_MOUSEMOVE, 0, Point(30, 10));
    EXPECT_EQ(Prop(box, "MOUSEFLAG"), 1);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 1);
    WindowPixels hover(box);
    EXPECT_EQ(hover.at(0, Top(box)), kFrameColour);
    EXPECT_EQ(hover.at(1, Top(box) + 1), SkinPixel(SkinBitmaps().option_skin, 1, 17));

    // Same state again: drawn anyway, because moves force the painter.
    BlackenBox(box);
    SendMessageW(box, WM_MOUSEMOVE, 0, Point(31, 10));
    EXPECT_EQ(BoxCorner(box), kFrameColour);

    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, Point(32, 10));
    EXPECT_EQ(Prop(box, "OLDSTATE"), 2);
    EXPECT_EQ(BoxCorner(box), kPressedFrameColour);

    SendMessageW(box, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Prop(box, "MOUSEFLAG"), 0);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 0);
    EXPECT_EQ(WindowPixels(box).at(1, Top(box) + 1), kWhite);
}

TEST_F(CheckOptionTest, ClickShowsPressedThenNormalWithTheNewCheckMark) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 10, 10, 140, 20, L"Check");
    Skin();
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 10));
    EXPECT_EQ(Prop(box, "OLDSTATE"), 2);
    EXPECT_EQ(BoxCorner(box), kPressedFrameColour);

    // A double click draws nothing of its own: what shows is the control's own drawing.
    BlackenBox(box);
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(30, 10));
    EXPECT_EQ(Prop(box, "OLDSTATE"), 2);
    EXPECT_FALSE(IsSkinFrame(BoxCorner(box)));

    SendMessageW(box, WM_LBUTTONUP, 0, Point(30, 10));
    EXPECT_EQ(Prop(box, "OLDSTATE"), 0);
    ASSERT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    WindowPixels released(box);
    EXPECT_EQ(released.at(0, Top(box)), kFrameColour);
    // The check mark's bottom pixel (row 7, column 3) of the 9 x 8 mark.
    const int markX = HalveToEven(13 - 9), markY = Top(box) + HalveToEven(13 - 8);
    EXPECT_EQ(released.at(markX + 3, markY + 7), SkinPixel(SkinBitmaps().glyph_skin, 3, 7));
}

TEST_F(CheckOptionTest, SpaceBarPressesTheBoxUntilTheKeyComesUp) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 10, 10, 140, 20, L"Check");
    Skin();
    SetFocus(box);
    SettleMessages();
    SendMessageW(box, WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 2);
    EXPECT_EQ(BoxCorner(box), kPressedFrameColour);
    // A repeated key-down draws nothing (the state is unchanged), and other keys are passed
    // on only: what shows is the control's own drawing, if it drew at all.
    BlackenBox(box);
    SendMessageW(box, WM_KEYDOWN, VK_SPACE, 0x40390001);
    EXPECT_FALSE(IsSkinFrame(BoxCorner(box)));
    SendMessageW(box, WM_KEYUP, 'A', 0xC01E0001);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 2);
    SendMessageW(box, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 0);
    EXPECT_EQ(BoxCorner(box), kFrameColour);
}

TEST_F(CheckOptionTest, OptionGroupClickRedrawsEverySibling) {
    ASSERT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
    HWND first = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 140, 20, L"First");
    HWND second = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 10, 40, 140, 20, L"Second");
    HWND third = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 10, 70, 140, 20, L"Third");
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX | WS_GROUP, 10, 100, 140, 20, L"Check");
    SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
    Skin();
    ExpectCircle(first, 0, true);
    ExpectCircle(second, 0, false);

    SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 10));
    EXPECT_EQ(Prop(second, "OLDSTATE"), 2);
    ExpectCircle(second, 2, false);

    // Siblings that the click does not change are drawn again only by the sibling refresh.
    BlackenBox(third);
    BlackenBox(box);
    SetSkinProp(third, "OLDSTATE", 1);
    SendMessageW(second, WM_LBUTTONUP, 0, Point(30, 10));
    EXPECT_EQ(SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    for (HWND sibling : {first, second, third, box})
        EXPECT_EQ(Prop(sibling, "OLDSTATE"), 0);
    ExpectCircle(second, 0, true);
    ExpectCircle(first, 0, false);
    ExpectCircle(third, 0, false);
    EXPECT_EQ(BoxCorner(box), kFrameColour);
}

TEST_F(CheckOptionTest, FocusChangesRedrawOptionButtonsOnly) {
    HWND option = Child(L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, 10, 10, 140, 20, L"Option");
    Skin();
    SetSkinProp(option, "OLDSTATE", 1);
    BlackenBox(option);
    SendMessageW(option, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Prop(option, "OLDSTATE"), 0);
    ExpectCircle(option, 0, false);
    SetSkinProp(option, "OLDSTATE", 1);
    SendMessageW(option, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Prop(option, "OLDSTATE"), 0);

    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 10, 40, 140, 20, L"Check");
    SkinWindow(box);
    SettleMessages();
    SetSkinProp(box, "OLDSTATE", 1);
    SendMessageW(box, WM_SETFOCUS, 0, 0);
    SendMessageW(box, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 1);
}

TEST_F(CheckOptionTest, PaintDrawsTheBoxOverTheSystemsDrawing) {
    HWND box = Child(L"ThunderRT6CheckBox", BS_AUTOCHECKBOX, 10, 10, 140, 20, L"Check");
    Skin();
    SetSkinProp(box, "OLDSTATE", 2);
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    EXPECT_EQ(Prop(box, "OLDSTATE"), 0);
    EXPECT_EQ(BoxCorner(box), kFrameColour);
    EXPECT_EQ(WindowPixels(box).at(1, Top(box) + 1), kWhite);
}

}  // namespace
