// Surfaces, fills, frames, focus boxes, text boxes and window bounds, against real GDI.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "paint/primitives.h"
#include "win_support/gdi_object_count.h"
#include "win_support/pixel_canvas.h"

namespace {

constexpr COLORREF Paper = RGB(250, 250, 250);
constexpr COLORREF Red = RGB(200, 16, 32);

bool InsideBox(int px, int py, int x, int y, int width, int height) {
    return px >= x && px < x + width && py >= y && py < y + height;
}

TEST(Surface, HasADisplayCompatibleBitmapOfTheGivenSize) {
    HDC surface = CreateSurface(13, 7);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(GetObjectType(surface), static_cast<DWORD>(OBJ_MEMDC));
    HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 13);
    EXPECT_EQ(info.bmHeight, 7);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(info.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);

    // Its pixels hold what is written, exactly.
    SetPixel(surface, 12, 6, RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(surface, 12, 6), RGB(1, 2, 3));

    ReleaseSurface(surface);
    EXPECT_EQ(GetObjectType(surface), 0u) << "the DC is deleted";
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap is deleted with it";
}

TEST(Surface, RefusedSizeGivesNoSurfaceAndLeavesNothingBehind) {
    DWORD before = GdiObjectCount();
    EXPECT_EQ(CreateSurface(-4, 10), nullptr);
    EXPECT_EQ(CreateSurface(10, -4), nullptr);
    EXPECT_EQ(GdiObjectCount(), before);
    ReleaseSurface(nullptr);  // accepted, does nothing
}

TEST(Surface, ZeroSizeGivesNoSurface) {
    // A zero size would give the stock 1 x 1 monochrome bitmap, owned and "deleted" by the surface.
    DWORD before = GdiObjectCount();
    EXPECT_EQ(CreateSurface(0, 10), nullptr);
    EXPECT_EQ(CreateSurface(10, 0), nullptr);
    EXPECT_EQ(CreateSurface(0, 0), nullptr);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(FillSolid, CoversExactlyTheBoxWithExclusiveRightAndBottom) {
    PixelCanvas canvas(20, 20);
    canvas.fill(Paper);
    EXPECT_TRUE(FillSolid(canvas.dc(), 3, 4, 5, 6, Red));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.at(x, y), InsideBox(x, y, 3, 4, 5, 6) ? Red : Paper) << x << "," << y;
}

TEST(FillSolid, EmptyBoxPaintsNothing) {
    PixelCanvas canvas(8, 8);
    canvas.fill(Paper);
    FillSolid(canvas.dc(), 2, 2, 0, 5, Red);
    FillSolid(canvas.dc(), 2, 2, 5, 0, Red);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(canvas.at(x, y), Paper);
}

TEST(FrameSolid, DrawsTheOnePixelOutlineOfTheBoxOnly) {
    PixelCanvas canvas(20, 20);
    canvas.fill(Paper);
    EXPECT_TRUE(FrameSolid(canvas.dc(), 2, 3, 9, 6, Red));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool outline = InsideBox(x, y, 2, 3, 9, 6) && !InsideBox(x, y, 3, 4, 7, 4);
            ASSERT_EQ(canvas.at(x, y), outline ? Red : Paper) << x << "," << y;
        }
    }
}

TEST(DrawFocusBox, DrawsOnTheBoxOutlineAndTwiceRemovesIt) {
    PixelCanvas canvas(20, 20);
    canvas.fill(Paper);
    EXPECT_TRUE(DrawFocusBox(canvas.dc(), 2, 2, 10, 8));
    int changed = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool outline = InsideBox(x, y, 2, 2, 10, 8) && !InsideBox(x, y, 3, 3, 8, 6);
            if (canvas.at(x, y) != Paper) {
                ++changed;
                ASSERT_TRUE(outline) << "focus pixel off the outline at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(changed, 0);
    EXPECT_TRUE(DrawFocusBox(canvas.dc(), 2, 2, 10, 8));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.at(x, y), Paper);
}

// Bounding box of the pixels that differ from the paper; empty when none does.
RECT InkBounds(const PixelCanvas& canvas) {
    RECT ink{canvas.width(), canvas.height(), 0, 0};
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.at(x, y) == Paper)
                continue;
            ink.left = std::min<LONG>(ink.left, x);
            ink.top = std::min<LONG>(ink.top, y);
            ink.right = std::max<LONG>(ink.right, x + 1);
            ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    }
    return ink;
}

class TextBox : public ::testing::Test {
  protected:
    static constexpr UINT CentredEllipsis = 0x8025;
    void SetUp() override {
        canvas_.fill(Paper);
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        previousFont_ = SelectObject(canvas_.dc(), font_);
        SetTextColor(canvas_.dc(), RGB(0, 0, 0));
        SetBkMode(canvas_.dc(), TRANSPARENT);
    }
    void TearDown() override { SelectObject(canvas_.dc(), previousFont_); }
    SIZE Measure(const std::wstring& text) {
        RECT r{0, 0, 0, 0};
        DrawTextW(canvas_.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

    PixelCanvas canvas_{240, 60};
    HFONT font_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};

TEST_F(TextBox, CentresOneLineInTheBox) {
    const RECT box{20, 10, 220, 50};
    SIZE text = Measure(L"Convert");
    ASSERT_GT(text.cx, 0);
    int height = DrawTextBox(canvas_.dc(), "Convert", box.left, box.top, box.right - box.left, box.bottom - box.top,
                             CentredEllipsis);
    // The ink lies inside the text's own cell, and that cell is centred in the box.
    const int cellLeft = box.left + (box.right - box.left - text.cx) / 2;
    const int cellTop = box.top + (box.bottom - box.top - text.cy) / 2;
    // Vertically centred text reports where it ends, measured from the top of the box.
    EXPECT_EQ(height, cellTop - box.top + text.cy);
    RECT ink = InkBounds(canvas_);
    ASSERT_LT(ink.left, ink.right) << "nothing drawn";
    EXPECT_GE(ink.left, cellLeft - 1);
    EXPECT_LE(ink.right, cellLeft + text.cx + 1);
    EXPECT_GE(ink.top, cellTop - 1);
    EXPECT_LE(ink.bottom, cellTop + text.cy + 1);
    // Horizontally the ink itself is centred too, to within the side bearings of the glyphs.
    EXPECT_NEAR(ink.left - box.left, box.right - ink.right, 4);
}

TEST_F(TextBox, EndsAnOverlongLineWithAnEllipsisInsideTheBox) {
    const std::string caption = "A caption much too long for this small box";
    const RECT box{30, 10, 110, 40};
    DrawTextBox(canvas_.dc(), caption, box.left, box.top, box.right - box.left, box.bottom - box.top, CentredEllipsis);
    RECT ink = InkBounds(canvas_);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.right);

    // DrawText itself says what it fits into the box: a shortened text ending in "...".
    std::wstring shortened(caption.begin(), caption.end());
    shortened.resize(shortened.size() + 8, L'\0');
    RECT measure = box;
    DrawTextW(canvas_.dc(), shortened.data(), -1, &measure,
              DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    shortened.resize(wcslen(shortened.c_str()));
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), L"...");
    EXPECT_LT(shortened.size(), caption.size() + 3);

    // The box shows exactly that shortened text, centred.
    PixelCanvas expected(canvas_.width(), canvas_.height());
    expected.fill(Paper);
    HGDIOBJ previous = SelectObject(expected.dc(), font_);
    SetBkMode(expected.dc(), TRANSPARENT);
    RECT target = box;
    DrawTextW(expected.dc(), shortened.c_str(), -1, &target, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(expected.dc(), previous);
    for (int y = 0; y < canvas_.height(); ++y)
        for (int x = 0; x < canvas_.width(); ++x)
            ASSERT_EQ(canvas_.at(x, y), expected.at(x, y)) << x << "," << y;
}

TEST_F(TextBox, DrawsUtf8ChineseAsTheSameCharacters) {
    // "转换" (convert) in UTF-8 must come out as the two wide characters, whatever the ANSI code page.
    DrawTextBox(canvas_.dc(), "\xE8\xBD\xAC\xE6\x8D\xA2", 0, 0, 240, 60, CentredEllipsis);
    PixelCanvas expected(canvas_.width(), canvas_.height());
    expected.fill(Paper);
    HGDIOBJ previous = SelectObject(expected.dc(), font_);
    SetBkMode(expected.dc(), TRANSPARENT);
    RECT target{0, 0, 240, 60};
    DrawTextW(expected.dc(), L"\u8F6C\u6362", -1, &target, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(expected.dc(), previous);
    RECT ink = InkBounds(expected);
    ASSERT_LT(ink.left, ink.right);
    for (int y = 0; y < canvas_.height(); ++y)
        for (int x = 0; x < canvas_.width(); ++x)
            ASSERT_EQ(canvas_.at(x, y), expected.at(x, y)) << x << "," << y;
}

TEST_F(TextBox, ModifyStringFlagChangesNothingAndWritesNowhere) {
    const std::string caption = "Another caption far too long for the box";
    PixelCanvas plain(canvas_.width(), canvas_.height());
    plain.fill(Paper);
    HGDIOBJ previous = SelectObject(plain.dc(), font_);
    SetBkMode(plain.dc(), TRANSPARENT);
    DrawTextBox(plain.dc(), caption, 10, 10, 70, 30, CentredEllipsis);
    SelectObject(plain.dc(), previous);
    DrawTextBox(canvas_.dc(), caption, 10, 10, 70, 30, CentredEllipsis | DT_MODIFYSTRING);
    EXPECT_EQ(caption, "Another caption far too long for the box");
    for (int y = 0; y < canvas_.height(); ++y)
        for (int x = 0; x < canvas_.width(); ++x)
            ASSERT_EQ(canvas_.at(x, y), plain.at(x, y)) << x << "," << y;
}

TEST_F(TextBox, EmptyTextDrawsNothing) {
    DrawTextBox(canvas_.dc(), "", 0, 0, 240, 60, CentredEllipsis);
    RECT ink = InkBounds(canvas_);
    EXPECT_GE(ink.left, ink.right);
}

TEST(WindowBounds, GivesTheOuterRectangleWithWidthAndHeight) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 30, 40, 210, 120, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    WindowBounds bounds;
    EXPECT_TRUE(GetWindowBounds(window, bounds));
    EXPECT_EQ(bounds.left, 30);
    EXPECT_EQ(bounds.top, 40);
    EXPECT_EQ(bounds.right, 240);
    EXPECT_EQ(bounds.bottom, 160);
    EXPECT_EQ(bounds.width, 210);
    EXPECT_EQ(bounds.height, 120);
    DestroyWindow(window);

    // A window that no longer exists reports failure and an empty rectangle.
    bounds.width = 99;
    EXPECT_FALSE(GetWindowBounds(window, bounds));
    EXPECT_EQ(bounds.width, 0);
    EXPECT_EQ(bounds.height, 0);
}

}  // namespace
