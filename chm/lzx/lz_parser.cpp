#include "chm/lzx/lz_parser.h"

#include <algorithm>

namespace lzx {
namespace {

struct EffortLevel {
    int max_chain;
    uint32_t nice_length;
    uint32_t lazy_limit;  // a match this long is taken without looking one byte further
};

constexpr EffortLevel kEfforts[] = {{8, 32, 16}, {32, 128, 64}, {256, kMaxMatch, kMaxMatch}};

const EffortLevel& LevelFor(int effort) {
    return kEfforts[std::clamp(effort, 0, 2)];
}

}  // namespace

Prices DefaultPrices() {
    Prices prices;
    std::fill(prices.main.begin(), prices.main.begin() + kNumChars, 8);
    std::fill(prices.main.begin() + kNumChars, prices.main.end(), 10);
    prices.length.fill(6);
    return prices;
}

LzParser::LzParser(uint32_t reach, int effort)
    : finder_(reach, LevelFor(effort).max_chain, LevelFor(effort).nice_length),
      lazy_limit_(LevelFor(effort).lazy_limit),
      prices_(DefaultPrices()) {}

void LzParser::Reset() {
    finder_.Reset();
    reps_ = {1, 1, 1};
    next_insert_ = 0;
}

int32_t LzParser::Gain(uint32_t length, int slot) const {
    const uint32_t header = std::min<uint32_t>(length - kMinMatch, kNumPrimaryLengths);
    int32_t bits = prices_.main[kNumChars + slot * 8 + header] + FooterBits(slot);
    if (header == kNumPrimaryLengths) {
        bits += prices_.length[length - kMinMatch - kNumPrimaryLengths];
    }
    return static_cast<int32_t>(length * prices_.literal_x16) - bits * 16;
}

void LzParser::InsertUpTo(const History& history, uint32_t pos) {
    const uint32_t last = history.End() >= 3 ? history.End() - 2 : 0;  // positions with three bytes
    for (uint32_t p = next_insert_; p < pos && p < last; ++p) {
        finder_.Insert(history, p);
    }
    next_insert_ = std::max(next_insert_, std::min(pos, last));
}

LzParser::Choice LzParser::Best(const History& history, uint32_t pos, uint32_t limit) {
    Choice best;
    const uint8_t* here = history.At(pos);
    for (int i = 0; i < 3; ++i) {
        const uint32_t distance = reps_[i];
        if (distance > pos || (i > 0 && distance == reps_[0]) || (i == 2 && distance == reps_[1])) {
            continue;
        }
        const uint32_t length = CommonLength(here, here - distance, limit);
        if (length >= kMinMatch) {
            const int32_t gain = Gain(length, i);
            if (gain > best.gain) {
                best = {length, i, distance, gain};
            }
        }
    }
    InsertUpTo(history, pos);
    const MatchCandidate found = finder_.Find(history, pos, limit);
    InsertUpTo(history, pos + 1);
    if (found.length != 0 && found.distance != reps_[0] && found.distance != reps_[1] && found.distance != reps_[2]) {
        const int slot = SlotOf(found.distance + 2);
        const int32_t gain = Gain(found.length, slot);
        if (gain > best.gain) {
            best = {found.length, slot, found.distance, gain};
        }
    }
    return best;
}

void LzParser::Emit(const Choice& choice, std::vector<Token>& out) {
    Token token;
    const uint32_t header = std::min<uint32_t>(choice.length - kMinMatch, kNumPrimaryLengths);
    token.main = static_cast<uint16_t>(kNumChars + choice.slot * 8 + header);
    if (header == kNumPrimaryLengths) {
        token.length_footer = static_cast<uint8_t>(choice.length - kMinMatch - kNumPrimaryLengths);
    }
    if (choice.slot == 1) {
        std::swap(reps_[0], reps_[1]);
    } else if (choice.slot == 2) {
        std::swap(reps_[0], reps_[2]);
    } else if (choice.slot >= 3) {
        reps_ = {choice.distance, reps_[0], reps_[1]};
        token.footer_bits = static_cast<uint8_t>(FooterBits(choice.slot));
        token.footer = choice.distance + 2 - PositionBase(choice.slot);
    }
    out.push_back(token);
}

void LzParser::Parse(const History& history, uint32_t begin, uint32_t end, std::vector<Token>& out) {
    auto limit_at = [end](uint32_t pos) { return std::min<uint32_t>(kMaxMatch, end - pos); };
    uint32_t pos = begin;
    while (pos < end) {
        Choice choice = limit_at(pos) >= kMinMatch ? Best(history, pos, limit_at(pos)) : Choice{};
        // One byte later may start a match that is worth more than this one plus a literal.
        while (choice.length != 0 && choice.length < lazy_limit_ && pos + 1 + kMinMatch <= end) {
            const Choice later = Best(history, pos + 1, limit_at(pos + 1));
            if (later.gain <= choice.gain) {
                break;
            }
            out.push_back({history.At(pos)[0], 0, 0, 0});
            ++pos;
            choice = later;
        }
        if (choice.length == 0) {
            out.push_back({history.At(pos)[0], 0, 0, 0});
            ++pos;
            continue;
        }
        Emit(choice, out);
        pos += choice.length;
    }
}

}  // namespace lzx
