// The LZX bit stream: bits fill 16-bit words from the most significant end, and each word is
// stored little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lzx {

class BitWriter {
  public:
    // Appends the low `count` bits of `value` (count 0..32), most significant first.
    void Put(uint32_t value, int count) {
        pending_ = (pending_ << count) | value;
        pending_bits_ += count;
        while (pending_bits_ >= 16) {
            pending_bits_ -= 16;
            const auto word = static_cast<uint16_t>(pending_ >> pending_bits_);
            bytes_.push_back(static_cast<char>(word & 0xFF));
            bytes_.push_back(static_cast<char>(word >> 8));
        }
        pending_ &= (uint64_t{1} << pending_bits_) - 1;
    }
    // Zero bits up to the next 16-bit boundary; nothing when already there.
    void AlignToWord() {
        if (pending_bits_ != 0) {
            Put(0, 16 - pending_bits_);
        }
    }
    bool WordAligned() const { return pending_bits_ == 0; }
    // Bytes stored as they are; the stream must be word-aligned.
    void PutBytes(std::string_view bytes) { bytes_.append(bytes); }
    void PutUint32(uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    // Completed bytes so far (the word being filled is not among them).
    size_t ByteCount() const { return bytes_.size(); }
    // Hands over the completed bytes.
    std::string TakeBytes() {
        std::string out;
        out.swap(bytes_);
        return out;
    }

  private:
    std::string bytes_;
    uint64_t pending_ = 0;
    int pending_bits_ = 0;
};

}  // namespace lzx
