#include "chm/lzx/lzx_compressor.h"

#include <algorithm>
#include <string>

#include "chm/lzx/bit_writer.h"
#include "chm/lzx/block_encoder.h"
#include "chm/lzx/history.h"
#include "chm/lzx/lz_parser.h"
#include "chm/lzx/lzx_format.h"

namespace lzx {
namespace {

// Frames per block at most: long enough to spread the trees' cost, short enough to follow changes
// in the text.
constexpr uint32_t kMaxBlockFrames = 2;

LzxSettings Clamped(LzxSettings settings) {
    settings.window_bits = std::clamp(settings.window_bits, 15, 21);
    settings.frames_per_reset = std::max(settings.frames_per_reset, 1);
    return settings;
}

// How far back matches can reach: the window, and never before the interval's start.
uint32_t Reach(const LzxSettings& s) {
    const uint64_t interval = uint64_t{kLzxFrameSize} * static_cast<uint32_t>(s.frames_per_reset);
    return static_cast<uint32_t>(std::min<uint64_t>(MaxMatchDistance(s.window_bits), interval));
}

}  // namespace

struct LzxCompressor::State {
    State(const LzxSettings& s, ByteSink& sink)
        : settings(s),
          out(sink),
          history(Reach(s) + 3, kMaxBlockFrames * kLzxFrameSize),
          parser(Reach(s), s.effort),
          encoder(s.window_bits) {}

    uint32_t NextBlockFrames() const {
        const auto per_reset = static_cast<uint32_t>(settings.frames_per_reset);
        return std::min(kMaxBlockFrames, per_reset - frame_in_interval);
    }

    // `block`: whole frames, but for an unpadded end; its first `real` bytes are data, the rest padding.
    void EncodeBlock(std::string_view block, size_t real);
    void Flush() {
        std::string done = writer.TakeBytes();
        flushed += done.size();
        if (!done.empty()) {
            out.Put(done);
        }
    }

    LzxSettings settings;
    ByteSink& out;
    std::string pending;  // input not yet encoded: less than one block
    History history;
    LzParser parser;
    BlockEncoder encoder;
    BitWriter writer;
    std::vector<Token> tokens;
    std::vector<size_t> frame_ends;
    std::vector<uint64_t> frame_offsets;
    uint32_t frame_in_interval = 0;
    uint64_t uncompressed = 0;
    uint64_t flushed = 0;
    bool finished = false;
};

void LzxCompressor::State::EncodeBlock(std::string_view block, size_t real) {
    const auto frames = static_cast<uint32_t>((block.size() + kLzxFrameSize - 1) / kLzxFrameSize);
    if (frame_in_interval == 0) {
        history.Reset();
        parser.Reset();
        encoder.Reset();
    }
    frame_offsets.push_back(flushed + writer.ByteCount());
    if (frame_in_interval == 0) {
        writer.Put(0, 1);  // no E8 call translation
    }

    std::vector<size_t> starts;
    if (settings.store_only) {
        starts = encoder.EncodeStored(block, {1, 1, 1}, writer);
    } else {
        const uint32_t begin = history.End();
        history.Append(block);
        parser.SetPrices(encoder.LastPrices());
        tokens.clear();
        frame_ends.clear();
        const uint32_t data_end = begin + static_cast<uint32_t>(real);
        for (uint32_t frame = 0; frame < frames; ++frame) {
            const uint32_t frame_begin = begin + frame * kLzxFrameSize;
            const uint32_t frame_end = std::min<uint32_t>(frame_begin + kLzxFrameSize, begin + block.size());
            // A reader that knows the real length may stop there: no match runs past it.
            const uint32_t split = std::clamp(data_end, frame_begin, frame_end);
            parser.Parse(history, frame_begin, split, tokens);
            parser.Parse(history, split, frame_end, tokens);
            frame_ends.push_back(tokens.size());
        }
        starts = encoder.Encode({tokens, frame_ends, block, parser.RepeatedOffsets()}, writer);
    }
    for (size_t start : starts) {
        frame_offsets.push_back(flushed + start);
    }
    writer.AlignToWord();
    Flush();
    frame_in_interval = (frame_in_interval + frames) % static_cast<uint32_t>(settings.frames_per_reset);
}

LzxCompressor::LzxCompressor(const LzxSettings& settings, ByteSink& out)
    : state_(std::make_unique<State>(Clamped(settings), out)) {}

LzxCompressor::~LzxCompressor() = default;

void LzxCompressor::Write(std::string_view data) {
    State& s = *state_;
    if (s.finished) {
        return;  // the stream is closed: its reset table is final
    }
    s.uncompressed += data.size();
    while (!data.empty()) {
        const size_t block_bytes = size_t{s.NextBlockFrames()} * kLzxFrameSize;
        if (s.pending.empty() && data.size() >= block_bytes) {
            s.EncodeBlock(data.substr(0, block_bytes), block_bytes);
            data.remove_prefix(block_bytes);
            continue;
        }
        const size_t take = std::min(block_bytes - s.pending.size(), data.size());
        s.pending.append(data.substr(0, take));
        data.remove_prefix(take);
        if (s.pending.size() == block_bytes) {
            s.EncodeBlock(s.pending, block_bytes);
            s.pending.clear();
        }
    }
}

void LzxCompressor::Finish() {
    State& s = *state_;
    if (s.finished) {
        return;
    }
    s.finished = true;
    size_t real = s.pending.size();
    if (s.settings.pad_last_frame) {
        // A whole last frame; and a zero frame after data that ends on a frame boundary inside a reset
        // interval, since libmspack decodes up to the interval's end.
        const auto per_reset = static_cast<uint32_t>(s.settings.frames_per_reset);
        const auto frames = static_cast<uint32_t>((real + kLzxFrameSize - 1) / kLzxFrameSize);
        const bool zero_frame = real % kLzxFrameSize == 0 && (s.frame_in_interval + frames) % per_reset != 0;
        s.pending.resize(size_t{frames + (zero_frame ? 1 : 0)} * kLzxFrameSize, '\0');
    }
    std::string_view rest = s.pending;
    while (!rest.empty()) {
        const size_t take = std::min<size_t>(size_t{s.NextBlockFrames()} * kLzxFrameSize, rest.size());
        s.EncodeBlock(rest.substr(0, take), std::min(take, real));
        rest.remove_prefix(take);
        real -= std::min(take, real);
    }
    s.pending.clear();
    // The reset table lists the frames that start before the data's end, and one for a frame starting
    // right at it: 7-Zip counts length / 0x8000 + 1 entries. Padding frames after that stay unlisted.
    const size_t entries = static_cast<size_t>(s.uncompressed / kLzxFrameSize) + 1;
    if (s.frame_offsets.size() < entries) {
        s.frame_offsets.push_back(s.flushed + s.writer.ByteCount());
    }
    s.frame_offsets.resize(entries);
}

const std::vector<uint64_t>& LzxCompressor::FrameOffsets() const {
    return state_->frame_offsets;
}

uint64_t LzxCompressor::UncompressedBytes() const {
    return state_->uncompressed;
}

uint64_t LzxCompressor::CompressedBytes() const {
    return state_->flushed + state_->writer.ByteCount();
}

uint32_t LzxCompressor::ResetIntervalFrames() const {
    return static_cast<uint32_t>(state_->settings.frames_per_reset);
}

uint32_t LzxCompressor::WindowFrames() const {
    return (1u << state_->settings.window_bits) / kLzxFrameSize;
}

}  // namespace lzx
