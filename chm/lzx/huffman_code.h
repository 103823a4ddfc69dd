// Length-limited canonical Huffman codes as LZX trees use them.
#pragma once

#include <cstdint>
#include <span>

namespace lzx {

// Optimal code lengths for `freqs`, none longer than `max_length` (package-merge). The code is always
// complete and has at least two symbols: decoders such as libmspack reject a tree with free code
// space, so an unused or one-symbol alphabet gets symbols 0/1 (or its symbol and a partner) at length 1.
void BuildCodeLengths(std::span<const uint32_t> freqs, int max_length, std::span<uint8_t> lengths);

// Canonical codes: shorter codes first, equal lengths in symbol order (what LZX decoders rebuild).
void BuildCanonicalCodes(std::span<const uint8_t> lengths, std::span<uint16_t> codes);

}  // namespace lzx
