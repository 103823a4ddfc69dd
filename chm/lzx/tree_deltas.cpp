#include "chm/lzx/tree_deltas.h"

#include <algorithm>

#include "chm/lzx/huffman_code.h"

namespace lzx {
namespace {

// The pretree symbol that turns `previous` into `length` (the decoder subtracts modulo 17).
uint8_t Difference(uint8_t previous, uint8_t length) {
    return static_cast<uint8_t>((previous + 17 - length) % 17);
}

}  // namespace

TreeDeltas::TreeDeltas(std::span<const uint8_t> lengths, std::span<const uint8_t> previous) {
    const size_t count = lengths.size();
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && lengths[i + run] == lengths[i]) {
            ++run;
        }
        if (lengths[i] == 0 && run >= 4) {
            while (run >= 4) {
                const size_t take = std::min<size_t>(run, run >= 20 ? 51 : 19);
                if (take >= 20) {
                    items_.push_back({18, 5, static_cast<uint8_t>(take - 20), 0});
                } else {
                    items_.push_back({17, 4, static_cast<uint8_t>(take - 4), 0});
                }
                i += take;
                run -= take;
            }
            continue;
        }
        if (run >= 4) {
            // Symbol 19 sets the whole run from the first symbol's previous length.
            const size_t take = std::min<size_t>(run, 5);
            items_.push_back({19, 1, static_cast<uint8_t>(take - 4), Difference(previous[i], lengths[i])});
            i += take;
            continue;
        }
        items_.push_back({Difference(previous[i], lengths[i]), 0, 0, 0});
        ++i;
    }

    std::array<uint32_t, kPretreeSymbols> freqs{};
    for (const Item& item : items_) {
        ++freqs[item.symbol];
        if (item.symbol == 19) {
            ++freqs[item.run_symbol];
        }
    }
    BuildCodeLengths(freqs, kMaxPretreeLength, pretree_lengths_);
    BuildCanonicalCodes(pretree_lengths_, pretree_codes_);
    bits_ = kPretreeSymbols * 4;
    for (const Item& item : items_) {
        bits_ += pretree_lengths_[item.symbol] + item.extra_bits;
        if (item.symbol == 19) {
            bits_ += pretree_lengths_[item.run_symbol];
        }
    }
}

void TreeDeltas::Write(BitWriter& out) const {
    for (uint8_t length : pretree_lengths_) {
        out.Put(length, 4);
    }
    for (const Item& item : items_) {
        out.Put(pretree_codes_[item.symbol], pretree_lengths_[item.symbol]);
        out.Put(item.extra, item.extra_bits);
        if (item.symbol == 19) {
            out.Put(pretree_codes_[item.run_symbol], pretree_lengths_[item.run_symbol]);
        }
    }
}

}  // namespace lzx
