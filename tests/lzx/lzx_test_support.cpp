#include "tests/lzx/lzx_test_support.h"

#include <algorithm>

namespace lzx_test {
namespace {

class StringSink : public lzx::ByteSink {
  public:
    explicit StringSink(std::string& out) : out_(out) {}
    void Put(std::string_view bytes) override { out_.append(bytes); }

  private:
    std::string& out_;
};

}  // namespace

Stream Compress(std::string_view input, const lzx::LzxSettings& settings, size_t piece) {
    Stream stream;
    StringSink sink(stream.bytes);
    lzx::LzxCompressor compressor(settings, sink);
    if (piece == 0) {
        compressor.Write(input);
    } else {
        for (size_t at = 0; at < input.size(); at += piece) {
            compressor.Write(input.substr(at, std::min(piece, input.size() - at)));
        }
    }
    compressor.Finish();
    stream.frame_offsets = compressor.FrameOffsets();
    stream.uncompressed = compressor.UncompressedBytes();
    stream.compressed = compressor.CompressedBytes();
    stream.layout.window_bits = settings.window_bits;
    stream.layout.frames_per_reset = settings.frames_per_reset;
    stream.layout.length = input.size();
    stream.layout.padded = settings.pad_last_frame;
    return stream;
}

std::string NoiseBytes(size_t count, uint64_t seed) {
    std::string out(count, '\0');
    uint64_t state = seed;
    for (char& c : out) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        c = static_cast<char>(state >> 56);
    }
    return out;
}

}  // namespace lzx_test
