// The length of one UTF-8 character, by the same rules as NextCodePoint (unicode_text.h).
#pragma once

#include <cstddef>

// Byte length of a valid UTF-8 sequence at `pos` by the rules of NextCodePoint (no overlong
// forms, no surrogates, nothing above U+10FFFF); 1 for a byte that starts none.
inline size_t Utf8CharLength(const unsigned char* bytes, size_t pos, size_t size) {
    const unsigned lead = bytes[pos];
    if (lead < 0xC2 || lead > 0xF4)
        return 1;
    auto follows = [&](size_t i, unsigned low, unsigned high) {
        return pos + i < size && bytes[pos + i] >= low && bytes[pos + i] <= high;
    };
    if (lead < 0xE0)
        return follows(1, 0x80, 0xBF) ? 2 : 1;
    if (lead < 0xF0) {
        const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : 0xBF;
        return follows(1, low, high) && follows(2, 0x80, 0xBF) ? 3 : 1;
    }
    const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
    return follows(1, low, high) && follows(2, 0x80, 0xBF) && follows(3, 0x80, 0xBF) ? 4 : 1;
}
