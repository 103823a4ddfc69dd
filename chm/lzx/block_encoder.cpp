#include "chm/lzx/block_encoder.h"

#include <algorithm>

#include "chm/lzx/huffman_code.h"
#include "chm/lzx/lzx_compressor.h"
#include "chm/lzx/tree_deltas.h"

namespace lzx {
namespace {

// A Huffman tree over one alphabet, built from the block's counts.
template <size_t kSize>
struct Tree {
    std::array<uint32_t, kSize> freqs{};
    std::array<uint8_t, kSize> lengths{};
    std::array<uint16_t, kSize> codes{};

    void Build(size_t symbols, int max_length) {
        BuildCodeLengths(std::span(freqs).first(symbols), max_length, std::span(lengths).first(symbols));
        BuildCanonicalCodes(std::span(lengths).first(symbols), std::span(codes).first(symbols));
    }
    uint64_t Bits(size_t symbols) const {
        uint64_t bits = 0;
        for (size_t i = 0; i < symbols; ++i) {
            bits += uint64_t{freqs[i]} * lengths[i];
        }
        return bits;
    }
    void Put(BitWriter& out, size_t symbol) const { out.Put(codes[symbol], lengths[symbol]); }
};

constexpr uint32_t kBlockHeaderBits = 3 + 24;

}  // namespace

BlockEncoder::BlockEncoder(int window_bits) : main_symbols_(MainSymbols(window_bits)), prices_(DefaultPrices()) {}

void BlockEncoder::Reset() {
    main_previous_.fill(0);
    length_previous_.fill(0);
}

std::vector<size_t> BlockEncoder::Encode(const BlockContents& block, BitWriter& out) {
    const auto main_count = static_cast<size_t>(main_symbols_);
    Tree<kMaxMainSymbols> main;
    Tree<kLengthSymbols> length;
    Tree<kAlignedSymbols> aligned;
    uint64_t footer_bits = 0;      // footers sent as they are in either block type
    uint64_t aligned_footers = 0;  // footers whose low three bits the aligned tree may carry
    for (const Token& token : block.tokens) {
        ++main.freqs[token.main];
        if (token.main >= kNumChars && (token.main & 7) == kNumPrimaryLengths) {
            ++length.freqs[token.length_footer];
        }
        if (token.footer_bits >= 3) {
            ++aligned.freqs[token.footer & 7];
            ++aligned_footers;
            footer_bits += token.footer_bits - 3;
        } else {
            footer_bits += token.footer_bits;
        }
    }
    main.Build(main_count, kMaxCodeLength);
    length.Build(kLengthSymbols, kMaxCodeLength);
    aligned.Build(kAlignedSymbols, kMaxAlignedLength);

    const TreeDeltas main_chars(std::span(main.lengths).first(kNumChars), std::span(main_previous_).first(kNumChars));
    const TreeDeltas main_matches(std::span(main.lengths).subspan(kNumChars, main_count - kNumChars),
                                  std::span(main_previous_).subspan(kNumChars, main_count - kNumChars));
    const TreeDeltas lengths(length.lengths, length_previous_);

    const uint64_t common = kBlockHeaderBits + main_chars.Bits() + main_matches.Bits() + lengths.Bits() +
                            main.Bits(main_count) + length.Bits(kLengthSymbols) + footer_bits;
    const uint64_t verbatim_bits = common + 3 * aligned_footers;
    const uint64_t aligned_bits = common + 3 * kAlignedSymbols + aligned.Bits(kAlignedSymbols);
    const uint64_t stored_bits = kBlockHeaderBits + 16 + 12 * 8 + 8 * uint64_t{block.bytes.size()};

    // The next block's parser prices symbols by these lengths; unused symbols count as rare.
    uint64_t literal_bits = 0;
    uint64_t literals = 0;
    for (size_t i = 0; i < main_count; ++i) {
        prices_.main[i] = main.lengths[i] != 0 ? main.lengths[i] : kMaxCodeLength;
        if (i < kNumChars) {
            literal_bits += uint64_t{main.freqs[i]} * main.lengths[i];
            literals += main.freqs[i];
        }
    }
    for (size_t i = 0; i < kLengthSymbols; ++i) {
        prices_.length[i] = length.lengths[i] != 0 ? length.lengths[i] : kMaxCodeLength;
    }
    if (literals != 0) {
        prices_.literal_x16 = static_cast<uint32_t>(literal_bits * 16 / literals);
    }

    if (stored_bits < std::min(verbatim_bits, aligned_bits)) {
        return EncodeStored(block.bytes, block.reps_after, out);
    }
    const bool use_aligned = aligned_bits < verbatim_bits;
    out.Put(use_aligned ? kAlignedBlock : kVerbatimBlock, 3);
    out.Put(static_cast<uint32_t>(block.bytes.size()), 24);
    if (use_aligned) {
        for (uint8_t bits : aligned.lengths) {
            out.Put(bits, 3);
        }
    }
    main_chars.Write(out);
    main_matches.Write(out);
    lengths.Write(out);
    std::copy_n(main.lengths.begin(), main_count, main_previous_.begin());
    length_previous_ = length.lengths;

    std::vector<size_t> frame_starts;
    size_t frame = 0;
    for (size_t i = 0; i < block.tokens.size(); ++i) {
        while (frame + 1 < block.frame_ends.size() && i == block.frame_ends[frame]) {
            out.AlignToWord();
            frame_starts.push_back(out.ByteCount());
            ++frame;
        }
        const Token& token = block.tokens[i];
        main.Put(out, token.main);
        if (token.main < kNumChars) {
            continue;
        }
        if ((token.main & 7) == kNumPrimaryLengths) {
            length.Put(out, token.length_footer);
        }
        if (use_aligned && token.footer_bits >= 3) {
            out.Put(token.footer >> 3, token.footer_bits - 3);
            aligned.Put(out, token.footer & 7);
        } else {
            out.Put(token.footer, token.footer_bits);
        }
    }
    out.AlignToWord();
    return frame_starts;
}

std::vector<size_t> BlockEncoder::EncodeStored(std::string_view bytes,
                                               const std::array<uint32_t, 3>& reps,
                                               BitWriter& out) {
    out.Put(kUncompressedBlock, 3);
    out.Put(static_cast<uint32_t>(bytes.size()), 24);
    // Decoders skip 1..16 bits here, never none: an aligned header still takes a whole zero word.
    if (out.WordAligned()) {
        out.Put(0, 16);
    } else {
        out.AlignToWord();
    }
    for (uint32_t rep : reps) {
        out.PutUint32(rep);
    }
    std::vector<size_t> frame_starts;
    for (size_t at = 0; at < bytes.size(); at += kLzxFrameSize) {
        if (at != 0) {
            frame_starts.push_back(out.ByteCount());
        }
        out.PutBytes(bytes.substr(at, kLzxFrameSize));
    }
    if (bytes.size() % 2 != 0) {
        out.PutBytes(std::string_view("\0", 1));
    }
    return frame_starts;
}

}  // namespace lzx
