// Stepping through sources by characters: never inside a character, and always the count that
// decoding gives, in every encoding and across the 64-byte blocks the stepping works in.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "builder/byte_blocks.h"
#include "builder/source_encoding.h"
#include "tests/builder/encoding_samples.h"
#include "tests/builder/encoding_test_support.h"

namespace {

constexpr SourceEncoding kAll[] = {SourceEncoding::kGb18030, SourceEncoding::kBig5, SourceEncoding::kUtf8,
                                   SourceEncoding::kUtf16Le, SourceEncoding::kUtf16Be};

// Cuts `bytes` into pieces of `step` characters and checks each cut: the pieces decode to the
// whole text's decoding, each to as many code points as the step passed.
void ExpectCleanCuts(const std::string& bytes, SourceEncoding encoding, size_t step, const std::string& what) {
    const std::string whole = Decoded(bytes, encoding);
    std::string joined;
    size_t pos = 0;
    size_t total = 0;
    while (pos < bytes.size()) {
        size_t passed = 0;
        const size_t next = AdvanceSourceChars(bytes, pos, step, encoding, &passed);
        ASSERT_GT(next, pos) << what;
        ASSERT_LE(next, bytes.size()) << what;
        const std::string piece = Decoded(std::string_view(bytes).substr(pos, next - pos), encoding);
        ASSERT_EQ(CodePointsOf(piece), passed) << what << " at byte " << pos;
        if (next < bytes.size()) {
            ASSERT_EQ(passed, step) << what << " at byte " << pos;
        }
        joined += piece;
        total += passed;
        pos = next;
    }
    EXPECT_EQ(joined, whole) << what << ", step " << step;
    EXPECT_EQ(total, CodePointsOf(whole)) << what;
}

std::string Story(SourceEncoding encoding) {
    const std::string utf8 = std::string(samples::kSimplifiedUtf8) + std::string(samples::kTraditionalUtf8) +
                             std::string(samples::kFourByteLineUtf8);
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return std::string(samples::kStoryGbk) + std::string(samples::kFourByteLineGb18030);
        case SourceEncoding::kBig5:
            return std::string(samples::kTraditionalBig5);
        case SourceEncoding::kUtf8:
            return utf8;
        case SourceEncoding::kUtf16Le:
            return Utf16Of(utf8, false);
        case SourceEncoding::kUtf16Be:
            break;
    }
    return Utf16Of(utf8, true);
}

TEST(SourceChars, StoryCutsNeverSplitACharacter) {
    for (SourceEncoding encoding : kAll) {
        const std::string story = Story(encoding);
        for (size_t step : {1, 2, 3, 5, 31, 32, 33, 64, 100, 511, 5000})
            ExpectCleanCuts(story, encoding, step, EncodingName(encoding));
    }
}

TEST(SourceChars, CharactersAcrossBlockEndsStayWhole) {
    // Each long character starts at every offset around the end of the first 64-byte block.
    struct Case {
        SourceEncoding encoding;
        std::string filler;  // one byte or one two-byte unit
        std::string character;
    };
    const Case cases[] = {
        {SourceEncoding::kGb18030, "a", "\x95\x32\x82\x36"},  // U+20000
        {SourceEncoding::kGb18030, "a", "\xD6\xD0"},
        {SourceEncoding::kGb18030, "\xD6\xD0", "\x81\x39\xEE\x39"},  // U+3400 after Chinese
        {SourceEncoding::kBig5, "a", "\xA4\xA4"},
        {SourceEncoding::kBig5, "\xA4\xA4", "\xA4\x40"},
        {SourceEncoding::kUtf8, "a", "\xF0\x9F\x98\x80"},
        {SourceEncoding::kUtf8, "\xE4\xB8\xAD", "\xF0\xA0\x80\x80"},
        {SourceEncoding::kUtf8, "a", "\xE4\xB8\xAD"},
        {SourceEncoding::kUtf16Le, std::string("a\0", 2), "\x3D\xD8\x00\xDE"},  // U+1F600
        {SourceEncoding::kUtf16Be, std::string("\0a", 2), "\xD8\x3D\xDE\x00"},
        // Characters cut short: the bytes after them must not be swallowed.
        {SourceEncoding::kGb18030, "a", "\x95\x32\x82"},
        {SourceEncoding::kBig5, " ", "\xA4"},
        {SourceEncoding::kBig5, "a", "\xA4\x80"},
        {SourceEncoding::kUtf8, "a", "\xE4\xB8"},
        {SourceEncoding::kUtf8, "a", "\xF1\x80\x80"},
        {SourceEncoding::kUtf16Le, std::string("a\0", 2), "\x3D\xD8"},
    };
    for (const Case& c : cases) {
        for (size_t lead = 56; lead < 72; ++lead) {
            std::string bytes;
            while (bytes.size() + c.filler.size() <= lead)
                bytes += c.filler;
            for (int i = 0; i < 30; ++i)
                bytes += c.character + c.filler;
            const std::string what = std::string(EncodingName(c.encoding)) + " at " + std::to_string(bytes.size());
            // Small steps end inside the first block; large ones pass whole blocks at once.
            for (size_t step : {1, 7, 16, 30, 31, 32, 33, 40, 60, 100, 1000})
                ExpectCleanCuts(bytes, c.encoding, step, what);
        }
    }
}

// Random text made mostly of one encoding's plain characters (the first three of each list), with
// pieces that need a closer look mixed in: some blocks are plain, others are not.
std::string RandomText(std::mt19937& random, SourceEncoding encoding) {
    const std::vector<std::string> pieces[] = {
        // GB18030
        {"\xD6\xD0", "\xB5\xDA", "1", "a", "\x95\x32\x82\x36", "\x81\x30\x81\x30", "\x80", "\xFF", "\x81", "\xA1\x40",
         "\xFE\x39", "\x7F", "\x81\x39\xEE"},
        // Big5
        {"\xA4\xA4", "\xA4\x40", "a", "1", "\x80", "\x81\x40", "\xA4\xA0", "\xFF", "\xF9\xFE", "\xA1", "\xC6\x7F"},
        // UTF-8
        {"\xE4\xB8\xAD", "a", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xED\x95\x9C", "\xED\xA0\x80", "\xE0\x80", "\x80",
         "\xC0\xAF", "\xF4\x90\x80\x80", "\xE4\xB8", "\xFF", "\xEF\xBF\xBD", "\xF0\x8F\xBF\xBF"},
    };
    std::string text;
    const size_t length = 200 + random() % 600;
    if (encoding == SourceEncoding::kUtf16Le || encoding == SourceEncoding::kUtf16Be) {
        const char16_t units[] = {0x4E2D, 0x0061, 0xD83D, 0xDE00, 0xDC00, 0xD800, 0x000A, 0x4E00};
        const bool big = encoding == SourceEncoding::kUtf16Be;
        while (text.size() < length) {
            // Mostly plain Chinese, so that whole blocks without surrogates occur.
            const char16_t u = random() % 20 ? units[random() % 2] : units[random() % std::size(units)];
            text += static_cast<char>(big ? u >> 8 : u & 0xFF);
            text += static_cast<char>(big ? u & 0xFF : u >> 8);
        }
        if (random() % 2)
            text += 'x';
        return text;
    }
    const std::vector<std::string>& set = pieces[encoding == SourceEncoding::kGb18030 ? 0
                                                 : encoding == SourceEncoding::kBig5  ? 1
                                                                                      : 2];
    // From a few odd pieces among many plain ones to odd pieces everywhere.
    const unsigned odd_one_in = 2 + random() % 60;
    while (text.size() < length)
        text += random() % odd_one_in ? set[random() % 3] : set[random() % set.size()];
    return text;
}

TEST(SourceChars, RandomTextCutsAgreeWithDecoding) {
    std::mt19937 random(950);
    for (SourceEncoding encoding : kAll) {
        for (int round = 0; round < 200; ++round) {
            const std::string text = RandomText(random, encoding);
            const size_t step = 1 + random() % 70;
            ExpectCleanCuts(text, encoding, step, EncodingName(encoding));
            if (testing::Test::HasFailure())
                return;
        }
    }
}

TEST(SourceChars, CountsStopAtTheEndAndAtZero) {
    const std::string gbk =
        "\xD6\xD0\xCE\xC4"
        "ab";  // 中文ab
    size_t passed = 99;
    EXPECT_EQ(AdvanceSourceChars(gbk, 0, 0, SourceEncoding::kGb18030, &passed), 0u);
    EXPECT_EQ(passed, 0u);
    EXPECT_EQ(AdvanceSourceChars(gbk, 2, 2, SourceEncoding::kGb18030, &passed), 5u);
    EXPECT_EQ(passed, 2u);
    EXPECT_EQ(AdvanceSourceChars(gbk, 0, 100, SourceEncoding::kGb18030, &passed), 6u);
    EXPECT_EQ(passed, 4u);
    EXPECT_EQ(AdvanceSourceChars(gbk, 6, 1, SourceEncoding::kGb18030, nullptr), 6u);
}

TEST(SourceChars, ByteRangesMatchWithAndWithoutSse2) {
    std::mt19937 random(64);
    unsigned char block[kBlockBytes];
    for (int round = 0; round < 200; ++round) {
        for (unsigned char& b : block)
            b = static_cast<unsigned char>(round < 100 ? random() : 0x2E + random() % 12);
        auto expect = [&](auto range, unsigned low, unsigned high) {
            uint64_t wanted = 0;
            for (size_t i = 0; i < kBlockBytes; ++i)
                wanted |= static_cast<uint64_t>(block[i] >= low && block[i] <= high) << i;
            EXPECT_EQ(decltype(range)::Match(block), wanted) << low;
            EXPECT_EQ(decltype(range)::MatchPortable(block), wanted) << low;
        };
        expect(ByteRange<'0', '9'>{}, '0', '9');
        expect(ByteRange<0x00, 0x7F>{}, 0x00, 0x7F);
        expect(ByteRange<0x80, 0xA0>{}, 0x80, 0xA0);
        expect(ByteRange<0xFF, 0xFF>{}, 0xFF, 0xFF);
        expect(ByteRange<0xE1, 0xEC>{}, 0xE1, 0xEC);
    }
}

}  // namespace
