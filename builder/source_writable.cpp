// Telling when a source's bytes already are the code page 936 text that converting them would
// give, so that they can be written as they are.
#include <bit>
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

enum class Verdict { kAlike, kDifferent, kLookCloser };

// Without SSE2 the masks cost more than looking at each character.
constexpr bool kUseBlocks = kBlockMasksUseSse2;

// One block of 64 bytes from a character start. The characters of the common rows are told by
// masks; the rest are looked up one by one.
Verdict CheckBlock(const unsigned char* p, const Cp936Alike& alike, size_t* length) {
    *length = kBlockBytes;
    const uint64_t high = ~ByteRange<0x00, 0x7F>::Match(p);
    if (high == 0)
        return Verdict::kAlike;
    uint64_t firsts = 0;
    uint64_t open = 0;
    const uint64_t second = Cp936SecondsOfBlock(p, &firsts, &open);
    // A lead byte without a second byte stands alone or starts a four-byte sequence.
    const uint64_t paired = firsts & (second >> 1);
    if (firsts & ~paired & ~(uint64_t{1} << 63))
        return Verdict::kDifferent;
    if (high & ~(firsts | second))
        return Verdict::kLookCloser;  // 0x80 or 0xFF on its own
    uint64_t check = paired;
    if (alike.common_rows) {
        const uint64_t row =
            ByteRange<0xB0, 0xF7>::Match(p) | ByteRange<0xA1, 0xA1>::Match(p) | ByteRange<0xA3, 0xA3>::Match(p);
        const uint64_t row_second = ByteRange<0xA1, 0xFE>::Match(p) >> 1;
        const uint64_t d7_tail = ByteRange<0xD7, 0xD7>::Match(p) & (ByteRange<0xFA, 0xFE>::Match(p) >> 1);
        check &= ~(row & row_second & ~d7_tail);
    }
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
    return Verdict::kAlike;
}

bool Gb18030WritableAsCp936(std::string_view text) {
    static const Cp936Alike alike = BuildCp936Alike();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t pos = 0;
    while (pos < size) {
        if (kUseBlocks && size - pos >= kBlockRoom) {
            size_t length = 0;
            const Verdict verdict = CheckBlock(bytes + pos, alike, &length);
            if (verdict == Verdict::kDifferent)
                return false;
            if (verdict == Verdict::kAlike) {
                pos += length;
                continue;
            }
        }
        const size_t end = kUseBlocks ? std::min(size, pos + kBlockBytes) : size;
        while (pos < end) {
            const unsigned char b = bytes[pos];
            if (b < 0x80) {
                pos += AsciiRunLength(bytes, pos, size);
                continue;
            }
            const size_t length = CodePageCharLength(bytes, pos, size, CodePage::kGb18030);
            if (length == 1 ? !alike.single[b - 0x80] : length != 2 || !alike.Pair(b, bytes[pos + 1]))
                return false;
            pos += length;
        }
    }
    return true;
}

bool IsAscii(std::string_view text) {
    return AsciiRunLength(reinterpret_cast<const unsigned char*>(text.data()), 0, text.size()) == text.size();
}

}  // namespace

bool WritableAsCp936(std::string_view bytes, SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return Gb18030WritableAsCp936(bytes);
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
