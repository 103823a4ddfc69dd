// A strict LZX decoder for tests only, written apart from the encoder: it reads a CHM content
// section's stream the way the readers do (each frame from its reset-table offset) and refuses
// anything a real reader could stumble on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lzx_test {

struct StreamLayout {
    int window_bits = 16;
    int frames_per_reset = 2;
    uint64_t length = 0;          // real uncompressed bytes
    bool padded = true;  // zero bytes fill the stream up to the end of the last reset interval
};

struct Decoded {
    bool ok = false;
    std::string error;  // what was wrong, with the frame number
    std::string data;
};

// Decodes from frame `first_frame` (a multiple of frames_per_reset) to the end.
Decoded DecodeFrames(std::string_view stream,
                     const std::vector<uint64_t>& frame_offsets,
                     const StreamLayout& layout,
                     size_t first_frame = 0);

}  // namespace lzx_test
