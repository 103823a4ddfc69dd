// Lengths the converters and the detection step by: a run of ASCII bytes, one UTF-8 character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Length of the run of ASCII bytes from `pos`, eight bytes at a time.
inline size_t AsciiRunLength(const unsigned char* bytes, size_t pos, size_t size) {
    size_t end = pos;
    while (end + 8 <= size) {
        uint64_t word;
        std::memcpy(&word, bytes + end, 8);
        if (word & 0x8080808080808080ull)
            break;
        end += 8;
    }
    while (end < size && bytes[end] < 0x80)
        ++end;
    return end - pos;
}

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
