// Column headers through the skinned window procedure: the hit test, hover, press, drag and
// release of items, the leave, and the whole strip's paint.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include "paint/skin_bitmaps.h"
#include "support/skinned_form.h"

namespace {

constexpr int ItemWidth = 80;
constexpr int ItemCount = 4;

class HeaderTest : public SkinnedFormTest {
  protected:
    void MakeHeader() {
        header_ = Child(WC_HEADERW, HDS_HORZ | HDS_BUTTONS, 10, 10, 400, 20);
        for (int i = 0; i < ItemCount; ++i) {
            wchar_t text[] = L"Column 0";
            text[7] = static_cast<wchar_t>(L'0' + i);
            HDITEMW item{};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.pszText = text;
            item.cxy = ItemWidth;
            item.fmt = HDF_LEFT | HDF_STRING;
            SendMessageW(header_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        Skin();
    }
    // The look an item shows, from its left edge column (untouched by captions).
    int LookOf(int index) {
        WindowPixels pixels(header_);
        for (int look = 0; look < 3; ++look) {
            bool match = true;
            for (int y = 0; y < 20 && match; ++y)
                match = pixels.at(index * ItemWidth, y) == SkinPixel(SkinBitmaps().header_skin, 3 * look, y);
            if (match)
                return look;
        }
        return -1;
    }
    void Move(int x, WPARAM buttons = 0) { SendMessageW(header_, WM_MOUSEMOVE, buttons, Point(x, 10)); }
    POINT ScreenPoint(int x) {
        POINT point{x, 10};
        ClientToScreen(header_, &point);
        return point;
    }
    INT_PTR Pressed() { return Prop(header_, "HDINDEX"); }
    INT_PTR Hovered() { return Prop(header_, "HMINDEX"); }

    HWND header_ = nullptr;
};

TEST_F(HeaderTest, HoverFollowsTheMouseFromItemToItem) {
    MakeHeader();
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(Hovered(), -1);
    Move(100);
    EXPECT_EQ(Hovered(), 1);
    EXPECT_EQ(Prop(header_, "MOUSEFLAG"), 1);
    EXPECT_EQ(LookOf(1), 1);
    Move(180);
    EXPECT_EQ(Hovered(), 2);
    EXPECT_EQ(LookOf(1), 0);
    EXPECT_EQ(LookOf(2), 1);
}

TEST_F(HeaderTest, BoundaryBetweenTwoItemsBelongsToTheLeftOne) {
    MakeHeader();
    Move(ItemWidth);
    EXPECT_EQ(Hovered(), 0);
    Move(ItemWidth + 1);
    EXPECT_EQ(Hovered(), 1);
    Move(ItemCount * ItemWidth + 5);
    EXPECT_EQ(Hovered(), -1);
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, Point(2 * ItemWidth, 10));
    EXPECT_EQ(Pressed(), 1);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(2 * ItemWidth, 10));
}

TEST_F(HeaderTest, PressDragOffAndBackThenReleaseOverTheHeader) {
    MakeHeader();
    Move(200);
    ASSERT_EQ(Hovered(), 2);
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, Point(200, 10));
    EXPECT_EQ(Pressed(), 2);
    EXPECT_EQ(LookOf(2), 2);

    // Dragging onto item 3 neither moves the hover nor draws item 3 as hover.
    Move(280, MK_LBUTTON);
    EXPECT_EQ(Hovered(), 2);
    EXPECT_EQ(LookOf(3), 0);
    EXPECT_EQ(LookOf(2), 2);
    Move(200, MK_LBUTTON);
    EXPECT_EQ(Hovered(), 2);
    EXPECT_EQ(LookOf(2), 2);

    const POINT over = ScreenPoint(200);
    SetCursorPos(over.x, over.y);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(200, 10));
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(LookOf(2), 1);
}

TEST_F(HeaderTest, PressedItemComesBackPressedWhenTheHoverWasElsewhere) {
    MakeHeader();
    Move(100);
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 10));
    SetSkinProp(header_, "HMINDEX", 3);  // the hover left on another item
    Move(100, MK_LBUTTON);
    EXPECT_EQ(LookOf(1), 2);
    EXPECT_EQ(LookOf(3), 0);
    EXPECT_EQ(Hovered(), 3);
    SetCursorPos(FormLeft + 500, FormTop + 350);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(100, 10));
}

TEST_F(HeaderTest, ReleaseOutsideTheHeaderDrawsTheItemNormal) {
    MakeHeader();
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 10));
    EXPECT_EQ(LookOf(1), 2);
    SetCursorPos(FormLeft + 500, FormTop + 350);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(100, 10));
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(LookOf(1), 0);
}

TEST_F(HeaderTest, DoubleClickPressesTheItemToo) {
    MakeHeader();
    SendMessageW(header_, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(260, 10));
    EXPECT_EQ(Pressed(), 3);
    EXPECT_EQ(LookOf(3), 2);
    SetCursorPos(FormLeft + 500, FormTop + 350);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(260, 10));
}

TEST_F(HeaderTest, LeaveClearsBothIndicesAndDrawsTheHoverItemNormal) {
    MakeHeader();
    Move(20);
    EXPECT_EQ(LookOf(0), 1);
    SetSkinProp(header_, "HDINDEX", 2);
    SendMessageW(header_, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Pressed(), -1);
    EXPECT_EQ(Hovered(), -1);
    EXPECT_EQ(Prop(header_, "MOUSEFLAG"), 0);
    EXPECT_EQ(LookOf(0), 0);
}

TEST_F(HeaderTest, WholePaintShowsPressedAndHoverItemsOverTheStretchedBackground) {
    MakeHeader();
    SetSkinProp(header_, "HDINDEX", 1);
    SetSkinProp(header_, "HMINDEX", 2);
    InvalidateRect(header_, nullptr, TRUE);
    UpdateWindow(header_);
    EXPECT_EQ(LookOf(0), 0);
    EXPECT_EQ(LookOf(1), 2);
    EXPECT_EQ(LookOf(2), 1);
    EXPECT_EQ(LookOf(3), 0);
    WindowPixels pixels(header_);
    for (int y = 0; y < 20; ++y)
        ASSERT_EQ(pixels.at(390, y), SkinPixel(SkinBitmaps().header_skin, 1, y)) << y;

    // Pressed wins when both indices name the same item.
    SetSkinProp(header_, "HMINDEX", 1);
    InvalidateRect(header_, nullptr, TRUE);
    UpdateWindow(header_);
    EXPECT_EQ(LookOf(1), 2);
    EXPECT_EQ(LookOf(2), 0);
}

TEST_F(HeaderTest, HeaderWithoutItemsPaintsTheBackgroundOnly) {
    header_ = Child(WC_HEADERW, HDS_HORZ, 10, 10, 400, 20);
    Skin();
    Move(50);
    EXPECT_EQ(Hovered(), -1);
    SendMessageW(header_, WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 10));
    EXPECT_EQ(Pressed(), -1);
    SendMessageW(header_, WM_LBUTTONUP, 0, Point(50, 10));
    InvalidateRect(header_, nullptr, TRUE);
    UpdateWindow(header_);
    WindowPixels pixels(header_);
    for (int x : {0, 1, 200, 399})
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(pixels.at(x, y), SkinPixel(SkinBitmaps().header_skin, 1, y)) << x;
}

}  // namespace
