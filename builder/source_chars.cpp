// Stepping through a source by characters, 64 bytes at a time wherever a block's characters can
// be told from bit masks (see byte_blocks.h); a block that holds anything unusual for its
// encoding is stepped through one character at a time by SourceCharLength.
#include <algorithm>

#include "builder/source_chars.h"

namespace {

// What a block of 64 bytes from a character start holds, when it is plain enough to count with
// masks: its characters (those starting in it) and their bytes, 64 plus the bytes of a last
// character that reaches into the next block.
struct Block {
    bool plain = false;
    size_t chars = 0;
    size_t length = 0;
};

uint64_t AsciiBytes(const unsigned char* p) {
    return ByteRange<0x00, 0x7F>::Match(p);
}

// GB18030 reads like code page 936 up to the first character whose lead byte is followed by a
// digit: a four-byte sequence, or a lead byte standing alone.
Block Gb18030Block(const unsigned char* p) {
    Block block;
    uint64_t firsts = 0;
    uint64_t open = 0;
    const uint64_t second = Cp936SecondsOfBlock(p, &firsts, &open);
    // Only a lead byte that pairs with nothing here can be followed by a digit; there are few.
    for (uint64_t alone = firsts & ~(second >> 1); alone != 0; alone &= alone - 1) {
        const unsigned char next = p[std::countr_zero(alone) + 1];
        if (next >= '0' && next <= '9')
            return block;
    }
    block.length = kBlockBytes;
    if (open && IsCp936SecondByte(p[kBlockBytes]))
        ++block.length;
    block.plain = true;
    block.chars = kBlockBytes - CountBits(second);
    return block;
}

// Without bytes 0x80..0xA0 and 0xFF, Big5's lead bytes are 0xA1..0xFE and its second bytes
// 0x40..0x7E and 0xA1..0xFE, and a block reads exactly as code page 936 would read it.
Block Big5Block(const unsigned char* p) {
    Block block;
    if (ByteRange<0x80, 0xA0>::Match(p) | ByteRange<0xFF, 0xFF>::Match(p))
        return block;
    uint64_t firsts = 0;
    uint64_t open = 0;
    const uint64_t second = Cp936SecondsOfBlock(p, &firsts, &open);
    block.length = kBlockBytes;
    const unsigned char next = p[kBlockBytes];
    if (open && ((next >= 0x40 && next <= 0x7E) || (next >= 0xA1 && next <= 0xFE)))
        ++block.length;
    block.plain = true;
    block.chars = kBlockBytes - CountBits(second);
    return block;
}

// Plain UTF-8: continuation bytes exactly where the lead bytes want them, and no byte that is
// never valid. Of the lead bytes that allow only some second bytes, ED (Hangul) and F0 (emoji,
// rarer CJK characters) are common enough to check here; E0 and F4 are left to SourceCharLength.
Block Utf8Block(const unsigned char* p, size_t pos, size_t size) {
    Block block;
    const uint64_t ascii = AsciiBytes(p);
    if (ascii == ~uint64_t{0}) {
        block = {true, kBlockBytes, kBlockBytes};
        return block;
    }
    const uint64_t follow = ByteRange<0x80, 0xBF>::Match(p);
    const uint64_t lead2 = ByteRange<0xC2, 0xDF>::Match(p);
    const uint64_t lead3 = ByteRange<0xE1, 0xEF>::Match(p);
    const uint64_t lead4 = ByteRange<0xF0, 0xF3>::Match(p);
    if ((ascii | follow | lead2 | lead3 | lead4) != ~uint64_t{0})
        return block;
    // ED A0..BF would be a surrogate, F0 80..8F an overlong form.
    const uint64_t ed = ByteRange<0xED, 0xED>::Match(p);
    const uint64_t f0 = ByteRange<0xF0, 0xF0>::Match(p);
    if ((ed | f0) != 0 &&
        ((ed & (ByteRange<0xA0, 0xBF>::Match(p) >> 1)) | (f0 & (ByteRange<0x80, 0x8F>::Match(p) >> 1))) != 0)
        return block;
    const uint64_t wanted = (lead2 << 1) | (lead3 << 1) | (lead3 << 2) | (lead4 << 1) | (lead4 << 2) | (lead4 << 3);
    if (follow != wanted)
        return block;
    // The last character may reach into the next block: check it as a whole.
    const size_t last = 63 - static_cast<size_t>(std::countl_zero(~follow));
    const size_t last_length = p[last] < 0x80 ? 1 : p[last] < 0xE0 ? 2 : p[last] < 0xF0 ? 3 : 4;
    if (last + last_length > kBlockBytes && Utf8CharLength(p - pos, pos + last, size) != last_length)
        return block;
    block = {true, kBlockBytes - CountBits(follow), std::max(kBlockBytes, last + last_length)};
    return block;
}

// UTF-16 without surrogates: 32 characters.
template <bool kBigEndian>
Block Utf16Block(const unsigned char* p) {
    constexpr uint64_t kHighBytes = kBigEndian ? 0x5555555555555555ull : 0xAAAAAAAAAAAAAAAAull;
    if (ByteRange<0xD8, 0xDF>::Match(p) & kHighBytes)
        return Block{};
    return Block{true, kBlockBytes / 2, kBlockBytes};
}

template <SourceEncoding kEncoding>
Block PlainBlock(const unsigned char* bytes, size_t pos, size_t size) {
    const unsigned char* p = bytes + pos;
    if constexpr (kEncoding == SourceEncoding::kGb18030)
        return Gb18030Block(p);
    else if constexpr (kEncoding == SourceEncoding::kBig5)
        return Big5Block(p);
    else if constexpr (kEncoding == SourceEncoding::kUtf8)
        return Utf8Block(p, pos, size);
    else
        return Utf16Block<kEncoding == SourceEncoding::kUtf16Be>(p);
}

// Without SSE2 the eight masks of a UTF-8 block cost more than stepping through it.
template <SourceEncoding kEncoding>
constexpr bool kStepsByBlocks = kEncoding != SourceEncoding::kUtf8 || kBlockMasksUseSse2;

template <SourceEncoding kEncoding>
size_t Advance(const unsigned char* bytes, size_t size, size_t pos, size_t chars, size_t* passed) {
    size_t count = 0;
    while (count < chars && pos < size) {
        if (kStepsByBlocks<kEncoding> && size - pos >= kBlockRoom) {
            const Block block = PlainBlock<kEncoding>(bytes, pos, size);
            if (block.plain && block.chars < chars - count) {
                count += block.chars;
                pos += block.length;
                continue;
            }
        }
        // A block with something unusual in it, the block where the count ends, or the last bytes.
        const size_t end = std::min(size, pos + kBlockBytes);
        while (count < chars && pos < end) {
            pos += SourceCharLength(bytes, pos, size, kEncoding);
            ++count;
        }
    }
    if (passed)
        *passed = count;
    return pos;
}

}  // namespace

size_t AdvanceSourceChars(std::string_view text, size_t pos, size_t chars, SourceEncoding encoding, size_t* passed) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return Advance<SourceEncoding::kGb18030>(bytes, size, pos, chars, passed);
        case SourceEncoding::kBig5:
            return Advance<SourceEncoding::kBig5>(bytes, size, pos, chars, passed);
        case SourceEncoding::kUtf8:
            return Advance<SourceEncoding::kUtf8>(bytes, size, pos, chars, passed);
        case SourceEncoding::kUtf16Le:
            return Advance<SourceEncoding::kUtf16Le>(bytes, size, pos, chars, passed);
        case SourceEncoding::kUtf16Be:
            break;
    }
    return Advance<SourceEncoding::kUtf16Be>(bytes, size, pos, chars, passed);
}

bool HasGb18030FourByteChars(std::string_view text) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t pos = 0;
    while (pos < size) {
        if (size - pos >= kBlockRoom) {
            const Block block = Gb18030Block(bytes + pos);
            if (block.plain) {
                pos += block.length;
                continue;
            }
        }
        const size_t end = std::min(size, pos + kBlockBytes);
        while (pos < end) {
            const size_t length = CodePageCharLength(bytes, pos, size, CodePage::kGb18030);
            if (length == 4)
                return true;
            pos += length;
        }
    }
    return false;
}
