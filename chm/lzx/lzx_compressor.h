// chm/lzx/lzx_compressor.h
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>
namespace lzx {
class ByteSink { public: virtual ~ByteSink() = default; virtual void Put(std::string_view bytes) = 0; };
// LZX compression as a CHM content section stores it: the input is cut into frames of 0x8000 bytes; the
// compressor's state is reset every `frames_per_reset` frames; the output of every frame starts on a byte
// boundary so that the reset table can point at it.
struct LzxSettings {
    int window_bits = 16;      // 15..21: the window is 2^window_bits bytes
    int frames_per_reset = 2;  // the reset interval, in frames
    bool store_only = false;   // uncompressed blocks only (for tests and comparisons)
};
class LzxCompressor {
  public:
    LzxCompressor(const LzxSettings& settings, ByteSink& out);
    ~LzxCompressor();
    LzxCompressor(const LzxCompressor&) = delete;
    LzxCompressor& operator=(const LzxCompressor&) = delete;
    void Write(std::string_view data);  // any amount, any number of calls
    void Finish();                      // flushes the last (possibly short) frame
    // Compressed offset at which every frame starts, one entry per frame, the first 0: the CHM reset table.
    const std::vector<uint64_t>& FrameOffsets() const;
    uint64_t UncompressedBytes() const;
    uint64_t CompressedBytes() const;
  private:
    struct State;
    std::unique_ptr<State> state_;
};
}  // namespace lzx
