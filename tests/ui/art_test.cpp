// The artwork tables are well formed, and the icon and cursor that the program loads from
// its resources are exactly the tables' pixels.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builder/project_strings.h"
#include "ui/art/hand_cursor_art.h"
#include "ui/art/help_picture_art.h"
#include "ui/art/open_book_art.h"
#include "ui/resources/resource_ids.h"
#include "win/gdi_handles.h"
#include "win/wide_text.h"

namespace {

void ExpectWellFormed(const PixelArt& art, int width, int height) {
    EXPECT_EQ(art.width, width);
    EXPECT_EQ(art.height, height);
    std::set<char> keys;
    for (int i = 0; i < art.palette_size; ++i) {
        EXPECT_NE(art.palette[i].key, ' ');
        EXPECT_TRUE(keys.insert(art.palette[i].key).second) << "duplicate key " << art.palette[i].key;
    }
    for (int y = 0; y < art.height; ++y) {
        ASSERT_EQ(std::strlen(art.rows[y]), static_cast<size_t>(width)) << "row " << y;
        for (int x = 0; x < width; ++x) {
            const char key = art.rows[y][x];
            EXPECT_TRUE(key == ' ' || keys.count(key)) << "unknown key '" << key << "' at " << x << "," << y;
        }
    }
}

// The colour and mask bits of an icon or cursor, as 32-bit top-down pixels.
struct IconPixels {
    int width = 0, height = 0;
    bool has_colour = false;
    std::vector<uint32_t> colour;  // 0x00RRGGBB
    std::vector<uint32_t> mask;    // white (transparent) or black
    POINT hot_spot{};
};

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (uint32_t& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}

IconPixels ReadIcon(HICON icon) {
    IconPixels result;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return result;
    ScopedBitmap mask(info.hbmMask);
    ScopedBitmap colour(info.hbmColor);
    BITMAP mask_info{};
    GetObjectW(mask.get(), sizeof(mask_info), &mask_info);
    result.width = mask_info.bmWidth;
    result.has_colour = colour.get() != nullptr;
    result.height = result.has_colour ? mask_info.bmHeight : mask_info.bmHeight / 2;
    result.hot_spot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    const std::vector<uint32_t> mask_bits = BitmapPixels(mask.get(), result.width, mask_info.bmHeight);
    result.mask.assign(mask_bits.begin(), mask_bits.begin() + result.width * result.height);
    if (result.has_colour) {
        result.colour = BitmapPixels(colour.get(), result.width, result.height);
    } else {
        result.colour.assign(mask_bits.begin() + result.width * result.height, mask_bits.end());
    }
    return result;
}

void ExpectIconMatches(int size, const PixelArt& art) {
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_OPEN_BOOK), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    const IconPixels pixels = ReadIcon(icon);
    DestroyIcon(icon);
    ASSERT_EQ(pixels.width, size);
    ASSERT_EQ(pixels.height, size);
    ASSERT_TRUE(pixels.has_colour);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba c = art.At(x, y);
            const size_t i = static_cast<size_t>(y) * size + x;
            if (c.alpha == 0) {
                EXPECT_EQ(pixels.mask[i], 0x00FFFFFFu) << x << "," << y;
            } else {
                EXPECT_EQ(pixels.mask[i], 0u) << x << "," << y;
                EXPECT_EQ(pixels.colour[i], (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue)
                    << x << "," << y;
            }
        }
    }
}

}  // namespace

TEST(Artwork, TablesAreWellFormed) {
    ExpectWellFormed(kOpenBook32, 32, 32);
    ExpectWellFormed(kOpenBook16, 16, 16);
    ExpectWellFormed(kHelpPicture, 42, 17);
    ExpectWellFormed(kHandCursor, 32, 32);
}

TEST(Artwork, IconIsOpaqueWithATransparentSurround) {
    for (const PixelArt* art : {&kOpenBook32, &kOpenBook16}) {
        int opaque = 0;
        for (int y = 0; y < art->height; ++y) {
            for (int x = 0; x < art->width; ++x) {
                const uint8_t alpha = art->At(x, y).alpha;
                EXPECT_TRUE(alpha == 0 || alpha == 255) << "a 24-bit icon has no partial transparency";
                opaque += alpha == 255;
            }
        }
        EXPECT_GT(opaque, art->width * art->height / 3);
        EXPECT_EQ(art->At(0, 0).alpha, 0);
        EXPECT_EQ(art->At(art->width - 1, art->height - 1).alpha, 0);
    }
}

TEST(Artwork, HelpPictureHasBlueSignWhiteMarkAndBlackText) {
    int blue = 0, white = 0, black = 0;
    for (int y = 0; y < kHelpPicture.height; ++y) {
        for (int x = 0; x < kHelpPicture.width; ++x) {
            const Rgba c = kHelpPicture.At(x, y);
            if (c.alpha < 255)
                continue;
            if (x < 17 && c.blue > 150 && c.red < 150)
                ++blue;
            if (x < 17 && c.red == 255 && c.green == 255 && c.blue == 255)
                ++white;
            if (x >= 17 && c.red == 0 && c.green == 0 && c.blue == 0)
                ++black;
        }
    }
    EXPECT_GT(blue, 60);
    EXPECT_GT(white, 10);
    EXPECT_GT(black, 20);
    for (int x : {0, 16, 41}) {
        EXPECT_EQ(kHelpPicture.At(x, 0).alpha, 0) << "transparent corners";
        EXPECT_EQ(kHelpPicture.At(x, 16).alpha, 0);
    }
}

TEST(Artwork, HandCursorIsMonochromeWithItsHotSpotOnTheFingerTip) {
    for (int y = 0; y < kHandCursor.height; ++y) {
        for (int x = 0; x < kHandCursor.width; ++x) {
            const Rgba c = kHandCursor.At(x, y);
            if (c.alpha == 0)
                continue;
            EXPECT_TRUE((c.red == 0 && c.green == 0 && c.blue == 0) ||
                        (c.red == 255 && c.green == 255 && c.blue == 255));
        }
    }
    EXPECT_EQ(kHandCursorHotSpotX, 6);
    EXPECT_EQ(kHandCursorHotSpotY, 0);
    EXPECT_EQ(kHandCursor.At(6, 0).alpha, 255) << "the hot spot is on the finger tip";
    for (int x = 0; x < kHandCursor.width; ++x) {
        if (x != 6 && x != 7) {
            EXPECT_EQ(kHandCursor.At(x, 0).alpha, 0) << "nothing above the tip";
        }
    }
}

TEST(Artwork, IconResourceHoldsBothSizesFromTheTables) {
    ExpectIconMatches(32, kOpenBook32);
    ExpectIconMatches(16, kOpenBook16);
}

TEST(Resources, VersionInformationNamesTheProgram) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080404B0\\ProductName", reinterpret_cast<void**>(&text),
                               &length));
    EXPECT_STREQ(text, L"Folvane");
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080404B0\\OriginalFilename",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"folvane.exe");
}

TEST(Resources, ManifestRunsAsInvokerOnCurrentWindows) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string manifest(bytes, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10";
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
}

TEST(Artwork, CursorResourceIsTheMonochromeHand) {
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_POINTING_HAND), IMAGE_CURSOR, 32, 32, 0));
    ASSERT_NE(cursor, nullptr);
    const IconPixels pixels = ReadIcon(cursor);
    DestroyCursor(cursor);
    EXPECT_FALSE(pixels.has_colour) << "monochrome";
    ASSERT_EQ(pixels.width, 32);
    ASSERT_EQ(pixels.height, 32);
    EXPECT_EQ(pixels.hot_spot.x, 6);
    EXPECT_EQ(pixels.hot_spot.y, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Rgba c = kHandCursor.At(x, y);
            const size_t i = static_cast<size_t>(y) * 32 + x;
            const bool transparent = c.alpha == 0;
            EXPECT_EQ(pixels.mask[i] != 0, transparent) << x << "," << y;
            if (!transparent) {
                EXPECT_EQ(pixels.colour[i] != 0, c.red == 255) << x << "," << y;
            }
        }
    }
}

namespace {

// Entry `id` of the Chinese (PRC) string table, read from the raw block so that the thread's
// language cannot pick another one. False when there is none.
bool ChineseTableString(int id, std::wstring& text) {
    const HRSRC found =
        FindResourceExW(nullptr, MAKEINTRESOURCEW(6),  // RT_STRING
                        MAKEINTRESOURCEW(id / 16 + 1), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    if (!found)
        return false;
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, found)));
    for (int i = 0; i < id % 16; ++i)
        entry += 1 + *entry;
    text.assign(entry + 1, *entry);
    return *entry != 0;
}

}  // namespace

TEST(Resources, ProjectTextsAreAChineseStringTableMatchingTheBuilder) {
    for (int id = 1; id <= kProjectStringCount; ++id) {
        std::wstring text;
        ASSERT_TRUE(ChineseTableString(id, text)) << "id " << id;
        EXPECT_EQ(text, WideFromUtf8(ProjectString(id))) << "id " << id;
    }
    std::wstring text;
    EXPECT_FALSE(ChineseTableString(kProjectStringCount + 1, text));
    ASSERT_TRUE(ChineseTableString(34, text));
    EXPECT_EQ(text, L"[INFOTYPES]\r\n");
}

// The 32-bit program may use 4 GB on 64-bit Windows instead of 2 GB: the largest novels are
// read whole into memory.
TEST(Program, IsMarkedLargeAddressAware) {
    std::string path = FOLVANE_PROGRAM_FILE;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;  // the build machine's file system as Wine shows it
    HANDLE file =
        CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    std::vector<char> head(4096);
    DWORD read = 0;
    ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
    CloseHandle(file);
    ASSERT_GE(read, sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LE(dos->e_lfanew + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER), read);
    DWORD signature = 0;
    std::memcpy(&signature, head.data() + dos->e_lfanew, sizeof(signature));
    ASSERT_EQ(signature, IMAGE_NT_SIGNATURE);
    IMAGE_FILE_HEADER header{};
    std::memcpy(&header, head.data() + dos->e_lfanew + sizeof(DWORD), sizeof(header));
    EXPECT_NE(header.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0) << path;
}
