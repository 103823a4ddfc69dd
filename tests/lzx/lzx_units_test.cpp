// The encoder's smallest units: the bit order of the stream and the Huffman codes every decoder
// rebuilds from the lengths alone.
#include <gtest/gtest.h>

#include <vector>

#include "chm/lzx/bit_writer.h"
#include "chm/lzx/huffman_code.h"

namespace lzx {
namespace {

// Frequencies that grow like Fibonacci numbers make an unlimited Huffman code one bit deeper per symbol.
std::vector<uint32_t> Fibonacci(size_t count) {
    std::vector<uint32_t> freqs{1, 1};
    while (freqs.size() < count) {
        freqs.push_back(freqs[freqs.size() - 1] + freqs[freqs.size() - 2]);
    }
    return freqs;
}

// Sum of 2^-length over the used symbols, in units of 2^-max_length.
uint64_t Kraft(const std::vector<uint8_t>& lengths, int max_length) {
    uint64_t sum = 0;
    for (uint8_t length : lengths) {
        if (length != 0) {
            sum += uint64_t{1} << (max_length - length);
        }
    }
    return sum;
}

TEST(LzxHuffman, DeepCodesAreLimitedAndStayComplete) {
    for (int limit : {7, 15, 16}) {
        const std::vector<uint32_t> freqs = Fibonacci(limit == 7 ? 8 : 30);
        std::vector<uint8_t> lengths(freqs.size());
        BuildCodeLengths(freqs, limit, lengths);
        for (size_t i = 0; i < lengths.size(); ++i) {
            EXPECT_GE(lengths[i], 1) << "symbol " << i;
            EXPECT_LE(lengths[i], limit) << "symbol " << i;
            // A more frequent symbol never gets a longer code.
            if (i > 0) {
                EXPECT_LE(lengths[i], lengths[i - 1]) << "symbol " << i;
            }
        }
        // Decoders such as libmspack refuse a code with free space.
        EXPECT_EQ(Kraft(lengths, limit), uint64_t{1} << limit) << "limit " << limit;
    }
}

TEST(LzxHuffman, UnusedAndSingleSymbolAlphabetsGetTwoCodes) {
    std::vector<uint8_t> lengths(249);
    BuildCodeLengths(std::vector<uint32_t>(249, 0), 16, lengths);
    EXPECT_EQ(lengths[0], 1);
    EXPECT_EQ(lengths[1], 1);
    EXPECT_EQ(Kraft(lengths, 16), 1u << 16);

    std::vector<uint32_t> one(20, 0);
    one[7] = 42;
    std::vector<uint8_t> pre(20);
    BuildCodeLengths(one, 15, pre);
    EXPECT_EQ(pre[7], 1);
    EXPECT_EQ(Kraft(pre, 15), 1u << 15);
}

TEST(LzxHuffman, CanonicalCodesArePrefixFree) {
    const std::vector<uint32_t> freqs = {5, 9, 12, 13, 16, 45, 0, 3, 3, 1};
    std::vector<uint8_t> lengths(freqs.size());
    BuildCodeLengths(freqs, 16, lengths);
    std::vector<uint16_t> codes(freqs.size());
    BuildCanonicalCodes(lengths, codes);
    for (size_t a = 0; a < codes.size(); ++a) {
        for (size_t b = 0; b < codes.size(); ++b) {
            if (a == b || lengths[a] == 0 || lengths[b] == 0 || lengths[a] > lengths[b]) {
                continue;
            }
            EXPECT_NE(codes[b] >> (lengths[b] - lengths[a]), codes[a]) << a << " is a prefix of " << b;
            // Among equal lengths the lower symbol gets the lower code, as decoders assume.
            if (a < b && lengths[a] == lengths[b]) {
                EXPECT_LT(codes[a], codes[b]) << a << " and " << b;
            }
        }
    }
}

TEST(LzxBitWriter, WordsFillFromTheTopAndAreStoredLittleEndian) {
    BitWriter out;
    out.Put(1, 1);
    out.Put(0x1234, 16);
    EXPECT_FALSE(out.WordAligned());
    out.AlignToWord();
    EXPECT_TRUE(out.WordAligned());
    // Bits 1 0001001000110100 then fifteen zero bits: words 0x891A and 0x0000.
    EXPECT_EQ(out.TakeBytes(), std::string("\x1A\x89\x00\x00", 4));
}

}  // namespace
}  // namespace lzx
