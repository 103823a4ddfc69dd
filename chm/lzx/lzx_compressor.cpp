// A stand-in that stores every frame as one LZX uncompressed block. It makes valid CHM content
// sections for every reader until the real compressor takes this folder's place.
#include "chm/lzx/lzx_compressor.h"

#include <algorithm>
#include <string>

namespace lzx {

namespace {

constexpr size_t kFrameBytes = 0x8000;
constexpr unsigned kUncompressedBlock = 3;

// LZX bits go into 16-bit little-endian words, most significant bit first.
class BitWriter {
  public:
    void Put(uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            word_ = static_cast<uint16_t>((word_ << 1) | ((value >> i) & 1));
            if (++used_ == 16)
                Flush();
        }
    }
    // An uncompressed block's header is followed by 1 to 16 zero bits (never 0) that align it.
    void PadToWord() {
        do {
            Put(0, 1);
        } while (used_ != 0);
    }
    const std::string& bytes() const { return bytes_; }

  private:
    void Flush() {
        bytes_.push_back(static_cast<char>(word_ & 0xFF));
        bytes_.push_back(static_cast<char>(word_ >> 8));
        word_ = 0;
        used_ = 0;
    }
    std::string bytes_;
    uint16_t word_ = 0;
    int used_ = 0;
};

void PutLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

struct LzxCompressor::State {
    State(const LzxSettings& s, ByteSink& o) : settings(s), out(o) {}

    void EmitFrame() {
        BitWriter bits;
        if (frames % static_cast<uint64_t>(settings.frames_per_reset) == 0)
            bits.Put(0, 1);  // after a reset: no E8 call translation
        const auto size = static_cast<uint32_t>(pending.size());
        bits.Put(kUncompressedBlock, 3);
        bits.Put(size >> 8, 16);
        bits.Put(size & 0xFF, 8);
        bits.PadToWord();
        std::string block = bits.bytes();
        for (int r = 0; r < 3; ++r)
            PutLe32(block, 1);  // the repeated offsets R0, R1, R2 as a reset leaves them
        block += pending;
        if (size & 1)
            block.push_back('\0');  // blocks end on a 16-bit boundary
        offsets.push_back(compressed);
        out.Put(block);
        compressed += block.size();
        uncompressed += pending.size();
        ++frames;
        pending.clear();
    }

    LzxSettings settings;
    ByteSink& out;
    std::string pending;
    std::vector<uint64_t> offsets;
    uint64_t frames = 0;
    uint64_t uncompressed = 0;
    uint64_t compressed = 0;
};

LzxCompressor::LzxCompressor(const LzxSettings& settings, ByteSink& out)
    : state_(std::make_unique<State>(settings, out)) {
    if (state_->settings.frames_per_reset < 1)
        state_->settings.frames_per_reset = 1;
    state_->pending.reserve(kFrameBytes);
}

LzxCompressor::~LzxCompressor() = default;

void LzxCompressor::Write(std::string_view data) {
    while (!data.empty()) {
        const size_t take = std::min(kFrameBytes - state_->pending.size(), data.size());
        state_->pending.append(data.substr(0, take));
        data.remove_prefix(take);
        if (state_->pending.size() == kFrameBytes)
            state_->EmitFrame();
    }
}

void LzxCompressor::Finish() {
    if (!state_->pending.empty())
        state_->EmitFrame();
}

const std::vector<uint64_t>& LzxCompressor::FrameOffsets() const {
    return state_->offsets;
}

uint64_t LzxCompressor::UncompressedBytes() const {
    return state_->uncompressed + state_->pending.size();
}

uint64_t LzxCompressor::CompressedBytes() const {
    return state_->compressed;
}

}  // namespace lzx
