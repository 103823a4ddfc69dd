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

std::string EditedCopies(size_t count, uint64_t seed) {
    std::string out = NoiseBytes(4096, seed);
    const std::string edits = NoiseBytes(count, seed + 1);
    const size_t distances[] = {1, 2, 3, 17, 300, 301, 4000, 4001};
    size_t e = 0;
    while (out.size() < count) {
        const auto pick = static_cast<uint8_t>(edits[e++ % edits.size()]);
        const size_t distance = distances[pick % 8];
        const size_t length = 2 + static_cast<uint8_t>(edits[e++ % edits.size()]) * (pick % 3 + 1);
        for (size_t i = 0; i < length; ++i) {
            out.push_back(out[out.size() - distance]);
        }
        out.append(edits, e % edits.size(), 1 + pick % 3);
        e += 3;
    }
    out.resize(count);
    return out;
}

}  // namespace lzx_test
