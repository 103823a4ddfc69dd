// Byte-level text rules: character counting in code page 936 and UTF-8, line ends, searching
// ignoring case, UTF-16 conversion and command-line quoting.
#include <gtest/gtest.h>

#include "builder/command_line.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

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
    EXPECT_EQ(CountChars(text, TextEncoding::kCp936), 3u);
    size_t passed = 0;
    EXPECT_EQ(AdvanceChars(text, 0, 2, TextEncoding::kCp936, &passed), 3u);
    EXPECT_EQ(passed, 2u);
    // Second bytes in the ASCII letter range (0x40..0x7E) belong to the character.
    std::string letters_as_trail = "\x81\x41\x81\x7E";
    EXPECT_EQ(CountChars(letters_as_trail, TextEncoding::kCp936), 2u);
}

TEST(CharCounting, Cp936BytesThatStartNoCharacterCountAlone) {
    // A lead byte before CR, a lead byte at the end, 0x80 and 0xFF: one character each, and
    // the CR is never swallowed.
    std::string text = "\x81\r\x80\xFF\xD6";
    EXPECT_EQ(CountChars(text, TextEncoding::kCp936), 5u);
    EXPECT_EQ(CharLengthAt("\x81\x7F", 0, TextEncoding::kCp936), 1u);
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
                pos += CharLengthAt(text, pos, TextEncoding::kCp936);
                ++count;
            }
            size_t passed = 0;
            ASSERT_EQ(AdvanceChars(text, 0, budget, TextEncoding::kCp936, &passed), pos) << round << " " << budget;
            ASSERT_EQ(passed, count);
        }
    }
}

TEST(CharCounting, Utf8CountsCodePoints) {
    std::string text = "a\xE4\xB8\xAD\xF0\x9F\x98\x80";  // a, U+4E2D, U+1F600
    EXPECT_EQ(CountChars(text, TextEncoding::kUtf8), 3u);
    size_t passed = 0;
    EXPECT_EQ(AdvanceChars(text, 0, 2, TextEncoding::kUtf8, &passed), 4u);
    EXPECT_EQ(AdvanceChars(text, 0, 10, TextEncoding::kUtf8, &passed), text.size());
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
    std::string out;
    AppendCharReference(out, 0x1F600);
    EXPECT_EQ(out, "&#128512;");
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
