// The header-item painter on a real header, read back against a reference drawing.
#include <gtest/gtest.h>

#include <string>

#include "families/header/header.h"
#include "support/painter_test.h"

namespace {

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
        BlitSkinPiece(canvas.dc(), 0, 0, canvas.width(), canvas.height(), SkinBitmaps().header_skin, 3 * look, 0, 3, 20,
                      1, 1, 1, 1);
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
        RedrawHeaderItem(header_, nullptr, 1, look);
        WindowPixels pixels(header_);
        const RECT r = ItemRect(1);
        ASSERT_EQ(r.bottom - r.top, 20);
        const int sx = 3 * look;
        for (int y = 0; y < 20; ++y) {
            ASSERT_EQ(pixels.at(r.left, y), SkinPixel(SkinBitmaps().header_skin, sx, y)) << y;
            ASSERT_EQ(pixels.at(r.right - 1, y), SkinPixel(SkinBitmaps().header_skin, sx + 2, y)) << y;
        }
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            ASSERT_EQ(pixels.at(x, 0), SkinPixel(SkinBitmaps().header_skin, sx + 1, 0)) << x;
            ASSERT_EQ(pixels.at(x, 19), SkinPixel(SkinBitmaps().header_skin, sx + 1, 19)) << x;
        }
        PixelCanvas expected(r.right - r.left, 20);
        Reference(expected, look, L"Size", kHeaderCaptionFormat);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(pixels.at(r.left + x, y), expected.at(x, y));
    }
}

TEST_F(HeaderItemTest, LongCaptionEndsInAnEllipsisAndEmptyCaptionDrawsNoText) {
    RedrawHeaderItem(header_, nullptr, 2, 0);
    RedrawHeaderItem(header_, nullptr, 3, 0);
    WindowPixels pixels(header_);
    const wchar_t* caption = L"A caption far too long for its narrow column";
    RECT r = ItemRect(2);
    PixelCanvas ellipsis(r.right - r.left, 20), clipped(r.right - r.left, 20);
    Reference(ellipsis, 0, caption, kHeaderCaptionFormat);
    Reference(clipped, 0, caption, kHeaderCaptionFormat & ~static_cast<UINT>(DT_END_ELLIPSIS));
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
    RedrawHeaderItem(header_, nullptr, -1, 1);
    EXPECT_TRUE(WindowPixels(header_) == before);

    PixelCanvas target(360, 20);
    target.fill(RGB(1, 2, 3));
    RedrawHeaderItem(header_, target.dc(), 1, 2);
    const RECT r = ItemRect(1);
    EXPECT_EQ(target.at(r.left, 5), SkinPixel(SkinBitmaps().header_skin, 6, 5));
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
