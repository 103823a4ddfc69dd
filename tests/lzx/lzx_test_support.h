// Compressing in tests: collects the stream, its frame offsets and sizes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chm/lzx/lzx_compressor.h"
#include "tests/lzx/lzx_test_decoder.h"

namespace lzx_test {

struct Stream {
    std::string bytes;
    std::vector<uint64_t> frame_offsets;
    uint64_t uncompressed = 0;
    uint64_t compressed = 0;
    StreamLayout layout;
};

// Feeds `input` in pieces of `piece` bytes (all at once when 0).
Stream Compress(std::string_view input, const lzx::LzxSettings& settings, size_t piece = 0);

// Bytes that no compressor can shrink, the same for a seed on every machine.
std::string NoiseBytes(size_t count, uint64_t seed);

// Copies of earlier pieces at a few recurring distances, with small edits between them: the data
// that makes an encoder use its repeated offsets R0, R1 and R2 in every order.
std::string EditedCopies(size_t count, uint64_t seed);

}  // namespace lzx_test
