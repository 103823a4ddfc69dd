// Constants and offset arithmetic of the LZX format, shared by the encoder's units.
#pragma once

#include <bit>
#include <cstdint>

namespace lzx {

inline constexpr int kMinMatch = 2;
inline constexpr int kMaxMatch = 257;
inline constexpr int kNumChars = 256;
// A main symbol carries match lengths 2..8 itself; 7 in its low bits means "length tree follows".
inline constexpr int kNumPrimaryLengths = 7;
inline constexpr int kLengthSymbols = 249;
inline constexpr int kPretreeSymbols = 20;
inline constexpr int kAlignedSymbols = 8;
inline constexpr int kMaxPositionSlots = 50;
inline constexpr int kMaxMainSymbols = kNumChars + 8 * kMaxPositionSlots;
// Code length limits: the pretree codes lengths 0..16, the pretree's own lengths are 4-bit fields,
// the aligned tree's 3-bit fields.
inline constexpr int kMaxCodeLength = 16;
inline constexpr int kMaxPretreeLength = 15;
inline constexpr int kMaxAlignedLength = 7;

enum BlockType : uint32_t { kVerbatimBlock = 1, kAlignedBlock = 2, kUncompressedBlock = 3 };

// Slots needed to reach every offset of a 2^window_bits window.
inline constexpr int PositionSlots(int window_bits) {
    constexpr int kSlots[] = {30, 32, 34, 36, 38, 42, 50};
    return kSlots[window_bits - 15];
}

inline constexpr int MainSymbols(int window_bits) {
    return kNumChars + 8 * PositionSlots(window_bits);
}

// Slots 0..2 stand for the repeated offsets R0..R2; from slot 4 on, two slots per power of two, up to
// 17 footer bits from slot 36 on.
inline constexpr int FooterBits(int slot) {
    if (slot < 4) {
        return 0;
    }
    return slot < 36 ? slot / 2 - 1 : 17;
}

inline constexpr uint32_t PositionBase(int slot) {
    if (slot < 4) {
        return static_cast<uint32_t>(slot);
    }
    if (slot < 36) {
        const int bits = slot / 2 - 1;
        return static_cast<uint32_t>(2 + (slot & 1)) << bits;
    }
    return static_cast<uint32_t>(slot - 34) << 17;
}

// The slot of a formatted offset (match distance + 2, so at least 3).
inline constexpr int SlotOf(uint32_t formatted) {
    if (formatted < 4) {
        return static_cast<int>(formatted);
    }
    if (formatted >= (2u << 17)) {
        return 34 + static_cast<int>(formatted >> 17);
    }
    const int top = std::bit_width(formatted) - 1;
    return 2 * top + static_cast<int>((formatted >> (top - 1)) & 1);
}

// The farthest a match may reach back in a 2^window_bits window.
inline constexpr uint32_t MaxMatchDistance(int window_bits) {
    return (1u << window_bits) - 3;
}

}  // namespace lzx
