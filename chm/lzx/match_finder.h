// Hash chains over the history: finds the longest earlier occurrence of the bytes at a position.
#pragma once

#include <cstdint>
#include <vector>

#include "chm/lzx/history.h"

namespace lzx {

struct MatchCandidate {
    uint32_t length = 0;  // 0: none
    uint32_t distance = 0;
};

// Bytes equal at a and b, at most `limit`.
uint32_t CommonLength(const uint8_t* a, const uint8_t* b, uint32_t limit);

class MatchFinder {
  public:
    // `reach`: the largest distance a match may have; `max_chain`: candidates tried per position;
    // `nice_length`: a match this long ends the search.
    MatchFinder(uint32_t reach, int max_chain, uint32_t nice_length);

    void Reset();
    // Enters position `pos` (which needs three bytes of history from it on).
    void Insert(const History& history, uint32_t pos);
    // The longest match (at least 3 bytes, at most `limit`) for the bytes at `pos`, which must not be
    // inserted yet; among equally long ones the nearest.
    MatchCandidate Find(const History& history, uint32_t pos, uint32_t limit) const;

  private:
    static constexpr int kHashBits = 16;
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    static uint32_t Hash(const uint8_t* p) {
        const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 0x9E3779B1u) >> (32 - kHashBits);
    }

    uint32_t reach_;
    int max_chain_;
    uint32_t nice_length_;
    uint32_t ring_mask_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> prev_;
};

}  // namespace lzx
