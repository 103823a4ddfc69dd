// A strict LZX decoder for tests only, written apart from the encoder: it reads a CHM content
// section's stream from a reset point to its end, checks that every frame starts where the reset
// table says (where chmlib and 7-Zip start reading it), and refuses anything a real reader could
// stumble on: matches across frames, trees with free code space, blocks across resets, stray bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lzx_test {

struct StreamLayout {
    int window_bits = 16;
    int frames_per_reset = 2;
    uint64_t length = 0;  // real uncompressed bytes
    // Zeros fill the last frame, and a whole frame of them follows data that ends on a frame boundary
    // inside a reset interval.
    bool padded = true;
};

struct Decoded {
    bool ok = false;
    std::string error;  // what was wrong, with the frame number
    std::string data;
};

// Decodes from frame `first_frame` (a multiple of frames_per_reset) to the end; `data` is the real bytes.
Decoded DecodeFrames(std::string_view stream,
                     const std::vector<uint64_t>& frame_offsets,
                     const StreamLayout& layout,
                     size_t first_frame = 0);

}  // namespace lzx_test
