// Writes one LZX block: picks verbatim, aligned-offset or uncompressed by its exact size in bits,
// builds the trees from the block's own frequencies and keeps the lengths the decoder will hold.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "chm/lzx/bit_writer.h"
#include "chm/lzx/lz_parser.h"
#include "chm/lzx/lzx_format.h"

namespace lzx {

struct BlockContents {
    std::span<const Token> tokens;
    // Token counts at which each frame of the block ends; the last equals tokens.size().
    std::span<const size_t> frame_ends;
    // The block's bytes (frames of kLzxFrameSize, the last possibly padded), for an uncompressed block.
    std::string_view bytes;
    // R0..R2 once the block's tokens are decoded: an uncompressed block hands them to the decoder.
    std::array<uint32_t, 3> reps_after;
};

class BlockEncoder {
  public:
    explicit BlockEncoder(int window_bits);

    // A reset interval begins: the decoder's lengths are zero again.
    void Reset();
    // Writes the block and pads every frame's end to a word boundary; returns the writer's byte counts
    // at which the block's second and later frames start.
    std::vector<size_t> Encode(const BlockContents& block, BitWriter& out);
    // An uncompressed block of `bytes` (no tokens needed).
    std::vector<size_t> EncodeStored(std::string_view bytes, const std::array<uint32_t, 3>& reps, BitWriter& out);
    // Costs measured on the last block, for the parser's next choices.
    const Prices& LastPrices() const { return prices_; }

  private:
    int main_symbols_;
    std::array<uint8_t, kMaxMainSymbols> main_previous_{};
    std::array<uint8_t, kLengthSymbols> length_previous_{};
    Prices prices_;
};

}  // namespace lzx
