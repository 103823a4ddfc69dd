// Turns the bytes of a frame into LZX tokens: literals and matches, with the repeated offsets R0..R2
// and a price model taken from the code lengths of the block before.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "chm/lzx/history.h"
#include "chm/lzx/lzx_format.h"
#include "chm/lzx/match_finder.h"

namespace lzx {

// One main-tree symbol with what follows it: a literal (main < 256) or a match.
struct Token {
    uint16_t main = 0;
    uint8_t length_footer = 0;  // for a main symbol whose length bits are 7
    uint8_t footer_bits = 0;    // position footer bits
    uint32_t footer = 0;
};

// Estimated bit costs the parser weighs its choices with.
struct Prices {
    std::array<uint8_t, kMaxMainSymbols> main{};
    std::array<uint8_t, kLengthSymbols> length{};
    uint32_t literal_x16 = 8 * 16;  // a literal's average cost, in sixteenths of a bit
};

// Fresh estimates for a stream's first block.
Prices DefaultPrices();

class LzParser {
  public:
    // `reach`: the farthest a match may look back; `effort`: 0..2, see LzxSettings.
    LzParser(uint32_t reach, int effort);

    // Forgets the history and sets R0..R2 to 1 (a reset interval begins).
    void Reset();
    void SetPrices(const Prices& prices) { prices_ = prices; }
    // Appends the tokens for history bytes [begin, end); no match runs past `end`.
    void Parse(const History& history, uint32_t begin, uint32_t end, std::vector<Token>& out);
    const std::array<uint32_t, 3>& RepeatedOffsets() const { return reps_; }

  private:
    struct Choice {
        uint32_t length = 0;  // 0: a literal is better
        int slot = 0;         // 0..2: a repeated offset; else the slot of `distance`
        uint32_t distance = 0;
        int32_t gain = 0;  // bits saved against literals, in sixteenths
    };

    Choice Best(const History& history, uint32_t pos, uint32_t limit);
    int32_t Gain(uint32_t length, int slot) const;
    void InsertUpTo(const History& history, uint32_t pos);
    void Emit(const Choice& choice, std::vector<Token>& out);

    MatchFinder finder_;
    uint32_t lazy_limit_;
    std::array<uint32_t, 3> reps_{1, 1, 1};
    uint32_t next_insert_ = 0;
    Prices prices_;
};

}  // namespace lzx
