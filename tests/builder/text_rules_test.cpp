// Byte-level text rules: character counting in code page 936 and UTF-8, line ends, searching
// ignoring case, UTF-16 conversion and command-line quoting.
#include <gtest/gtest.h>

#include <algorithm>

#include "builder/byte_blocks.h"
#include "builder/command_line.h"
#include "builder/source_chars.h"
#include "builder/text_bytes.h"
#include "builder/text_sink.h"
#include "builder/unicode_text.h"
#include "tests/builder/test_support.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// Characters counted and passed as the run steps through GB18030 (which reads code page 936
// text alike) and UTF-8 sources.
size_t CountChars(std::string_view text, SourceEncoding encoding) {
    size_t count = 0;
    AdvanceSourceChars(text, 0, static_cast<size_t>(-1), encoding, &count);
    return count;
}
size_t AdvanceChars(std::string_view text, size_t pos, size_t chars, SourceEncoding encoding, size_t* passed) {
    return AdvanceSourceChars(text, pos, chars, encoding, passed);
}
// The one-character rule the block steps must agree with.
size_t CharLengthAt(std::string_view text, size_t pos, SourceEncoding encoding) {
    return SourceCharLength(reinterpret_cast<const unsigned char*>(text.data()), pos, text.size(), encoding);
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    LineReader reader(text);
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(CharCounting, Cp936DoubleByteCharactersCountOnce) {
    // "中a文" in code page 936: D6 D0, 61, CE C4.
    std::string text =
        "\xD6\xD0"
        "a"
        "\xCE\xC4";
    EXPECT_EQ(CountChars(text, SourceEncoding::kGb18030), 3u);
    size_t passed = 0;
    EXPECT_EQ(AdvanceChars(text, 0, 2, SourceEncoding::kGb18030, &passed), 3u);
    EXPECT_EQ(passed, 2u);
    // Second bytes in the ASCII letter range (0x40..0x7E) belong to the character.
    std::string letters_as_trail = "\x81\x41\x81\x7E";
    EXPECT_EQ(CountChars(letters_as_trail, SourceEncoding::kGb18030), 2u);
}

TEST(CharCounting, Cp936BytesThatStartNoCharacterCountAlone) {
    // A lead byte before CR, a lead byte at the end, 0x80 and 0xFF: one character each, and
    // the CR is never swallowed.
    std::string text = "\x81\r\x80\xFF\xD6";
    EXPECT_EQ(CountChars(text, SourceEncoding::kGb18030), 5u);
    EXPECT_EQ(CharLengthAt("\x81\x7F", 0, SourceEncoding::kGb18030), 1u);
}

TEST(CharCounting, FastCp936CountingAgreesWithTheRuleOnAnyBytes) {
    // The eight-byte steps must give the same boundaries as the plain one-character rule.
    unsigned state = 12345;
    const unsigned char alphabet[] = {'a',  'Z',  ' ',  '\r', '\n', '<',  0x40, 0x7E,
                                      0x7F, 0x80, 0x81, 0xA1, 0xD6, 0xFE, 0xFF};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        size_t length = round % 70;
        for (size_t i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            unsigned pick = (state >> 16) % 30;
            // Long runs of one kind exercise the eight-byte steps.
            text += static_cast<char>(pick < 15 ? alphabet[pick] : (pick < 22 ? 0xC4 : 'x'));
        }
        for (size_t budget = 0; budget <= length + 1; ++budget) {
            size_t pos = 0;
            size_t count = 0;
            while (count < budget && pos < text.size()) {
                pos += CharLengthAt(text, pos, SourceEncoding::kGb18030);
                ++count;
            }
            size_t passed = 0;
            ASSERT_EQ(AdvanceChars(text, 0, budget, SourceEncoding::kGb18030, &passed), pos) << round << " " << budget;
            ASSERT_EQ(passed, count);
        }
    }
}

// Random bytes for the block-level checks: every byte value, with long runs of lead bytes and
// of ASCII so that runs cross the 64-byte block edges at both parities.
std::string RandomCp936Bytes(unsigned& state, size_t length) {
    const unsigned char alphabet[] = {'a',  'Z',  ' ',  '\r', '\n', '<',  '&',  0x40, 0x7E,
                                      0x7F, 0x80, 0x81, 0xA1, 0xD6, 0xFE, 0xFF, 0x00, 0x3F};
    std::string text;
    while (text.size() < length) {
        state = state * 1103515245u + 12345u;
        unsigned pick = (state >> 16) % 40;
        size_t run = 1 + (state >> 8) % 90;
        if (pick < 18)
            text += static_cast<char>(alphabet[pick]);
        else if (pick < 26)
            text.append(run, static_cast<char>(0xC4));
        else if (pick < 32)
            text.append(run, 'x');
        else
            text += static_cast<char>((state >> 3) & 0xFF);
    }
    text.resize(length);
    return text;
}

TEST(CharCounting, BlockCountingAgreesWithTheRuleOnLongTexts) {
    // Whole 64-byte blocks are counted from bit masks; the boundaries must be the ones that
    // stepping one character at a time gives, from any start and for any budget.
    unsigned state = 777;
    for (int round = 0; round < 120; ++round) {
        std::string text = RandomCp936Bytes(state, 40 + static_cast<size_t>(round) * 7);
        std::vector<size_t> starts{0};
        for (size_t pos = 0; pos < text.size();) {
            pos += CharLengthAt(text, pos, SourceEncoding::kGb18030);
            starts.push_back(pos);
        }
        const size_t chars = starts.size() - 1;
        for (size_t from : {size_t{0}, size_t{1}, size_t{3}}) {
            if (from >= starts.size())
                continue;
            for (size_t budget = 0; budget <= chars + 2; budget += 1 + budget / 16) {
                size_t passed = 0;
                size_t expected_index = std::min(from + budget, chars);
                ASSERT_EQ(AdvanceChars(text, starts[from], budget, SourceEncoding::kGb18030, &passed),
                          starts[expected_index])
                    << round << " " << from << " " << budget;
                ASSERT_EQ(passed, expected_index - from);
            }
        }
        ASSERT_EQ(CountChars(text, SourceEncoding::kGb18030), chars);
    }
}

TEST(ByteBlocks, FastAndPortableClassificationAgreeWithTheByteRules) {
    unsigned state = 4242;
    for (int round = 0; round < 200; ++round) {
        std::string block = RandomCp936Bytes(state, kBlockBytes);
        if (round < 4)
            for (size_t i = 0; i < kBlockBytes; ++i)
                block[i] = static_cast<char>(round * 64 + static_cast<int>(i));  // all 256 values
        const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
        uint64_t lead = 0;
        uint64_t trail = 0;
        uint64_t stops = 0;
        for (size_t i = 0; i < kBlockBytes; ++i) {
            unsigned b = bytes[i];
            lead |= uint64_t{b >= 0x81 && b <= 0xFE} << i;
            trail |= uint64_t{b >= 0x40 && b <= 0xFE && b != 0x7F} << i;
            stops |= uint64_t{b == '\r' || b == '\n' || b == '&' || b == '<' || b == '>'} << i;
        }
        Cp936Masks fast = ClassifyCp936Block(bytes);
        Cp936Masks portable = ClassifyCp936BlockPortable(bytes);
        ASSERT_EQ(fast.lead, lead) << round;
        ASSERT_EQ(fast.trail, trail) << round;
        ASSERT_EQ(portable.lead, lead) << round;
        ASSERT_EQ(portable.trail, trail) << round;
        using Stops = ByteSet<'\r', '\n', '&', '<', '>'>;
        ASSERT_EQ(Stops::Match(bytes), stops) << round;
        ASSERT_EQ(Stops::MatchPortable(bytes), stops) << round;
        ASSERT_EQ(Stops::MatchPartial(bytes, 10), stops & 0x3FF) << round;
    }
}

TEST(CharCounting, Utf8CountsCodePoints) {
    std::string text = "a\xE4\xB8\xAD\xF0\x9F\x98\x80";  // a, U+4E2D, U+1F600
    EXPECT_EQ(CountChars(text, SourceEncoding::kUtf8), 3u);
    size_t passed = 0;
    EXPECT_EQ(AdvanceChars(text, 0, 2, SourceEncoding::kUtf8, &passed), 4u);
    EXPECT_EQ(AdvanceChars(text, 0, 10, SourceEncoding::kUtf8, &passed), text.size());
    EXPECT_EQ(passed, 3u);
}

TEST(LineReading, EndsAtCrLfCrAndBareLf) {
    EXPECT_EQ(Lines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("abc\r\ndef\r\n"), (std::vector<std::string>{"abc", "def"}));
    EXPECT_EQ(Lines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Lines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Lines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(Lines("").empty());
}

TEST(LineReading, LongLfOnlyTextIsReadInOnePass) {
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "line\n";
    EXPECT_EQ(Lines(text).size(), 200000u);
}

TEST(Searching, FindsMarkersIgnoringAsciiCaseOnly) {
    EXPECT_EQ(FindIgnoringAsciiCase("xx<TiTlE>yy", "<title>"), 2u);
    EXPECT_EQ(FindIgnoringAsciiCase("<titl", "<title>"), std::string_view::npos);
    EXPECT_EQ(FindIgnoringAsciiCase("<title><title>", "<title>", 1), 7u);
    EXPECT_EQ(CompareIgnoringAsciiCase("ABC", "abc"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("a", "B"), 0);
    EXPECT_TRUE(EndsWithIgnoringAsciiCase("x.HTML", ".html"));
    EXPECT_FALSE(EndsWithIgnoringAsciiCase("xhtm", ".htm"));
    EXPECT_EQ(AsciiLower("AbC\xD6\xD0"), "abc\xD6\xD0");
}

TEST(Unicode, Utf16BothByteOrdersAndSurrogates) {
    std::string le(
        "\x2D\x4E\x3D\xD8\x00\xDE"
        "A\x00",
        8);  // U+4E2D, U+1F600, A
    EXPECT_EQ(Utf16BytesToUtf8(le, false),
              "\xE4\xB8\xAD\xF0\x9F\x98\x80"
              "A");
    std::string be(
        "\x4E\x2D\x00"
        "A",
        4);
    EXPECT_EQ(Utf16BytesToUtf8(be, true),
              "\xE4\xB8\xAD"
              "A");
    // An unpaired surrogate and an odd last byte.
    std::string bad(
        "\x00\xD8"
        "A\x00"
        "B",
        5);
    EXPECT_EQ(Utf16BytesToUtf8(bad, false),
              "\xEF\xBF\xBD"
              "A");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a\xF0\x9F\x98\x80\xE4\xB8\xAD")), "a\xF0\x9F\x98\x80\xE4\xB8\xAD");
}

TEST(Unicode, InvalidUtf8BecomesReplacementCharacters) {
    size_t length = 0;
    EXPECT_EQ(NextCodePoint("\xC0\x80", 0, &length), 0xFFFDu);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(NextCodePoint("\xE4\xB8", 0, &length), 0xFFFDu);
    EXPECT_EQ(NextCodePoint("\xED\xA0\x80", 0, &length), 0xFFFDu);  // an encoded surrogate
    char out[16];
    EXPECT_EQ(std::string(out, PutCharReference(out, 0x1F600)), "&#128512;");
}

TEST(CommandLine, QuotesLikeTheRuntimeParses) {
    EXPECT_EQ(QuoteCommandLineArg("plain"), "plain");
    EXPECT_EQ(QuoteCommandLineArg("plain", true), "\"plain\"");
    EXPECT_EQ(QuoteCommandLineArg(""), "\"\"");
    EXPECT_EQ(QuoteCommandLineArg("a b"), "\"a b\"");
    EXPECT_EQ(QuoteCommandLineArg("C:\\My Books\\"), "\"C:\\My Books\\\\\"");
    EXPECT_EQ(QuoteCommandLineArg("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteCommandLineArg("a\\\\\"b"), "\"a\\\\\\\\\\\"b\"");
    EXPECT_EQ(QuoteCommandLineArg("a\\b c"), "\"a\\b c\"");
    EXPECT_EQ(BuildCommandLine("C:\\Tools\\hhc.exe", {"D:\\My Books\\book\\chm_hhp.hhp"}),
              "\"C:\\Tools\\hhc.exe\" \"D:\\My Books\\book\\chm_hhp.hhp\"");
}

#ifdef _WIN32
TEST(CommandLine, RoundTripsThroughCommandLineToArgvW) {
    const std::vector<std::string> args = {
        "plain",       "with blank", "trailing\\", "blank and trailing \\", "quote\"inside",     "\\\\server\\x",
        "back\\\\\"q", "",           "tab\there",  "中文 路径\\",           "\xF0\x9F\x98\x80 x"};
    std::string line = BuildCommandLine("C:\\Program Files\\Tool\\hhc.exe", args);
    std::u16string wide = Utf8ToUtf16(line);
    int count = 0;
    LPWSTR* parsed = CommandLineToArgvW(reinterpret_cast<LPCWSTR>(wide.c_str()), &count);
    ASSERT_NE(parsed, nullptr);
    ASSERT_EQ(count, static_cast<int>(args.size()) + 1);
    EXPECT_EQ(Utf16ToUtf8(reinterpret_cast<const char16_t*>(parsed[0])), "C:\\Program Files\\Tool\\hhc.exe");
    for (size_t i = 0; i < args.size(); ++i)
        EXPECT_EQ(Utf16ToUtf8(reinterpret_cast<const char16_t*>(parsed[i + 1])), args[i]) << i;
    LocalFree(parsed);
}
#endif

}  // namespace
