#include "chm/lzx/huffman_code.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <vector>

namespace lzx {
namespace {

struct Leaf {
    uint64_t weight;
    uint16_t symbol;
};

// Package-merge over the sorted leaves. Each level's list merges the leaves with pairs of the level
// below; since the leaves keep their order in every list, the leaves among a list's first k items are
// always the k' lightest, so counting them per level is enough to read off the lengths.
void PackageMerge(const std::vector<Leaf>& leaves, int max_length, std::span<uint8_t> lengths) {
    const size_t n = leaves.size();
    std::vector<std::vector<uint64_t>> weights(max_length);
    std::vector<std::vector<uint8_t>> is_leaf(max_length);
    for (size_t i = 0; i < n; ++i) {
        weights[0].push_back(leaves[i].weight);
        is_leaf[0].push_back(1);
    }
    for (int level = 1; level < max_length; ++level) {
        const auto& below = weights[level - 1];
        auto& list = weights[level];
        auto& leaf_flags = is_leaf[level];
        const size_t packages = below.size() / 2;
        size_t li = 0;
        size_t pi = 0;
        while (li < n || pi < packages) {
            const bool take_leaf = pi == packages || (li < n && leaves[li].weight <= below[2 * pi] + below[2 * pi + 1]);
            if (take_leaf) {
                list.push_back(leaves[li++].weight);
                leaf_flags.push_back(1);
            } else {
                list.push_back(below[2 * pi] + below[2 * pi + 1]);
                leaf_flags.push_back(0);
                ++pi;
            }
        }
    }
    size_t take = 2 * n - 2;
    for (int level = max_length - 1; level >= 0 && take > 0; --level) {
        size_t leaf_count = 0;
        for (size_t i = 0; i < take; ++i) {
            leaf_count += is_leaf[level][i];
        }
        for (size_t i = 0; i < leaf_count; ++i) {
            ++lengths[leaves[i].symbol];
        }
        take = 2 * (take - leaf_count);
    }
}

}  // namespace

void BuildCodeLengths(std::span<const uint32_t> freqs, int max_length, std::span<uint8_t> lengths) {
    assert(freqs.size() == lengths.size() && freqs.size() >= 2);
    std::fill(lengths.begin(), lengths.end(), 0);
    std::vector<Leaf> leaves;
    for (size_t i = 0; i < freqs.size(); ++i) {
        if (freqs[i] != 0) {
            leaves.push_back({freqs[i], static_cast<uint16_t>(i)});
        }
    }
    if (leaves.size() < 2) {
        const size_t used = leaves.empty() ? 0 : leaves[0].symbol;
        lengths[used] = 1;
        lengths[used == 0 ? 1 : 0] = 1;
        return;
    }
    std::stable_sort(leaves.begin(), leaves.end(), [](const Leaf& a, const Leaf& b) { return a.weight < b.weight; });
    PackageMerge(leaves, max_length, lengths);
}

void BuildCanonicalCodes(std::span<const uint8_t> lengths, std::span<uint16_t> codes) {
    std::array<uint32_t, 18> count{};
    for (uint8_t length : lengths) {
        ++count[length];
    }
    count[0] = 0;
    std::array<uint32_t, 18> next{};
    uint32_t code = 0;
    for (int length = 1; length < 18; ++length) {
        code = (code + count[length - 1]) << 1;
        next[length] = code;
    }
    for (size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] != 0) {
            codes[i] = static_cast<uint16_t>(next[lengths[i]]++);
        }
    }
}

}  // namespace lzx
