// Telling when a source's bytes already are the code page 936 text that converting them would
// give, so that they can be written as they are.
#include <bit>
#include <string_view>
#include <vector>

#include "builder/source_chars.h"

namespace {

// Whether GB18030 reads a byte 0x80..0xFF, or a byte pair, as a character that code page 936
// writes with the same bytes.
struct Cp936Alike {
    bool single[128] = {};
    std::vector<uint64_t> pairs = std::vector<uint64_t>((CodePageTable::kPairs + 63) / 64, 0);
    // Whether the rows most text is written in are alike throughout (see InCommonRows).
    bool common_rows = false;

    bool Pair(unsigned char first, unsigned char second) const {
        const size_t index = CodePageTable::PairIndex(first, second);
        return (pairs[index / 64] >> (index % 64)) & 1;
    }
};

// GB2312's hanzi and the punctuation rows A1 and A3, with second bytes A1..FE.
bool InCommonRows(unsigned first, unsigned second) {
    if (second < 0xA1 || second > 0xFE)
        return false;
    return first == 0xA1 || first == 0xA3 || (first >= 0xB0 && first <= 0xF7 && !(first == 0xD7 && second >= 0xFA));
}

Cp936Alike BuildCp936Alike() {
    const CodePageTable& gb18030 = GetCodePageTable(CodePage::kGb18030);
    Cp936Alike alike;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const char32_t c = gb18030.single[b - 0x80];
        alike.single[b - 0x80] = c != 0 && Cp936CodeFor(c) == b;
    }
    bool common_rows = true;
    for (unsigned first = 0x81; first <= 0xFE; ++first) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            const size_t index = CodePageTable::PairIndex(first, second);
            const char32_t c = gb18030.pairs[index];
            const bool same = c != 0 && Cp936CodeFor(c) == (first << 8 | second);
            alike.pairs[index / 64] |= static_cast<uint64_t>(same) << (index % 64);
            if (!same && InCommonRows(first, second))
                common_rows = false;
        }
    }
    alike.common_rows = common_rows;
    return alike;
}

const Cp936Alike& GetCp936Alike() {
    static const Cp936Alike alike = BuildCp936Alike();
    return alike;
}

// What CheckBlock needs to know of a block's bytes.
struct AlikeMasks {
    uint64_t high = 0;  // 0x80..0xFF
    Cp936Masks cp936;   // lead and trail bytes
    // Bytes that, with the byte after them as the second byte, make a pair of the common rows:
    // GB2312's hanzi and rows A1 and A3 with second bytes A1..FE, except D7 FA..FE.
    uint64_t common = 0;
};

inline AlikeMasks ClassifyAlikeBlock(const unsigned char* p) {
    AlikeMasks masks;
#ifdef FOLVANE_HAVE_SSE2
    using byte_blocks::MaskOf;
    // Signed comparisons of the bytes with their top bit flipped follow unsigned order.
    const __m128i flip = _mm_set1_epi8(-128);
    auto flipped = [&](unsigned char b) { return _mm_set1_epi8(static_cast<char>(b ^ 0x80)); };
    for (size_t i = 0; i < 4; ++i) {
        const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i next = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + 1)), flip);
        const __m128i v = _mm_xor_si128(raw, flip);
        // Flipped, 0x81..0xFE are 0x01..0x7E and 0x40..0x7E are -0x40..-0x02.
        const __m128i below_ff = _mm_cmplt_epi8(v, flipped(0xFF));
        const __m128i lead = _mm_and_si128(_mm_cmpgt_epi8(v, flipped(0x80)), below_ff);
        const __m128i trail =
            _mm_or_si128(_mm_and_si128(_mm_cmpgt_epi8(v, flipped(0x7F)), below_ff),
                         _mm_and_si128(_mm_cmpgt_epi8(v, flipped(0x3F)), _mm_cmplt_epi8(v, flipped(0x7F))));
        const __m128i hanzi = _mm_and_si128(_mm_cmpgt_epi8(v, flipped(0xAF)), _mm_cmplt_epi8(v, flipped(0xF8)));
        const __m128i a1_a3 =
            _mm_cmpeq_epi8(_mm_or_si128(raw, _mm_set1_epi8(2)), _mm_set1_epi8(static_cast<char>(0xA3)));
        const __m128i d7_tail = _mm_and_si128(_mm_cmpeq_epi8(raw, _mm_set1_epi8(static_cast<char>(0xD7))),
                                              _mm_cmpgt_epi8(next, flipped(0xF9)));
        const __m128i common =
            _mm_andnot_si128(d7_tail, _mm_and_si128(_mm_or_si128(hanzi, a1_a3), _mm_cmpgt_epi8(next, flipped(0xA0))));
        masks.high |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(raw))) << (16 * i);
        masks.cp936.lead |= MaskOf(lead) << (16 * i);
        masks.cp936.trail |= MaskOf(trail) << (16 * i);
        masks.common |= MaskOf(common) << (16 * i);
    }
#else
    masks.high = ~ByteRange<0x00, 0x7F>::Match(p);
    masks.cp936 = ClassifyCp936Block(p);
    const uint64_t row =
        ByteRange<0xB0, 0xF7>::Match(p) | ByteRange<0xA1, 0xA1>::Match(p) | ByteRange<0xA3, 0xA3>::Match(p);
    const uint64_t row_second = ByteRange<0xA1, 0xFE>::Match(p + 1);
    const uint64_t d7_tail = ByteRange<0xD7, 0xD7>::Match(p) & ByteRange<0xFA, 0xFE>::Match(p + 1);
    masks.common = row & row_second & ~d7_tail;
#endif
    return masks;
}

#ifdef FOLVANE_HAVE_AVX2_DISPATCH
// The same with 32-byte vectors, on processors that have AVX2.
[[gnu::target("avx2")]] inline uint64_t MaskOf32(__m256i flags) {
    return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(flags)));
}

[[gnu::target("avx2")]] inline AlikeMasks ClassifyAlikeBlockAvx2(const unsigned char* p) {
    // The bytes with their top bit flipped, compared signed, as in ClassifyAlikeBlock.
    const __m256i flip = _mm256_set1_epi8(-128);
    const __m256i below_lead = _mm256_set1_epi8(0x80 ^ 0x80);
    const __m256i ff = _mm256_set1_epi8(static_cast<char>(0xFF ^ 0x80));
    const __m256i below_high = _mm256_set1_epi8(static_cast<char>(0x7F ^ 0x80));
    const __m256i below_trail = _mm256_set1_epi8(static_cast<char>(0x3F ^ 0x80));
    const __m256i below_hanzi = _mm256_set1_epi8(static_cast<char>(0xAF ^ 0x80));
    const __m256i after_hanzi = _mm256_set1_epi8(static_cast<char>(0xF8 ^ 0x80));
    const __m256i below_a1 = _mm256_set1_epi8(static_cast<char>(0xA0 ^ 0x80));
    const __m256i below_fa = _mm256_set1_epi8(static_cast<char>(0xF9 ^ 0x80));
    AlikeMasks masks;
    for (size_t i = 0; i < 2; ++i) {
        const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * i));
        const __m256i next =
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * i + 1)), flip);
        const __m256i v = _mm256_xor_si256(raw, flip);
        const __m256i below_ff = _mm256_cmpgt_epi8(ff, v);
        const __m256i lead = _mm256_and_si256(_mm256_cmpgt_epi8(v, below_lead), below_ff);
        const __m256i trail =
            _mm256_or_si256(_mm256_and_si256(_mm256_cmpgt_epi8(v, below_high), below_ff),
                            _mm256_and_si256(_mm256_cmpgt_epi8(v, below_trail), _mm256_cmpgt_epi8(below_high, v)));
        const __m256i hanzi = _mm256_and_si256(_mm256_cmpgt_epi8(v, below_hanzi), _mm256_cmpgt_epi8(after_hanzi, v));
        const __m256i a1_a3 =
            _mm256_cmpeq_epi8(_mm256_or_si256(raw, _mm256_set1_epi8(2)), _mm256_set1_epi8(static_cast<char>(0xA3)));
        const __m256i d7_tail = _mm256_and_si256(_mm256_cmpeq_epi8(raw, _mm256_set1_epi8(static_cast<char>(0xD7))),
                                                 _mm256_cmpgt_epi8(next, below_fa));
        const __m256i common = _mm256_andnot_si256(
            d7_tail, _mm256_and_si256(_mm256_or_si256(hanzi, a1_a3), _mm256_cmpgt_epi8(next, below_a1)));
        masks.high |= MaskOf32(raw) << (32 * i);
        masks.cp936.lead |= MaskOf32(lead) << (32 * i);
        masks.cp936.trail |= MaskOf32(trail) << (32 * i);
        masks.common |= MaskOf32(common) << (32 * i);
    }
    return masks;
}
#endif

enum class Verdict { kAlike, kDifferent, kLookCloser };

// Without SSE2 the masks cost more than looking at each character.
constexpr bool kUseBlocks = kBlockMasksUseSse2;

// One block of 64 bytes from a character start: whether its characters are alike, and when they
// are, how many start in it and how long it is (65 when its last character reaches into the
// next block). The characters of the common rows are told by masks; the rest are looked up one
// by one.
template <AlikeMasks (*kClassify)(const unsigned char*)>
inline Verdict CheckBlock(const unsigned char* p, const Cp936Alike& alike, size_t* chars, size_t* length) {
    *length = kBlockBytes;
    *chars = kBlockBytes;
    const AlikeMasks masks = kClassify(p);
    const uint64_t high = masks.high;
    if (high == 0)
        return Verdict::kAlike;
    uint64_t open = 0;
    const uint64_t second = Cp936SecondBytes(masks.cp936, 0, &open);
    const uint64_t firsts = masks.cp936.lead & ~second;
    // A lead byte without a second byte stands alone or starts a four-byte sequence.
    const uint64_t paired = firsts & (second >> 1);
    if (firsts & ~paired & ~(uint64_t{1} << 63))
        return Verdict::kDifferent;
    if (high & ~(firsts | second))
        return Verdict::kLookCloser;  // 0x80 or 0xFF on its own
    uint64_t check = paired;
    if (alike.common_rows)
        check &= ~masks.common;
    for (; check != 0; check &= check - 1) {
        const size_t i = static_cast<size_t>(std::countr_zero(check));
        if (!alike.Pair(p[i], p[i + 1]))
            return Verdict::kDifferent;
    }
    if (open) {
        const unsigned char next = p[kBlockBytes];
        if (!IsCp936SecondByte(next) || !alike.Pair(p[kBlockBytes - 1], next))
            return Verdict::kDifferent;
        ++*length;
    }
    *chars = kBlockBytes - CountBits(second);
    return Verdict::kAlike;
}

// Whether one character of GB18030 text, `length` bytes at `p`, is alike in code page 936.
bool CharAlike(const unsigned char* p, size_t length, const Cp936Alike& alike) {
    if (p[0] < 0x80)
        return true;
    return length == 1 ? alike.single[p[0] - 0x80] : length == 2 && alike.Pair(p[0], p[1]);
}

// Up to `chars` characters of GB18030 text from its start, as AdvanceSourceChars steps, and
// whether they are all alike; once one is not, the rest is only stepped through.
template <AlikeMasks (*kClassify)(const unsigned char*)>
inline size_t AdvanceGb18030AlikeWith(std::string_view text, size_t chars, size_t* passed, bool* all_alike) {
    const Cp936Alike& alike = GetCp936Alike();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t pos = 0;
    size_t count = 0;
    *all_alike = true;
    while (count < chars && pos < size) {
        if (kUseBlocks && size - pos >= kBlockRoom) {
            size_t block_chars = 0;
            size_t length = 0;
            if (CheckBlock<kClassify>(bytes + pos, alike, &block_chars, &length) == Verdict::kAlike &&
                block_chars < chars - count) {
                count += block_chars;
                pos += length;
                continue;
            }
        }
        // A block with something unusual in it, the block where the count ends, or the last bytes.
        const size_t end = std::min(size, pos + kBlockBytes);
        while (count < chars && pos < end) {
            const size_t length = CodePageCharLength(bytes, pos, size, CodePage::kGb18030);
            if (!CharAlike(bytes + pos, length, alike)) {
                *all_alike = false;
                size_t rest = 0;
                pos = AdvanceSourceChars(text, pos, chars - count, SourceEncoding::kGb18030, &rest);
                *passed = count + rest;
                return pos;
            }
            pos += length;
            ++count;
        }
    }
    *passed = count;
    return pos;
}

#ifdef FOLVANE_HAVE_AVX2_DISPATCH
[[gnu::target("avx2"), gnu::flatten]] size_t AdvanceGb18030AlikeAvx2(std::string_view text,
                                                                     size_t chars,
                                                                     size_t* passed,
                                                                     bool* all_alike) {
    return AdvanceGb18030AlikeWith<ClassifyAlikeBlockAvx2>(text, chars, passed, all_alike);
}
#endif

size_t AdvanceGb18030Alike(std::string_view text, size_t chars, size_t* passed, bool* all_alike) {
#ifdef FOLVANE_HAVE_AVX2_DISPATCH
    if (BlocksUseAvx2())
        return AdvanceGb18030AlikeAvx2(text, chars, passed, all_alike);
#endif
    return AdvanceGb18030AlikeWith<ClassifyAlikeBlock>(text, chars, passed, all_alike);
}

bool IsAscii(std::string_view text) {
    return AsciiRunLength(reinterpret_cast<const unsigned char*>(text.data()), 0, text.size()) == text.size();
}

}  // namespace

size_t AdvanceWritableChars(std::string_view bytes,
                            size_t chars,
                            SourceEncoding encoding,
                            size_t* passed,
                            bool* writable) {
    size_t count = 0;
    size_t end = 0;
    if (encoding == SourceEncoding::kGb18030) {
        end = AdvanceGb18030Alike(bytes, chars, &count, writable);
    } else {
        end = AdvanceSourceChars(bytes, 0, chars, encoding, &count);
        *writable = WritableAsCp936(bytes.substr(0, end), encoding);
    }
    if (passed)
        *passed = count;
    return end;
}

bool WritableAsCp936(std::string_view bytes, SourceEncoding encoding) {
    bool writable = false;
    size_t chars = 0;
    switch (encoding) {
        case SourceEncoding::kGb18030:
            AdvanceGb18030Alike(bytes, bytes.size(), &chars, &writable);
            return writable;
        case SourceEncoding::kBig5:
        case SourceEncoding::kUtf8:
            // Other characters than ASCII could only match code page 936 by chance.
            return IsAscii(bytes);
        case SourceEncoding::kUtf16Le:
        case SourceEncoding::kUtf16Be:
            break;
    }
    return bytes.empty();
}
