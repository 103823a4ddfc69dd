// LZX compression of a CHM content section.
//
// How CHM readers take the stream apart, and what this compressor therefore guarantees:
// - The stream is cut into frames of 0x8000 uncompressed bytes. Every frame's output ends on a 16-bit
//   boundary (zero bits pad the last word), and FrameOffsets() lists where each frame starts: these are
//   the entries of the CHM reset table (one per frame, not one per reset). After Finish() it holds
//   UncompressedBytes() / 0x8000 + 1 entries, the count 7-Zip insists on: every frame that starts before
//   the end of the data, plus, when the data ends exactly on a frame boundary, the frame starting
//   there (the offset of the padding that follows, or the stream's end). Empty input gives {0}.
// - Every `frames_per_reset` frames the state is reset: the first frame of each reset interval starts
//   with the one-bit header (0: no E8 call translation), repeated offsets are 1, 1, 1, the previous
//   code lengths are zero, and no match reaches back before the interval. A reader can therefore start
//   decoding at any frame whose index is a multiple of frames_per_reset.
// - Blocks never cross a reset boundary; a block may span several frames inside one interval.
// - No match crosses a frame boundary (libmspack rejects that, chmlib and 7-Zip would lose the frame).
// - Readers decode whole frames: chmlib asks for 0x8000 bytes of every frame, the last one too, and
//   libmspack rounds the section's length up to a whole reset interval. So (when `pad_last_frame` is
//   set) zero bytes fill the last frame to 0x8000 bytes, and data that ends on a frame boundary inside a
//   reset interval gets one more frame of zeros. Nothing more: chmlib reads everything after the last
//   table entry into a buffer of 0x8000 + 6144 bytes. No match crosses the end of the real data, so a
//   reader that stops at the real length (7-Zip) ends on a symbol boundary.
//   UncompressedBytes() is the real length: that is what the reset table and the section's span record.
// - 7-Zip reads the LZXC control data only when the reset interval and the window, in frames, are
//   powers of two: keep frames_per_reset a power of two. chmlib counts frames per reset as
//   resetInterval / (windowSize / 2) * windowsPerReset, so the control data needs windowsPerReset =
//   WindowFrames() / 2 (1 for the default 64 KB window) and frames_per_reset a multiple of that; a
//   32 KB window cannot be described to it. The defaults (64 KB window, 2 frames) suit every reader.
// - Empty input makes no output.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace lzx {

// Receives compressed bytes as they are produced.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void Put(std::string_view bytes) = 0;
};

// LZX compression as a CHM content section stores it: the input is cut into frames of 0x8000 bytes; the
// compressor's state is reset every `frames_per_reset` frames; the output of every frame starts on a byte
// boundary so that the reset table can point at it.
struct LzxSettings {
    int window_bits = 16;      // 15..21: the window is 2^window_bits bytes
    int frames_per_reset = 2;  // the reset interval, in frames
    bool store_only = false;   // uncompressed blocks only (for tests and comparisons)
    // Pads the last frame inside the compressed stream (see above). Off only for readers that know the
    // real length of the last frame.
    bool pad_last_frame = true;
    // How hard the match finder looks: 0 fastest .. 2 best ratio.
    int effort = 1;
};

// The frame size of the LZX stream in a CHM (the reset table's block size).
inline constexpr uint32_t kLzxFrameSize = 0x8000;

class LzxCompressor {
  public:
    // Settings out of range are clamped: window_bits to 15..21, frames_per_reset to at least 1.
    LzxCompressor(const LzxSettings& settings, ByteSink& out);
    ~LzxCompressor();
    LzxCompressor(const LzxCompressor&) = delete;
    LzxCompressor& operator=(const LzxCompressor&) = delete;

    void Write(std::string_view data);  // any amount, any number of calls; ignored after Finish()
    void Finish();                      // flushes the last (possibly short) frame
    // Compressed offset at which every frame starts, one entry per frame, the first 0: the CHM reset table
    // (complete after Finish(); see the top of this file for its length).
    const std::vector<uint64_t>& FrameOffsets() const;
    uint64_t UncompressedBytes() const;
    uint64_t CompressedBytes() const;

    // The values a CHM's LZXC control data must carry for this stream (version 2 counts in frames):
    // the reset interval and the window size, each in units of 0x8000 bytes.
    uint32_t ResetIntervalFrames() const;
    uint32_t WindowFrames() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lzx
