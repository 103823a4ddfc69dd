// The in-place blend of the push-button fades against the system's AlphaBlend, which it
// replaces: the same pixels (the platform may round one step apart), at every level.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "paint/dib_surface.h"
#include "paint/pixel_blend.h"

namespace {

// Deterministic pixels that cover every channel value.
std::vector<uint32_t> NoisePixels(size_t count, uint32_t seed) {
    std::vector<uint32_t> pixels(count);
    for (uint32_t& pixel : pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed >> 8;
    }
    return pixels;
}

int LargestChannelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift = 0; shift < 24; shift += 8)
        gap = std::max(gap, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return gap;
}

TEST(PixelBlend, MatchesAlphaBlendAtEveryLevel) {
    constexpr int kWidth = 67;  // not a multiple of four: the fast path's tail is used too
    constexpr int kHeight = 5;
    DibSurface face;
    DibSurface shown;
    DibSurface reference;
    ASSERT_TRUE(face.Resize(kWidth, kHeight));
    ASSERT_TRUE(shown.Resize(kWidth, kHeight));
    ASSERT_TRUE(reference.Resize(kWidth, kHeight));
    const std::vector<uint32_t> face_pixels = NoisePixels(face.pixel_count(), 7);
    const std::vector<uint32_t> start_pixels = NoisePixels(face.pixel_count(), 99);
    std::copy(face_pixels.begin(), face_pixels.end(), face.bits());

    for (int level = 0; level <= 255; ++level) {
        std::copy(start_pixels.begin(), start_pixels.end(), shown.bits());
        std::copy(start_pixels.begin(), start_pixels.end(), reference.bits());
        BlendPixels(shown.bits(), face.bits(), shown.pixel_count(), level);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(level), 0};
        ASSERT_TRUE(AlphaBlend(reference.dc(), 0, 0, kWidth, kHeight, face.dc(), 0, 0, kWidth, kHeight, blend));
        GdiFlush();
        int worst = 0;
        for (size_t i = 0; i < shown.pixel_count(); ++i)
            worst = std::max(worst, LargestChannelGap(shown.bits()[i], reference.bits()[i]));
        ASSERT_LE(worst, 1) << "level " << level;
    }
}

TEST(PixelBlend, FastPathEqualsThePlainLoopAndEndsExactly) {
    const std::vector<uint32_t> source = NoisePixels(1031, 3);
    const std::vector<uint32_t> start = NoisePixels(1031, 5);
    for (int level : {1, 2, 3, 60, 127, 128, 140, 200, 254, 255}) {
        std::vector<uint32_t> fast = start;
        std::vector<uint32_t> plain = start;
        BlendPixels(fast.data(), source.data(), fast.size(), level);
        BlendPixelsPlain(plain.data(), source.data(), plain.size(), level);
        ASSERT_EQ(fast, plain) << "level " << level;
    }
    // Level 0 leaves the target, 255 copies the source: a fade starts and ends on exact faces.
    std::vector<uint32_t> target = start;
    BlendPixels(target.data(), source.data(), target.size(), 0);
    EXPECT_EQ(target, start);
    BlendPixels(target.data(), source.data(), target.size(), 255);
    EXPECT_EQ(target, source);
}

}  // namespace
