// The small holders that free GDI and user handles on scope exit.
#include <gtest/gtest.h>

#include <utility>

#include "win/gdi_handles.h"
#include "win_support/gdi_object_count.h"
#include "win_support/pixel_canvas.h"

namespace {

TEST(GdiObjectCount, SeesObjectsCreatedAndDeleted) {
    // The leak checks elsewhere rely on this count moving with every object.
    DWORD before = GdiObjectCount();
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiObjectCount(), before + 10);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(ScopedGdiObject, DeletesItsObjectOnScopeExit) {
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    {
        ScopedBrush held(brush);
        EXPECT_TRUE(held);
        EXPECT_EQ(held.get(), brush);
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(ScopedGdiObject, EmptyHolderDoesNothing) {
    DWORD before = GdiObjectCount();
    {
        ScopedRegion empty;
        EXPECT_FALSE(empty);
        ScopedPalette none(nullptr);
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(ScopedGdiObject, ReleaseGivesUpOwnership) {
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    {
        ScopedRegion held(region);
        EXPECT_EQ(held.release(), region);
        EXPECT_FALSE(held);
    }
    EXPECT_EQ(GetObjectType(region), static_cast<DWORD>(OBJ_REGION));
    DeleteObject(region);
}

TEST(ScopedGdiObject, MoveHandsTheObjectOverOnce) {
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    {
        ScopedBitmap first(bitmap);
        ScopedBitmap second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), bitmap);
    }
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(ScopedCreatedDC, DeletesTheDCUnlessReleased) {
    HDC dc = CreateCompatibleDC(nullptr);
    { ScopedCreatedDC held(dc); }
    EXPECT_EQ(GetObjectType(dc), 0u);

    HDC kept = CreateCompatibleDC(nullptr);
    {
        ScopedCreatedDC held(kept);
        EXPECT_EQ(held.release(), kept);
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_MEMDC));
    DeleteDC(kept);
}

TEST(ScopedSelect, PutsThePreviousObjectBack) {
    PixelCanvas canvas(4, 4);
    HGDIOBJ original = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    ScopedBrush brush(CreateSolidBrush(RGB(9, 8, 7)));
    {
        ScopedSelect select(canvas.dc(), brush.get());
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), original);
    {
        ScopedSelect nothing(canvas.dc(), nullptr);  // selecting nothing leaves the DC alone
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), original);
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), original);
}

TEST(ScopedSelectPalette, PutsThePreviousPaletteBackSoItCanBeDeleted) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(dc, OBJ_PAL);
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(palette, nullptr);
    {
        ScopedSelectPalette select(dc, palette, TRUE);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), original);
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_EQ(GetObjectType(palette), 0u);
    {
        ScopedSelectPalette none(dc, nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), original);
    }
    DeleteDC(dc);
}

class WindowHolders : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }
    HWND window_ = nullptr;
};

TEST_F(WindowHolders, WindowDCIsGivenBackSoTheCountReturns) {
    DWORD before = GdiObjectCount();
    for (int i = 0; i < 50; ++i) {
        ScopedWindowDC whole(window_);
        ScopedWindowDC client(window_, ScopedWindowDC::kClientArea);
        EXPECT_TRUE(whole);
        EXPECT_TRUE(client);
        SetPixel(whole.get(), 1, 1, RGB(1, 2, 3));
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(WindowHolders, PaintEndsThePaintingAndValidatesTheWindow) {
    InvalidateRect(window_, nullptr, FALSE);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(window_, &update, FALSE));
    {
        ScopedPaint paint(window_);
        EXPECT_NE(paint.get(), nullptr);
        EXPECT_EQ(paint.info().hdc, paint.get());
    }
    EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));
}

}  // namespace
