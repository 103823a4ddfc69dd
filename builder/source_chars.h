// What one character of a source is, byte by byte, in each source encoding: the one definition
// that stepping, decoding and detection share, so that they always agree on where characters
// begin.
#pragma once

#include <cstddef>
#include <string_view>

#include "builder/byte_blocks.h"
#include "builder/char_lengths.h"
#include "builder/codepages.h"
#include "builder/source_encoding.h"

// UTF-16: 4 for a surrogate pair, 1 for an odd last byte, 2 otherwise (an unpaired surrogate too).
template <bool kBigEndian>
inline char16_t Utf16UnitAt(const unsigned char* bytes, size_t pos) {
    return kBigEndian ? static_cast<char16_t>(bytes[pos] << 8 | bytes[pos + 1])
                      : static_cast<char16_t>(bytes[pos + 1] << 8 | bytes[pos]);
}
template <bool kBigEndian>
inline size_t Utf16CharLength(const unsigned char* bytes, size_t pos, size_t size) {
    if (pos + 1 >= size)
        return 1;
    const char16_t unit = Utf16UnitAt<kBigEndian>(bytes, pos);
    if (unit < 0xD800 || unit > 0xDBFF || pos + 3 >= size)
        return 2;
    const char16_t next = Utf16UnitAt<kBigEndian>(bytes, pos + 2);
    return (next >= 0xDC00 && next <= 0xDFFF) ? 4 : 2;
}

inline size_t SourceCharLength(const unsigned char* bytes, size_t pos, size_t size, SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return CodePageCharLength(bytes, pos, size, CodePage::kGb18030);
        case SourceEncoding::kBig5:
            return CodePageCharLength(bytes, pos, size, CodePage::kBig5);
        case SourceEncoding::kUtf8:
            return Utf8CharLength(bytes, pos, size);
        case SourceEncoding::kUtf16Le:
            return Utf16CharLength<false>(bytes, pos, size);
        case SourceEncoding::kUtf16Be:
            return Utf16CharLength<true>(bytes, pos, size);
    }
    return 1;
}

// Blocks of 64 bytes (byte_blocks.h) read from a character start: a block may look at the bytes
// of a last character that reaches into the next block.
inline constexpr size_t kBlockRoom = kBlockBytes + 4;

inline bool IsCp936SecondByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// Double-byte text read by the code page 936 rule from a character start: returns the second
// bytes of its characters, and sets `firsts` to the lead bytes that start characters and `open`
// when byte 63 is one of them.
inline uint64_t Cp936SecondsOfBlock(const unsigned char* p, uint64_t* firsts, uint64_t* open) {
    const Cp936Masks masks = ClassifyCp936Block(p);
    const uint64_t second = Cp936SecondBytes(masks, 0, open);
    *firsts = masks.lead & ~second;
    return second;
}

// True when GB18030 text holds a four-byte sequence.
bool HasGb18030FourByteChars(std::string_view bytes);
