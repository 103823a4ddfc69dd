// Combo boxes and drive lists through the skinned window procedure: the frame, and the drop
// button following the mouse over its zone (drop-down combo boxes) or the whole control.
#include <windows.h>

#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "support/skinned_form.h"

namespace {

class ComboTest : public SkinnedFormTest {
  protected:
    // Moves the mouse over the control (client coordinates) and returns the state drawn.
    static INT_PTR MoveTo(HWND combo, int x, int y, WPARAM buttons = 0) {
        SendMessageW(combo, WM_MOUSEMOVE, buttons, Point(x, y));
        return Prop(combo, "OLDSTATE");
    }
    static POINT ScreenCentre(HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static COLORREF ButtonLeftColumn(HWND combo) {
        SIZE size = WindowSize(combo);
        int bw = GetSystemMetrics(SM_CXVSCROLL) + 1;
        return WindowPixels(combo).at(size.cx - bw - 1, size.cy / 2);
    }
};

TEST_F(ComboTest, DropButtonZoneBoundsAreInclusive) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 10, 10, 180, 200);
    Skin();
    const SIZE size = WindowSize(combo);
    const int w = size.cx, h = size.cy, c = GetSystemMetrics(SM_CXVSCROLL), mid = h / 2;

    EXPECT_EQ(MoveTo(combo, 5, mid), 0);
    EXPECT_EQ(Prop(combo, "MOUSEFLAG"), 1);
    EXPECT_EQ(MoveTo(combo, w - c - 2, mid), 1);
    EXPECT_EQ(ButtonLeftColumn(combo), 0x00D1A04Eu);
    EXPECT_EQ(MoveTo(combo, w - c - 3, mid), 0);
    EXPECT_EQ(ButtonLeftColumn(combo), kWhite);
    EXPECT_EQ(MoveTo(combo, w - 2, mid), 1);
    EXPECT_EQ(MoveTo(combo, w - 1, mid), 0);
    EXPECT_EQ(MoveTo(combo, w - c, 2), 1);
    EXPECT_EQ(MoveTo(combo, w - c, 1), 0);
    EXPECT_EQ(MoveTo(combo, w - c, h - 2), 1);
    EXPECT_EQ(MoveTo(combo, w - c, h - 1), 0);
    EXPECT_EQ(MoveTo(combo, w - c, mid, MK_LBUTTON), 2);
    // Mouse words are signed: 0xFFFF reads as -1, outside the zone.
    EXPECT_EQ(MoveTo(combo, w - c, 0xFFFF), 0);
    EXPECT_EQ(MoveTo(combo, 0xFFFF, mid), 0);
}

TEST_F(ComboTest, DropDownListAndDriveListReactOverTheirWholeArea) {
    HWND list = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 10, 10, 180, 200);
    // Style bit 0 clear, yet a drive list reacts everywhere.
    HWND drives = Child(L"ThunderRT6DriveListBox", CBS_DROPDOWN, 10, 60, 180, 200);
    Skin();
    for (HWND combo : {list, drives}) {
        EXPECT_EQ(MoveTo(combo, 5, 5), 1);
        EXPECT_EQ(MoveTo(combo, 6, 5, MK_LBUTTON), 2);
        SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(Prop(combo, "OLDSTATE"), 0);
        EXPECT_EQ(Prop(combo, "MOUSEFLAG"), 0);
    }
}

TEST_F(ComboTest, PressInTheZoneShowsPressedAndInTheEditPartNothing) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 10, 10, 180, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    Skin();
    const SIZE size = WindowSize(combo);
    SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, size.cy / 2));
    EXPECT_EQ(Prop(combo, "OLDSTATE"), 0);
    SendMessageW(combo, WM_LBUTTONUP, 0, Point(5, size.cy / 2));

    SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, Point(size.cx - 5, size.cy / 2));
    EXPECT_EQ(Prop(combo, "OLDSTATE"), 2);
    EXPECT_EQ(WindowPixels(combo).at(size.cx - GetSystemMetrics(SM_CXVSCROLL) - 2 + 2, 2),
              SkinPixel(SkinBitmaps().combo_button_skin, 6, 1));
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ReleaseCapture();
    SettleMessages();
}

TEST_F(ComboTest, ReleaseDrawsHoverOverTheControlAndNormalElsewhere) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 10, 10, 180, 200);
    Skin();
    const POINT centre = ScreenCentre(combo);
    SetSkinProp(combo, "OLDSTATE", 2);
    SetCursorPos(centre.x, centre.y);
    SendMessageW(combo, WM_LBUTTONUP, 0, Point(20, 5));
    EXPECT_EQ(Prop(combo, "OLDSTATE"), 1);

    SetSkinProp(combo, "OLDSTATE", 2);
    SetCursorPos(FormLeft + 500, FormTop + 350);
    SendMessageW(combo, WM_LBUTTONUP, 0, Point(20, 5));
    EXPECT_EQ(Prop(combo, "OLDSTATE"), 0);
}

TEST_F(ComboTest, WindowPositionChangeDrawsNormal) {
    HWND combo = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 10, 10, 180, 200);
    Skin();
    EXPECT_EQ(MoveTo(combo, 5, 5), 1);
    SetWindowPos(combo, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Prop(combo, "OLDSTATE"), 0);
}

TEST_F(ComboTest, FramesForBothPaintPathsAndTheDisabledColour) {
    HWND edit = Child(L"ThunderRT6ComboBox", CBS_DROPDOWN, 10, 10, 180, 200);
    HWND list = Child(L"ThunderRT6ComboBox", CBS_DROPDOWNLIST, 10, 60, 180, 200);
    Skin();
    for (HWND combo : {edit, list}) {
        SetSkinProp(combo, "OLDSTATE", 1);
        InvalidateRect(combo, nullptr, TRUE);
        UpdateWindow(combo);
        WindowPixels pixels(combo);
        const SIZE size = WindowSize(combo);
        EXPECT_EQ(pixels.at(0, 0), kFrameColour);
        EXPECT_EQ(pixels.at(size.cx - 1, size.cy - 1), kFrameColour);
        EXPECT_EQ(pixels.at(1, 1), kWhite);
        EXPECT_EQ(pixels.at(1, size.cy - 2), kWhite);
        // The button is redrawn in the recorded state.
        EXPECT_EQ(pixels.at(size.cx - GetSystemMetrics(SM_CXVSCROLL) - 2, size.cy / 2), 0x00D1A04Eu);
    }
    EnableWindow(list, FALSE);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    EXPECT_EQ(WindowPixels(list).at(0, 0), kDisabledFrameColour);
}

}  // namespace
