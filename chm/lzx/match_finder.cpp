#include "chm/lzx/match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lzx {

uint32_t CommonLength(const uint8_t* a, const uint8_t* b, uint32_t limit) {
    uint32_t n = 0;
    while (n + 8 <= limit) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) {
            // Little-endian and big-endian machines find the first differing byte at opposite ends.
            const uint64_t diff = x ^ y;
            const int zero_bits =
                std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
            return n + static_cast<uint32_t>(zero_bits / 8);
        }
        n += 8;
    }
    while (n < limit && a[n] == b[n]) {
        ++n;
    }
    return n;
}

MatchFinder::MatchFinder(uint32_t reach, int max_chain, uint32_t nice_length)
    : reach_(reach),
      max_chain_(max_chain),
      nice_length_(nice_length),
      ring_mask_(std::bit_ceil(reach + 1) - 1),
      head_(size_t{1} << kHashBits, kNone),
      prev_(ring_mask_ + 1, kNone) {}

void MatchFinder::Reset() {
    std::fill(head_.begin(), head_.end(), kNone);
}

void MatchFinder::Insert(const History& history, uint32_t pos) {
    const uint32_t h = Hash(history.At(pos));
    prev_[pos & ring_mask_] = head_[h];
    head_[h] = pos;
}

MatchCandidate MatchFinder::Find(const History& history, uint32_t pos, uint32_t limit) const {
    MatchCandidate best;
    if (limit < 3) {
        return best;
    }
    const uint8_t* here = history.At(pos);
    uint32_t best_length = 2;
    uint32_t candidate = head_[Hash(here)];
    for (int tries = max_chain_; tries > 0 && candidate < pos; --tries) {
        const uint32_t distance = pos - candidate;
        if (distance > reach_) {
            break;
        }
        const uint8_t* there = history.At(candidate);
        if (there[best_length] == here[best_length] && there[0] == here[0] && there[1] == here[1]) {
            const uint32_t length = CommonLength(here, there, limit);
            if (length > best_length) {
                best_length = length;
                best = {length, distance};
                if (length >= nice_length_ || length == limit) {
                    break;
                }
            }
        }
        const uint32_t next = prev_[candidate & ring_mask_];
        if (next >= candidate) {
            break;
        }
        candidate = next;
    }
    return best;
}

}  // namespace lzx
