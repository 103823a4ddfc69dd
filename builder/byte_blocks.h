// Classifying text 64 bytes at a time into bit masks (bit i stands for byte i of the block),
// so that the passes over whole books test a block with a few instructions instead of
// looking at every byte. SSE2 where the compiler may use it, plain 64-bit arithmetic otherwise.
// Everything here sits in the inner loops, so it is inline.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define FOLVANE_HAVE_SSE2 1
#endif
// The busiest passes also have an AVX2 form, chosen when the program runs.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define FOLVANE_HAVE_AVX2_DISPATCH 1
#endif

inline constexpr size_t kBlockBytes = 64;

// Whether the passes that also have an AVX2 form may use it on processors that have it. Tests turn
// it off to check the SSE2 form on the same machine.
inline bool g_blocks_may_use_avx2 = true;

// Whether those passes take their AVX2 form now.
inline bool BlocksUseAvx2() {
#ifdef FOLVANE_HAVE_AVX2_DISPATCH
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 && g_blocks_may_use_avx2;
#else
    return false;
#endif
}

// Whether the masks below come from SSE2; without it, a pass that needs many of them per block can
// be slower than looking at each character.
#ifdef FOLVANE_HAVE_SSE2
inline constexpr bool kBlockMasksUseSse2 = true;
#else
inline constexpr bool kBlockMasksUseSse2 = false;
#endif

namespace byte_blocks {

// Byte 0 of the text must be the lowest byte of a loaded word.
static_assert(std::endian::native == std::endian::little);

inline constexpr uint64_t kOnes = 0x0101010101010101ull;
inline constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
inline constexpr uint64_t kHigh = 0x8080808080808080ull;

inline uint64_t LoadWord(const unsigned char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

// The high bits of the eight bytes (each 0x80 or 0) as eight bits, byte 0 lowest. The product
// puts byte k's bit at bit 56 + k, and no two partial products meet, so nothing carries.
inline uint64_t GatherHighBits(uint64_t flags) {
    return ((flags >> 7) * 0x0102040810204080ull) >> 56;
}

// 0x80 in every byte of the word that is zero.
inline uint64_t ZeroBytes(uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

#ifdef FOLVANE_HAVE_SSE2
inline uint64_t MaskOf(__m128i flags) {
    return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(flags)));
}
#endif

}  // namespace byte_blocks

// Set bits of a block mask; without a processor instruction for it std::popcount becomes a
// library call per block.
inline size_t CountBits(uint64_t v) {
#if defined(__POPCNT__)
    return static_cast<size_t>(std::popcount(v));
#else
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<size_t>((v * 0x0101010101010101ull) >> 56);
#endif
}

// Code page 936 byte kinds of one block.
struct Cp936Masks {
    uint64_t lead = 0;   // 0x81..0xFE: starts a double-byte character when a second byte follows
    uint64_t trail = 0;  // 0x40..0xFE except 0x7F: can be the second byte of a character
};

// The same as ClassifyCp936Block without SSE2; what it uses where SSE2 is not available.
inline Cp936Masks ClassifyCp936BlockPortable(const unsigned char* block) {
    using namespace byte_blocks;
    Cp936Masks masks;
    for (size_t i = 0; i < kBlockBytes / 8; ++i) {
        uint64_t word = LoadWord(block + 8 * i);
        uint64_t low = word & kLow7;
        uint64_t high = word & kHigh;
        uint64_t from_40 = (low + 0x4040404040404040ull) & kHigh;  // low seven bits >= 0x40
        uint64_t all_ones = (low + kOnes) & kHigh;                 // low seven bits == 0x7F
        uint64_t not_zero = (low + kLow7) & kHigh;                 // low seven bits != 0
        masks.lead |= GatherHighBits(high & not_zero & ~all_ones) << (8 * i);
        masks.trail |= GatherHighBits((high | from_40) & ~all_ones) << (8 * i);
    }
    return masks;
}

inline Cp936Masks ClassifyCp936Block(const unsigned char* block) {
#ifdef FOLVANE_HAVE_SSE2
    using byte_blocks::MaskOf;
    // Signed comparisons: 0x80..0xFE are -128..-2.
    const __m128i minus_one = _mm_set1_epi8(-1);
    const __m128i minus_128 = _mm_set1_epi8(-128);
    const __m128i below_trail = _mm_set1_epi8(0x3F);
    const __m128i del = _mm_set1_epi8(0x7F);
    Cp936Masks masks;
    for (size_t i = 0; i < 4; ++i) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        __m128i high = _mm_cmplt_epi8(v, minus_one);
        __m128i lead = _mm_and_si128(high, _mm_cmpgt_epi8(v, minus_128));
        __m128i ascii_trail = _mm_andnot_si128(_mm_cmpeq_epi8(v, del), _mm_cmpgt_epi8(v, below_trail));
        masks.lead |= MaskOf(lead) << (16 * i);
        masks.trail |= MaskOf(_mm_or_si128(high, ascii_trail)) << (16 * i);
    }
    return masks;
#else
    return ClassifyCp936BlockPortable(block);
#endif
}

// The second bytes of the double-byte characters in a block whose characters are counted from
// its first byte on. `carry` is 1 when the block's byte 0 is the second byte of a character
// that began in the block before (0 otherwise). `open` becomes 1 when byte 63 starts a
// character whose second byte would be the next block's byte 0, if that byte can be one.
inline uint64_t Cp936SecondBytes(const Cp936Masks& masks, uint64_t carry, uint64_t* open) {
    constexpr uint64_t kEvenBits = 0x5555555555555555ull;
    // Within a run of lead bytes the characters pair up from the run's first byte, and every
    // lead byte can also be a second byte. Adding a run's first bit to the run clears exactly
    // the runs that start on an even bit, which tells each run's parity at once.
    uint64_t lead = masks.lead & ~carry;
    uint64_t starts = lead & ~(lead << 1);
    uint64_t from_odd = lead & (lead + (starts & kEvenBits));
    uint64_t from_even = lead & ~from_odd;
    uint64_t second = (from_even & ~kEvenBits) | (from_odd & kEvenBits);
    // Every lead byte that is not a second byte pairs with the byte after it. Inside a run that
    // byte is a second byte already; after a run of odd length it is one if it can be.
    uint64_t firsts = lead & ~second;
    *open = firsts >> 63;
    return carry | second | ((firsts << 1) & masks.trail);
}

// The bytes of a block that lie in kFirst..kLast, which must both be below 0x80 or both above:
// the portable form then only compares the low seven bits, which never carry into the next byte.
template <unsigned char kFirst, unsigned char kLast>
struct ByteRange {
    static_assert(kFirst <= kLast && ((kFirst ^ kLast) & 0x80) == 0);

    static uint64_t Match(const unsigned char* block) {
#ifdef FOLVANE_HAVE_SSE2
        // With the top bit flipped, unsigned order becomes the signed order SSE2 compares in.
        const __m128i flip = _mm_set1_epi8(-128);
        const __m128i first = _mm_set1_epi8(static_cast<char>(kFirst ^ 0x80));
        const __m128i last = _mm_set1_epi8(static_cast<char>(kLast ^ 0x80));
        uint64_t mask = 0;
        for (size_t i = 0; i < 4; ++i) {
            __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i)), flip);
            __m128i outside = _mm_or_si128(_mm_cmplt_epi8(v, first), _mm_cmpgt_epi8(v, last));
            mask |= byte_blocks::MaskOf(outside) << (16 * i);
        }
        return ~mask;
#else
        return MatchPortable(block);
#endif
    }

    static uint64_t MatchPortable(const unsigned char* block) {
        using namespace byte_blocks;
        constexpr uint64_t kFromFirst = kOnes * (0x80 - (kFirst & 0x7F));  // bit 7 set when low7 >= kFirst
        constexpr uint64_t kAboveLast = kOnes * (0x7F - (kLast & 0x7F));   // bit 7 set when low7 > kLast
        uint64_t mask = 0;
        for (size_t i = 0; i < kBlockBytes / 8; ++i) {
            uint64_t word = LoadWord(block + 8 * i);
            uint64_t low = word & kLow7;
            uint64_t half = (kFirst & 0x80) ? word & kHigh : ~word & kHigh;
            uint64_t found = half & (low + kFromFirst) & ~(low + kAboveLast);
            mask |= GatherHighBits(found) << (8 * i);
        }
        return mask;
    }
};

// A fixed set of bytes to look for, such as the line ends.
template <unsigned char... kBytes>
struct ByteSet {
    // Bit i is set when byte i of the 64 bytes at `block` is in the set.
    static uint64_t Match(const unsigned char* block) {
#ifdef FOLVANE_HAVE_SSE2
        uint64_t mask = 0;
        for (size_t i = 0; i < 4; ++i) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
            __m128i found = _mm_setzero_si128();
            ((found = _mm_or_si128(found, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(kBytes))))), ...);
            mask |= byte_blocks::MaskOf(found) << (16 * i);
        }
        return mask;
#else
        return MatchPortable(block);
#endif
    }

    static uint64_t MatchPortable(const unsigned char* block) {
        using namespace byte_blocks;
        uint64_t mask = 0;
        for (size_t i = 0; i < kBlockBytes / 8; ++i) {
            uint64_t word = LoadWord(block + 8 * i);
            uint64_t found = (ZeroBytes(word ^ (kOnes * kBytes)) | ...);
            mask |= GatherHighBits(found) << (8 * i);
        }
        return mask;
    }

    // The same for the first `length` (< 64) bytes.
    static uint64_t MatchPartial(const unsigned char* bytes, size_t length) {
        uint64_t mask = 0;
        for (size_t i = 0; i < length && i < kBlockBytes; ++i) {
            if (((bytes[i] == kBytes) || ...))
                mask |= uint64_t{1} << i;
        }
        return mask;
    }
};
