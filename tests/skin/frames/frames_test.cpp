// Client-edge borders, the outlines of data lists, drop-down lists and grids, and progress
// bars, through the skinned window procedure.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include "engine/window_info.h"
#include "paint/skin_colours.h"
#include "support/skinned_form.h"

namespace {

constexpr COLORREF Black = RGB(0, 0, 0);

class FramesTest : public SkinnedFormTest {};

COLORREF ClientBackground(HWND window) {
    HDC dc = GetDC(window);
    COLORREF colour = GetBkColor(dc);
    ReleaseDC(window, dc);
    return colour;
}

TEST_F(FramesTest, ListBoxWithTwoPixelSunkenEdgeGetsOuterRingAndBackgroundRings) {
    HWND list = Child(L"ListBox", WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL, 10, 10, 160, 120, L"",
                      WS_EX_CLIENTEDGE);
    Skin();
    int bx = 0, by = 0;
    GetBorderOffsets(list, bx, by);
    ASSERT_EQ(bx, 2);
    const SIZE size = WindowSize(list);
    const int w = size.cx, h = size.cy;
    const COLORREF background = ClientBackground(list);

    for (bool enabled : {true, false}) {
        EnableWindow(list, enabled);
        SettleMessages();
        Blacken(list);
        SendMessageW(list, WM_NCPAINT, 1, 0);
        WindowPixels pixels(list);
        const COLORREF outer = enabled ? kFrameColour : kDisabledFrameColour;
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(pixels.at(x, 0), outer) << x;
            ASSERT_EQ(pixels.at(x, h - 1), outer) << x;
        }
        for (int y = 0; y < h; ++y) {
            ASSERT_EQ(pixels.at(0, y), outer) << y;
            ASSERT_EQ(pixels.at(w - 1, y), outer) << y;
        }
        // Rings d = 1 and 2 run from (d, d) to the exclusive corner (w - 1, h - 1): their right
        // and bottom edges both lie on column w - 2 and row h - 2.
        for (int d = 1; d <= 2; ++d) {
            for (int x = d; x <= w - 2; ++x) {
                ASSERT_EQ(pixels.at(x, d), background) << "ring " << d << " top " << x;
                ASSERT_EQ(pixels.at(x, h - 2), background) << "ring " << d << " bottom " << x;
            }
            for (int y = d; y <= h - 2; ++y) {
                ASSERT_EQ(pixels.at(d, y), background) << "ring " << d << " left " << y;
                ASSERT_EQ(pixels.at(w - 2, y), background) << "ring " << d << " right " << y;
            }
        }
        EXPECT_EQ(pixels.at(3, h / 2), Black);
        EXPECT_NE(pixels.at(w - 3, h / 2), background);
    }
}

TEST_F(FramesTest, WindowWithoutClientEdgeGetsNoBorderDrawing) {
    HWND list = Child(L"ListBox", WS_BORDER | LBS_NOINTEGRALHEIGHT, 10, 10, 160, 120);
    Skin();
    Blacken(list);
    SendMessageW(list, WM_NCPAINT, 1, 0);
    WindowPixels pixels(list);
    EXPECT_NE(pixels.at(0, 20), kFrameColour);
    EXPECT_EQ(pixels.at(1, 20), Black);
}

TEST_F(FramesTest, DataListIsOutlinedAfterItsPaintButNeverGetsTheRings) {
    HWND data = Child(L"DataListWndClass", LBS_NOINTEGRALHEIGHT, 10, 10, 160, 120, L"", WS_EX_CLIENTEDGE);
    Skin();
    Blacken(data);
    SendMessageW(data, WM_NCPAINT, 1, 0);
    WindowPixels frameOnly(data);
    EXPECT_NE(frameOnly.at(0, 20), kFrameColour);
    EXPECT_EQ(frameOnly.at(2, 20), Black);

    InvalidateRect(data, nullptr, TRUE);
    UpdateWindow(data);
    WindowPixels painted(data);
    const SIZE size = WindowSize(data);
    for (int y = 0; y < size.cy; ++y) {
        ASSERT_EQ(painted.at(0, y), kFrameColour) << y;
        ASSERT_EQ(painted.at(size.cx - 1, y), kFrameColour) << y;
    }
    for (int y = 1; y < size.cy - 1; ++y)
        ASSERT_EQ(painted.at(1, y), kWhite) << y;
    EXPECT_EQ(painted.at(5, size.cy - 2), kWhite);

    EnableWindow(data, FALSE);
    InvalidateRect(data, nullptr, TRUE);
    UpdateWindow(data);
    EXPECT_EQ(WindowPixels(data).at(0, 10), kDisabledFrameColour);
}

TEST_F(FramesTest, DropDownListOfAComboBoxIsSkinnedAndOutlined) {
    HWND combo = Child(L"ComboBox", CBS_DROPDOWNLIST, 10, 10, 160, 200);
    for (const wchar_t* text : {L"one", L"two", L"three"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    Skin();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    EXPECT_EQ(Prop(info.hwndList, "PROCADDR"), 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SettleMessages();
    UpdateWindow(info.hwndList);
    EXPECT_NE(Prop(info.hwndList, "PROCADDR"), 0);
    WindowPixels list(info.hwndList);
    EXPECT_EQ(list.at(0, 0), kFrameColour);
    EXPECT_EQ(list.at(list.width() - 1, list.height() - 1), kFrameColour);
    EXPECT_EQ(list.at(1, 1), kWhite);
    EXPECT_EQ(list.at(1, list.height() - 2), kWhite);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SettleMessages();
}

TEST_F(FramesTest, GridIsOutlinedOnlyWithABorder) {
    HWND bordered = Child(L"ApexGridTest", WS_BORDER, 10, 10, 100, 60);
    HWND plain = Child(L"ApexGridTest", 0, 200, 10, 100, 60);
    Skin();
    WindowPixels framed(bordered);
    EXPECT_EQ(framed.at(0, 0), kFrameColour);
    EXPECT_EQ(framed.at(99, 59), kFrameColour);
    EXPECT_EQ(framed.at(1, 1), GridFill);
    WindowPixels untouched(plain);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(untouched.at(x, y), GridFill) << x << "," << y;
}

class ProgressTest : public SkinnedFormTest {
  protected:
    HWND Bar(DWORD style, int clientWidth, int clientHeight, int position) {
        HWND bar = Child(L"ProgressBar20WndClass", WS_BORDER | style, 10, 10, clientWidth + 2, clientHeight + 2);
        SendMessageW(bar, PBM_SETRANGE32, 0, 30000);
        SendMessageW(bar, PBM_SETPOS, position, 0);
        RECT client;
        GetClientRect(bar, &client);
        EXPECT_EQ(client.right, clientWidth);
        EXPECT_EQ(client.bottom, clientHeight);
        return bar;
    }
};

TEST_F(ProgressTest, HorizontalBarAtHalfFillsHalfOfTwoHundredPixels) {
    HWND bar = Bar(0, 200, 20, 15000);
    Skin();
    WindowPixels client(bar, WindowPixels::ClientArea);
    for (int x = 0; x < 200; ++x)
        for (int y : {0, 10, 19})
            ASSERT_EQ(client.at(x, y), x < 100 ? kProgressFillColour : kWhite) << x << "," << y;

    // The frame: drawn whole over a blackened window, the bar as the frame sees it.
    Blacken(bar);
    SendMessageW(bar, WM_NCPAINT, 1, 0);
    WindowPixels frame(bar);
    EXPECT_EQ(frame.at(0, 0), kFrameColour);
    EXPECT_EQ(frame.at(201, 21), kFrameColour);
    EXPECT_EQ(frame.at(1, 1), kProgressFillColour);
    EXPECT_EQ(frame.at(100, 20), kProgressFillColour);
    EXPECT_EQ(frame.at(101, 1), kWhite);
    EXPECT_EQ(frame.at(200, 20), kWhite);
}

TEST_F(ProgressTest, VerticalBarAtAThirdFillsTheBottomThirtyOfNinety) {
    HWND bar = Bar(PBS_VERTICAL | PBS_SMOOTH, 20, 90, 10000);
    Skin();
    WindowPixels client(bar, WindowPixels::ClientArea);
    for (int y = 0; y < 90; ++y)
        for (int x : {0, 10, 19})
            ASSERT_EQ(client.at(x, y), y >= 60 ? kProgressFillColour : kWhite) << x << "," << y;

    Blacken(bar);
    SendMessageW(bar, WM_NCPAINT, 1, 0);
    WindowPixels frame(bar);
    EXPECT_EQ(frame.at(0, 0), kFrameColour);
    EXPECT_EQ(frame.at(1, 1 + 59), kWhite);
    EXPECT_EQ(frame.at(1, 1 + 60), kProgressFillColour);
    EXPECT_EQ(frame.at(20, 90), kProgressFillColour);
}

TEST_F(ProgressTest, FilledLengthsRoundHalvesToEven) {
    // Half of 201 is 100.5 and goes down to 100; half of 203 is 101.5 and goes up to 102.
    HWND odd = Bar(0, 201, 10, 15000);
    Skin();
    WindowPixels down(odd, WindowPixels::ClientArea);
    EXPECT_EQ(down.at(99, 5), kProgressFillColour);
    EXPECT_EQ(down.at(100, 5), kWhite);
    DestroyWindow(odd);
    HWND up = Bar(0, 203, 10, 15000);
    SkinWindow(up);
    UpdateAll();
    WindowPixels upPixels(up, WindowPixels::ClientArea);
    EXPECT_EQ(upPixels.at(101, 5), kProgressFillColour);
    EXPECT_EQ(upPixels.at(102, 5), kWhite);
}

TEST_F(ProgressTest, VerticalBarOfOddHeightAtAHalfReachesTheBottomEdge) {
    // 93 x 0.5 = 46.5: the white part ends at row 46 (ties to even) and the bar fills the
    // rows below it down to the last one.
    HWND bar = Bar(PBS_VERTICAL, 20, 93, 15000);
    Skin();
    WindowPixels client(bar, WindowPixels::ClientArea);
    for (int y = 0; y < 93; ++y)
        ASSERT_EQ(client.at(10, y), y >= 46 ? kProgressFillColour : kWhite) << y;
}

TEST_F(ProgressTest, EmptyBarIsWhiteAndSegmentedVerticalFrameDrawsNoFill) {
    HWND empty = Bar(0, 200, 20, 0);
    Skin();
    WindowPixels client(empty, WindowPixels::ClientArea);
    for (int x = 0; x < 200; ++x)
        ASSERT_EQ(client.at(x, 10), kWhite) << x;

    HWND segmented = Bar(PBS_VERTICAL, 20, 90, 10000);
    SkinWindow(segmented);
    Blacken(segmented);
    SendMessageW(segmented, WM_NCPAINT, 1, 0);
    WindowPixels frame(segmented);
    EXPECT_EQ(frame.at(1, 1 + 60), kWhite);
    EXPECT_EQ(frame.at(1, 1), kWhite);
}

}  // namespace
