// The BMP writer of the picture tool: read back by the system's own loader.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win_support/bitmap_file.h"

namespace {

TEST(BmpFile, SystemLoaderReadsBackEveryPixelOfAnOddWidthPicture) {
    // Width 5: three padding bytes per row; the rows must still line up.
    const int width = 5, height = 3;
    uint32_t pixels[width * height];
    for (int i = 0; i < width * height; ++i)
        pixels[i] = 0x00010203u * (i + 1) + (i << 20);

    wchar_t folder[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path = std::wstring(folder) + L"folvane-bmp-\u8F6C\u6362.bmp";
    ASSERT_TRUE(WriteBmpFile(path, width, height, pixels));

    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(loaded, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmWidth, width);
    EXPECT_EQ(dib.dsBm.bmHeight, height);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, loaded);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t word = pixels[y * width + x];
            COLORREF expected = RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
            EXPECT_EQ(GetPixel(dc, x, y), expected) << x << "," << y;
        }
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(loaded);
    DeleteFileW(path.c_str());
}

TEST(BmpFile, HeaderDescribesABottomUp24BitPicture) {
    const uint32_t pixels[2] = {0x00FF0000u, 0x000000FFu};  // red, blue
    std::vector<uint8_t> bytes = EncodeBmp(2, 1, pixels);
    ASSERT_EQ(bytes.size(), 14u + 40u + 8u);  // one row of 6 bytes padded to 8
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    // Pixel data is blue, green, red.
    EXPECT_EQ(bytes[54], 0x00);
    EXPECT_EQ(bytes[56], 0xFF);
    EXPECT_EQ(bytes[57], 0xFF);
    EXPECT_EQ(bytes[59], 0x00);
}

TEST(BmpFile, UnwritablePathIsReported) {
    const uint32_t pixel = 0;
    EXPECT_FALSE(WriteBmpFile(L"Z:\\no\\such\\folder\\x.bmp", 1, 1, &pixel));
}

}  // namespace
