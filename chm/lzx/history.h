// The bytes of the current reset interval that matches may still reach: positions count from the
// interval's start, and the oldest bytes are dropped once they are farther back than the window.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace lzx {

class History {
  public:
    // `keep`: how far back matches may reach; `chunk`: the most bytes appended at once.
    History(uint32_t keep, uint32_t chunk) : keep_(keep), bytes_(keep + chunk + kSlack) {}

    void Reset() { base_ = end_ = 0; }
    void Append(std::string_view bytes) { std::memcpy(MakeRoom(bytes.size()), bytes.data(), bytes.size()); }
    void AppendZeros(size_t count) { std::memset(MakeRoom(count), 0, count); }

    // Bytes from interval position `pos` on; valid for positions not yet dropped, and readable a few
    // bytes past End() so that match comparison can work a word at a time.
    const uint8_t* At(uint32_t pos) const { return bytes_.data() + (pos - base_); }
    uint32_t End() const { return end_; }

    static constexpr size_t kSlack = 16;

  private:
    uint8_t* MakeRoom(size_t count) {
        const size_t held = end_ - base_;
        if (held + count + kSlack > bytes_.size()) {
            const size_t drop = held > keep_ ? held - keep_ : 0;
            std::memmove(bytes_.data(), bytes_.data() + drop, held - drop);
            base_ += static_cast<uint32_t>(drop);
        }
        uint8_t* at = bytes_.data() + (end_ - base_);
        end_ += static_cast<uint32_t>(count);
        return at;
    }

    uint32_t keep_;
    std::vector<uint8_t> bytes_;
    uint32_t base_ = 0;
    uint32_t end_ = 0;
};

}  // namespace lzx
