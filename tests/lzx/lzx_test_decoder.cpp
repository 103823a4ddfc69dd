#include "tests/lzx/lzx_test_decoder.h"

#include <algorithm>
#include <array>

namespace lzx_test {
namespace {

constexpr uint64_t kFrame = 0x8000;

// Offset tables rebuilt from their definition: two slots per footer size, footers capped at 17 bits.
struct Slots {
    std::array<uint32_t, 51> base{};
    std::array<int, 51> extra{};
    Slots() {
        for (int i = 0; i < 51; ++i) {
            extra[i] = i < 4 ? 0 : (i < 36 ? i / 2 - 1 : 17);
            if (i > 0) {
                base[i] = base[i - 1] + (1u << extra[i - 1]);
            }
        }
    }
    int CountFor(int window_bits) const {
        int n = 0;
        while (base[n] < (1u << window_bits)) {
            ++n;
        }
        return n;
    }
};
const Slots kSlots;

// Reads 16-bit little-endian words, each from its most significant bit, between two byte offsets.
class BitReader {
  public:
    BitReader(std::string_view bytes, size_t begin, size_t end) : bytes_(bytes), pos_(begin), end_(end) {}

    uint32_t Bit() {
        if (left_ == 0) {
            word_ = 0;
            if (pos_ + 2 <= end_) {
                word_ = static_cast<uint8_t>(bytes_[pos_]) | (static_cast<uint8_t>(bytes_[pos_ + 1]) << 8);
            } else {
                overrun_ = true;
            }
            pos_ += 2;
            left_ = 16;
        }
        --left_;
        return (word_ >> left_) & 1;
    }
    uint32_t Read(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i) {
            v = (v << 1) | Bit();
        }
        return v;
    }
    // An uncompressed block's header ends with 1..16 bits of padding.
    void SkipStoredPadding() {
        if (left_ == 0) {
            pos_ += 2;
        }
        left_ = 0;
    }
    bool Byte(uint8_t* out) {
        if (pos_ >= end_) {
            overrun_ = true;
            return false;
        }
        *out = static_cast<uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool Overrun() const { return overrun_ || pos_ > end_; }
    // Frames end on a word boundary: the rest of the current word is padding.
    void AlignToWord() { left_ = 0; }
    size_t Position() const { return pos_; }

  private:
    std::string_view bytes_;
    size_t pos_;
    size_t end_;
    uint32_t word_ = 0;
    int left_ = 0;
    bool overrun_ = false;
};

// Canonical Huffman decoding, bit by bit; only complete codes (or, where allowed, empty ones).
class Huffman {
  public:
    bool Build(const uint8_t* lengths, size_t n, bool may_be_empty, std::string* why) {
        count_.fill(0);
        symbols_.clear();
        for (size_t i = 0; i < n; ++i) {
            ++count_[lengths[i]];
        }
        count_[0] = 0;
        uint64_t kraft = 0;
        for (int l = 1; l <= 16; ++l) {
            kraft += uint64_t{count_[l]} << (16 - l);
        }
        empty_ = kraft == 0;
        if (empty_ ? !may_be_empty : kraft != (1u << 16)) {
            *why = empty_ ? "empty tree" : "incomplete or over-full tree";
            return false;
        }
        for (int l = 1; l <= 16; ++l) {
            for (size_t i = 0; i < n; ++i) {
                if (lengths[i] == l) {
                    symbols_.push_back(static_cast<uint16_t>(i));
                }
            }
        }
        return true;
    }
    bool Empty() const { return empty_; }
    int Decode(BitReader& in) const {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int l = 1; l <= 16; ++l) {
            code |= static_cast<int>(in.Bit());
            const int count = static_cast<int>(count_[l]);
            if (code - first < count) {
                return symbols_[index + code - first];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

  private:
    std::array<uint32_t, 17> count_{};
    std::vector<uint16_t> symbols_;
    bool empty_ = true;
};

class Decoder {
  public:
    Decoder(std::string_view stream, const std::vector<uint64_t>& offsets, const StreamLayout& layout)
        : stream_(stream),
          offsets_(offsets),
          layout_(layout),
          main_elements_(256 + 8 * kSlots.CountFor(layout.window_bits)) {}

    // Decodes frame after frame from the offset of `first_frame`, as libmspack does, and checks that
    // every frame starts where the reset table says (where chmlib and 7-Zip start reading it).
    bool Run(size_t first_frame, size_t frames, std::string* out, std::string* why) {
        BitReader in(stream_, static_cast<size_t>(offsets_[first_frame]), stream_.size());
        for (size_t frame = first_frame; frame < frames; ++frame) {
            frame_ = frame;
            if (frame < offsets_.size() && in.Position() != offsets_[frame]) {
                return Fail(why, "frame " + std::to_string(frame) + " starts at " + std::to_string(in.Position()) +
                                     ", the table says " + std::to_string(offsets_[frame]));
            }
            if (!DecodeFrame(in, why)) {
                *why = "frame " + std::to_string(frame) + ": " + *why;
                return false;
            }
            in.AlignToWord();
        }
        if (block_type_ == 3 && block_length_ % 2 != 0) {
            uint8_t pad;
            in.Byte(&pad);  // an odd stored block is followed by one padding byte
        }
        if (offsets_.size() > frames && offsets_.back() != stream_.size()) {
            return Fail(why, "the entry after the last frame is not the stream's end");
        }
        if (in.Position() != stream_.size()) {
            return Fail(why, "the stream goes on after the last frame");
        }
        *out = std::move(out_);
        return true;
    }

  private:
    bool Fail(std::string* why, const std::string& text) {
        *why = text;
        return false;
    }

    void ResetState() {
        main_len_.fill(0);
        length_len_.fill(0);
        r_ = {1, 1, 1};
        interval_start_ = window_.size();
        header_pending_ = true;
    }

    bool ReadLengths(BitReader& in, uint8_t* lens, size_t first, size_t last, std::string* why) {
        std::array<uint8_t, 20> pre{};
        for (auto& l : pre) {
            l = static_cast<uint8_t>(in.Read(4));
        }
        Huffman pretree;
        if (!pretree.Build(pre.data(), pre.size(), false, why)) {
            return Fail(why, "pretree: " + *why);
        }
        for (size_t x = first; x < last;) {
            const int z = pretree.Decode(in);
            if (z < 0) {
                return Fail(why, "bad pretree code");
            }
            size_t run = 1;
            int value;
            if (z == 17 || z == 18) {
                run = z == 17 ? in.Read(4) + 4 : in.Read(5) + 20;
                value = 0;
            } else if (z == 19) {
                run = in.Read(1) + 4;
                const int d = pretree.Decode(in);
                if (d < 0 || d > 16) {
                    return Fail(why, "bad run length symbol");
                }
                value = (lens[x] + 17 - d) % 17;
            } else {
                value = (lens[x] + 17 - z) % 17;
            }
            if (x + run > last) {
                return Fail(why, "length run past the tree's end");
            }
            std::fill(lens + x, lens + x + run, static_cast<uint8_t>(value));
            x += run;
        }
        return true;
    }

    bool ReadBlockHeader(BitReader& in, std::string* why) {
        if (block_type_ == 3 && block_length_ % 2 != 0) {
            uint8_t skip;
            in.Byte(&skip);
        }
        block_type_ = static_cast<int>(in.Read(3));
        block_length_ = in.Read(24);
        block_remaining_ = block_length_;
        if (block_length_ == 0) {
            return Fail(why, "empty block");
        }
        if (block_type_ == 3) {
            in.SkipStoredPadding();
            for (auto& r : r_) {
                std::array<uint8_t, 4> b{};
                for (auto& byte : b) {
                    in.Byte(&byte);
                }
                r = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
            }
            return true;
        }
        if (block_type_ != 1 && block_type_ != 2) {
            return Fail(why, "bad block type " + std::to_string(block_type_));
        }
        if (block_type_ == 2) {
            std::array<uint8_t, 8> al{};
            for (auto& l : al) {
                l = static_cast<uint8_t>(in.Read(3));
            }
            if (!aligned_.Build(al.data(), al.size(), false, why)) {
                return Fail(why, "aligned tree: " + *why);
            }
        }
        if (!ReadLengths(in, main_len_.data(), 0, 256, why) ||
            !ReadLengths(in, main_len_.data(), 256, main_elements_, why) ||
            !main_.Build(main_len_.data(), main_elements_, false, why)) {
            return Fail(why, "main tree: " + *why);
        }
        if (!ReadLengths(in, length_len_.data(), 0, 249, why) || !length_.Build(length_len_.data(), 249, true, why)) {
            return Fail(why, "length tree: " + *why);
        }
        return true;
    }

    // Decodes `count` bytes of the current block; the last match must end exactly there.
    bool DecodeRun(BitReader& in, uint64_t count, uint64_t must_stop, std::string* why) {
        const uint64_t end = window_.size() + count;
        if (block_type_ == 3) {
            for (uint64_t i = 0; i < count; ++i) {
                uint8_t b;
                if (!in.Byte(&b)) {
                    return Fail(why, "stored bytes past the frame's data");
                }
                window_.push_back(static_cast<char>(b));
            }
            return true;
        }
        while (window_.size() < end) {
            const int sym = main_.Decode(in);
            if (sym < 0) {
                return Fail(why, "bad main code");
            }
            if (sym < 256) {
                window_.push_back(static_cast<char>(sym));
                continue;
            }
            int length = (sym - 256) & 7;
            const int slot = (sym - 256) >> 3;
            if (length == 7) {
                if (length_.Empty()) {
                    return Fail(why, "length symbol from an empty tree");
                }
                length += length_.Decode(in);
            }
            length += 2;
            uint32_t distance;
            if (slot < 3) {
                distance = r_[slot];
                r_[slot] = r_[0];
                r_[0] = distance;
            } else {
                const int extra = kSlots.extra[slot];
                uint32_t footer;
                if (block_type_ == 2 && extra >= 3) {
                    footer = in.Read(extra - 3) << 3;
                    footer += static_cast<uint32_t>(aligned_.Decode(in));
                } else {
                    footer = in.Read(extra);
                }
                distance = kSlots.base[slot] + footer - 2;
                r_ = {distance, r_[0], r_[1]};
            }
            const uint64_t here = window_.size();
            if (distance == 0 || distance > (1u << layout_.window_bits) - 3 || distance > here - interval_start_) {
                return Fail(why, "match distance " + std::to_string(distance) + " out of reach");
            }
            if (here + length > end) {
                return Fail(why, "match crosses a frame or block end");
            }
            if (here < must_stop && here + length > must_stop) {
                return Fail(why, "match crosses the end of the data");
            }
            for (int i = 0; i < length; ++i) {
                window_.push_back(window_[here - distance + i]);
            }
        }
        return true;
    }

    bool DecodeFrame(BitReader& in, std::string* why) {
        const size_t frame = frame_;
        if (frame % static_cast<size_t>(layout_.frames_per_reset) == 0) {
            if (block_remaining_ != 0) {
                return Fail(why, "a block crosses the reset point");
            }
            ResetState();
            block_type_ = 0;
        }
        if (header_pending_) {
            if (in.Read(1) != 0) {
                return Fail(why, "E8 translation switched on");
            }
            header_pending_ = false;
        }
        const uint64_t real = std::min(kFrame, layout_.length - std::min(layout_.length, frame * kFrame));
        const uint64_t size = layout_.padded ? kFrame : real;
        const uint64_t must_stop = window_.size() + real;
        uint64_t done = 0;
        while (done < size) {
            if (block_remaining_ == 0 && !ReadBlockHeader(in, why)) {
                return false;
            }
            const uint64_t run = std::min<uint64_t>(block_remaining_, size - done);
            if (!DecodeRun(in, run, must_stop, why)) {
                return false;
            }
            block_remaining_ -= static_cast<uint32_t>(run);
            done += run;
        }
        if (in.Overrun()) {
            return Fail(why, "frame reads past the stream's end");
        }
        if (size > real && window_.find_first_not_of('\0', window_.size() - (size - real)) != std::string::npos) {
            return Fail(why, "padding is not zero");
        }
        out_.append(window_, window_.size() - size, real);
        return true;
    }

    std::string_view stream_;
    const std::vector<uint64_t>& offsets_;
    StreamLayout layout_;
    size_t main_elements_;
    size_t frame_ = 0;
    std::string window_;  // everything decoded, padding too (tests are small enough)
    std::string out_;     // the real bytes
    std::array<uint8_t, 656> main_len_{};
    std::array<uint8_t, 249> length_len_{};
    std::array<uint32_t, 3> r_{1, 1, 1};
    Huffman main_;
    Huffman length_;
    Huffman aligned_;
    int block_type_ = 0;
    uint32_t block_length_ = 0;
    uint32_t block_remaining_ = 0;
    uint64_t interval_start_ = 0;
    bool header_pending_ = true;
};

}  // namespace

Decoded DecodeFrames(std::string_view stream,
                     const std::vector<uint64_t>& frame_offsets,
                     const StreamLayout& layout,
                     size_t first_frame) {
    Decoded result;
    if (first_frame % static_cast<size_t>(layout.frames_per_reset) != 0) {
        result.error = "not a reset point";
        return result;
    }
    const size_t per_reset = static_cast<size_t>(layout.frames_per_reset);
    size_t frames = static_cast<size_t>((layout.length + kFrame - 1) / kFrame);
    if (layout.padded && layout.length % kFrame == 0 && frames % per_reset != 0) {
        ++frames;
    }
    // 7-Zip wants length / 0x8000 + 1 entries.
    if (frame_offsets.size() != layout.length / kFrame + 1) {
        result.error = "the reset table has " + std::to_string(frame_offsets.size()) + " entries";
        return result;
    }
    if (first_frame >= frames) {
        result.ok = first_frame == 0;  // empty input: nothing to decode
        result.error = result.ok ? "" : "no such frame";
        return result;
    }
    Decoder decoder(stream, frame_offsets, layout);
    result.ok = decoder.Run(first_frame, frames, &result.data, &result.error);
    return result;
}

}  // namespace lzx_test
