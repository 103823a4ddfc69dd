// Code lengths of a main or length tree as LZX sends them: differences from the lengths the decoder
// holds from the block before (zero after a reset), coded with a 20-symbol pretree.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "chm/lzx/bit_writer.h"
#include "chm/lzx/lzx_format.h"

namespace lzx {

class TreeDeltas {
  public:
    // `lengths` and `previous` cover the same run of symbols.
    TreeDeltas(std::span<const uint8_t> lengths, std::span<const uint8_t> previous);

    uint32_t Bits() const { return bits_; }
    void Write(BitWriter& out) const;

  private:
    struct Item {
        uint8_t symbol;      // 0..16 a difference; 17, 18 runs of zeros; 19 a run of one length
        uint8_t extra_bits;  // run length bits after the symbol
        uint8_t extra;
        uint8_t run_symbol;  // for 19: the difference symbol that follows
    };

    std::vector<Item> items_;
    std::array<uint8_t, kPretreeSymbols> pretree_lengths_{};
    std::array<uint16_t, kPretreeSymbols> pretree_codes_{};
    uint32_t bits_ = 0;
};

}  // namespace lzx
