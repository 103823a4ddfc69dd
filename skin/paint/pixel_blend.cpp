#include "paint/pixel_blend.h"

#include <windows.h>

#include <emmintrin.h>

namespace {

// x / 255 for 0 <= x <= 65280 + 127, without a division: exact over that whole range.
inline uint32_t DivideBy255(uint32_t x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// Sixteen channels a round. 32-bit x86 may lack SSE2 (Windows 7 runs without it), so the
// instructions are enabled for this function alone and chosen at run time.
__attribute__((target("sse2"))) void BlendPixelsSse2(uint32_t* target,
                                                     const uint32_t* source,
                                                     size_t count,
                                                     int level) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i source_weight = _mm_set1_epi16(static_cast<short>(level));
    const __m128i target_weight = _mm_set1_epi16(static_cast<short>(255 - level));
    const __m128i half = _mm_set1_epi16(127);
    const __m128i one = _mm_set1_epi16(1);
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
        __m128i halves[2];
        for (int part = 0; part < 2; ++part) {
            __m128i s16 = part == 0 ? _mm_unpacklo_epi8(s, zero) : _mm_unpackhi_epi8(s, zero);
            __m128i t16 = part == 0 ? _mm_unpacklo_epi8(t, zero) : _mm_unpackhi_epi8(t, zero);
            // At most 255 * 255 + 127 = 65152: fits an unsigned 16-bit lane.
            __m128i x = _mm_add_epi16(
                _mm_add_epi16(_mm_mullo_epi16(s16, source_weight), _mm_mullo_epi16(t16, target_weight)), half);
            halves[part] = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), _mm_packus_epi16(halves[0], halves[1]));
    }
    BlendPixelsPlain(target + i, source + i, count - i, level);
}

bool HasSse2() {
#if defined(__x86_64__) || defined(_M_X64)
    return true;
#else
    static const bool has = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    return has;
#endif
}

}  // namespace

void BlendPixelsPlain(uint32_t* target, const uint32_t* source, size_t count, int level) {
    const uint32_t a = static_cast<uint32_t>(level);
    for (size_t i = 0; i < count; ++i) {
        uint32_t blended = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint32_t s = (source[i] >> shift) & 0xFF;
            uint32_t t = (target[i] >> shift) & 0xFF;
            blended |= DivideBy255(s * a + t * (255 - a) + 127) << shift;
        }
        target[i] = blended;
    }
}

void BlendPixels(uint32_t* target, const uint32_t* source, size_t count, int level) {
    if (level <= 0)
        return;
    if (level > 255)
        level = 255;
    if (HasSse2())
        BlendPixelsSse2(target, source, count, level);
    else
        BlendPixelsPlain(target, source, count, level);
}
