// Round trips through the separate test decoder, from the start and from every reset point.
#include <gtest/gtest.h>

#include <string>

#include "tests/lzx/gbk_corpus.h"
#include "tests/lzx/lzx_test_decoder.h"
#include "tests/lzx/lzx_test_support.h"

namespace lzx_test {
namespace {

constexpr size_t kFrame = 0x8000;

// Decodes the stream from each reset point a reader may seek to and compares with the input.
void ExpectDecodesEverywhere(const std::string& input, const Stream& stream) {
    ASSERT_EQ(stream.uncompressed, input.size());
    ASSERT_EQ(stream.compressed, stream.bytes.size());
    if (!stream.frame_offsets.empty()) {
        EXPECT_EQ(stream.frame_offsets[0], 0u);
    }
    const auto per_reset = static_cast<size_t>(stream.layout.frames_per_reset);
    const size_t frames = (input.size() + kFrame - 1) / kFrame;
    for (size_t first = 0; first == 0 || first < frames; first += per_reset) {
        const Decoded decoded = DecodeFrames(stream.bytes, stream.frame_offsets, stream.layout, first);
        ASSERT_TRUE(decoded.ok) << "from frame " << first << ": " << decoded.error;
        const std::string expected = input.substr(std::min(input.size(), first * kFrame));
        ASSERT_EQ(decoded.data.size(), expected.size()) << "from frame " << first;
        ASSERT_TRUE(decoded.data == expected) << "from frame " << first;
    }
}

std::string Repeated(std::string_view unit, size_t size) {
    std::string out;
    while (out.size() < size) {
        out.append(unit);
    }
    out.resize(size);
    return out;
}

TEST(LzxRoundTrip, EmptyInputMakesNoBytesAndOneTableEntry) {
    const Stream stream = Compress("", {});
    EXPECT_TRUE(stream.bytes.empty());
    EXPECT_EQ(stream.frame_offsets, std::vector<uint64_t>{0});
    EXPECT_EQ(stream.compressed, 0u);
}

TEST(LzxRoundTrip, SizesAroundFrameAndResetBoundaries) {
    const std::string text = GbkCorpus(12 * kFrame + 500, 7);
    for (size_t size : {size_t{1}, size_t{2}, size_t{3}, kFrame - 1, kFrame, kFrame + 1, 2 * kFrame, 2 * kFrame + 1,
                        5 * kFrame + 77, 12 * kFrame + 500}) {
        for (int per_reset : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "size " << size << ", frames per reset " << per_reset);
            lzx::LzxSettings settings;
            settings.frames_per_reset = per_reset;
            const std::string input = text.substr(0, size);
            const Stream stream = Compress(input, settings);
            // One entry per frame that starts at or before the data's end, whatever padding follows.
            EXPECT_EQ(stream.frame_offsets.size(), size / kFrame + 1);
            ExpectDecodesEverywhere(input, stream);
        }
    }
}

TEST(LzxRoundTrip, UnpaddedStreamEndsWithTheShortFrame) {
    lzx::LzxSettings settings;
    settings.pad_last_frame = false;
    for (size_t size : {size_t{1}, kFrame + 3, 3 * kFrame}) {
        const std::string input = GbkCorpus(size, 3).substr(0, size);
        const Stream stream = Compress(input, settings);
        EXPECT_EQ(stream.frame_offsets.size(), size / kFrame + 1);
        ExpectDecodesEverywhere(input, stream);
    }
}

TEST(LzxRoundTrip, RepetitiveDataUsesLongMatchesAcrossFrames) {
    const std::string input = Repeated("abcdefghij", 9 * kFrame + 123);
    for (int per_reset : {1, 2, 4}) {
        lzx::LzxSettings settings;
        settings.frames_per_reset = per_reset;
        const Stream stream = Compress(input, settings);
        ExpectDecodesEverywhere(input, stream);
        // 257-byte matches: a few bits each, so well under one byte per 100.
        EXPECT_LT(stream.bytes.size(), input.size() / 100);
    }
    const std::string zeros(6 * kFrame, '\0');
    const Stream stream = Compress(zeros, {});
    ExpectDecodesEverywhere(zeros, stream);
    EXPECT_LT(stream.bytes.size(), zeros.size() / 100);
}

TEST(LzxRoundTrip, EditedCopiesUseEveryRepeatedOffset) {
    const std::string input = EditedCopies(11 * kFrame + 17, 31);
    for (int bits : {15, 16, 17}) {
        for (int per_reset : {1, 2, 4}) {
            SCOPED_TRACE(testing::Message() << "window bits " << bits << ", frames per reset " << per_reset);
            lzx::LzxSettings settings;
            settings.window_bits = bits;
            settings.frames_per_reset = per_reset;
            const Stream stream = Compress(input, settings);
            ExpectDecodesEverywhere(input, stream);
            EXPECT_LT(stream.bytes.size(), input.size() / 4);
        }
    }
}

TEST(LzxRoundTrip, NoiseIsStoredWithLittleOverhead) {
    const std::string input = NoiseBytes(7 * kFrame + 999, 11);
    const Stream stream = Compress(input, {});
    ExpectDecodesEverywhere(input, stream);
    // Stored blocks: headers, repeated offsets and the zero padding to the reset interval only.
    EXPECT_LT(stream.bytes.size(), input.size() + kFrame);
}

TEST(LzxRoundTrip, NoiseFollowedByTextSwitchesBlockTypes) {
    const std::string input = NoiseBytes(3 * kFrame, 5) + GbkCorpus(3 * kFrame, 5) + NoiseBytes(kFrame / 2, 6);
    for (int per_reset : {2, 6}) {
        lzx::LzxSettings settings;
        settings.frames_per_reset = per_reset;
        ExpectDecodesEverywhere(input, Compress(input, settings));
    }
}

TEST(LzxRoundTrip, GbkTextShrinks) {
    const std::string input = GbkCorpus(40 * kFrame, 1);
    const Stream stream = Compress(input, {});
    ExpectDecodesEverywhere(input, stream);
    // The made-up text has less to find than a real novel; still well below its size.
    EXPECT_LT(stream.bytes.size(), input.size() * 3 / 4);
}

TEST(LzxRoundTrip, EveryWindowSizeAndEffort) {
    // A block of noise seen again 100 KB later: only windows that reach back that far find it.
    const std::string noise = NoiseBytes(90 * 1024, 21);
    const std::string input = noise + GbkCorpus(10 * 1024, 2) + noise;
    size_t size_16 = 0;
    size_t size_21 = 0;
    for (int bits = 15; bits <= 21; ++bits) {
        for (int effort = 0; effort <= 2; ++effort) {
            SCOPED_TRACE(testing::Message() << "window bits " << bits << ", effort " << effort);
            lzx::LzxSettings settings;
            settings.window_bits = bits;
            settings.frames_per_reset = 8;
            settings.effort = effort;
            const Stream stream = Compress(input, settings);
            ExpectDecodesEverywhere(input, stream);
            if (effort == 1 && bits == 16) {
                size_16 = stream.bytes.size();
            }
            if (effort == 1 && bits == 21) {
                size_21 = stream.bytes.size();
            }
        }
    }
    EXPECT_LT(size_21, size_16 - noise.size() / 2);
}

TEST(LzxRoundTrip, StoreOnlyKeepsTheBytesAsTheyAre) {
    const std::string input = GbkCorpus(3 * kFrame + 10, 4);
    lzx::LzxSettings settings;
    settings.store_only = true;
    const Stream stream = Compress(input, settings);
    ExpectDecodesEverywhere(input, stream);
    EXPECT_GT(stream.bytes.size(), 4 * kFrame);
    // The frames' bytes appear verbatim after each block's small header.
    EXPECT_NE(stream.bytes.find(input.substr(0, kFrame)), std::string::npos);
}

TEST(LzxRoundTrip, PiecesOfAnySizeGiveTheSameStream) {
    const std::string input = GbkCorpus(5 * kFrame + 1234, 9);
    const Stream whole = Compress(input, {});
    for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, kFrame + 1}) {
        const Stream pieces = Compress(input, {}, piece);
        EXPECT_TRUE(pieces.bytes == whole.bytes) << "pieces of " << piece;
        EXPECT_EQ(pieces.frame_offsets, whole.frame_offsets);
    }
}

}  // namespace
}  // namespace lzx_test
