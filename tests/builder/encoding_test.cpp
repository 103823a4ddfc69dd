// Telling a source's encoding and reading it: one story in every encoding a reader's files come
// in, and texts made to fool a detector.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "builder/byte_blocks.h"
#include "builder/platform.h"
#include "builder/source_chars.h"
#include "builder/source_encoding.h"
#include "builder/source_text.h"
#include "tests/builder/encoding_samples.h"
#include "tests/builder/encoding_test_support.h"
#include "tests/builder/test_support.h"

namespace {

using samples::kFourByteLineGb18030;
using samples::kFourByteLineUtf8;
using samples::kSimplifiedUtf8;
using samples::kStoryGbk;
using samples::kTraditionalBig5;
using samples::kTraditionalGbk;
using samples::kTraditionalUtf8;

const std::string kStoryUtf8 = std::string(kSimplifiedUtf8) + std::string(kTraditionalUtf8);
const std::string kWideStoryUtf8 = kStoryUtf8 + std::string(kFourByteLineUtf8);

struct SampleFile {
    std::string name;
    std::string bytes;
    SourceEncoding encoding;
    size_t bom_length;
    std::string description;
    std::string utf8;  // what reading it must give
};

std::vector<SampleFile> SampleFiles() {
    const std::string gb18030 = std::string(kStoryGbk) + std::string(kFourByteLineGb18030);
    const std::string utf8_bom = "\xEF\xBB\xBF";
    return {
        {"gbk.txt", std::string(kStoryGbk), SourceEncoding::kGb18030, 0, "gbk", kStoryUtf8},
        {"gb18030.txt", gb18030, SourceEncoding::kGb18030, 0, "gb18030", kWideStoryUtf8},
        {"gb18030-bom.txt", "\x84\x31\x95\x33" + gb18030, SourceEncoding::kGb18030, 4, "gb18030 (BOM)", kWideStoryUtf8},
        {"big5.txt", std::string(kTraditionalBig5), SourceEncoding::kBig5, 0, "big5", std::string(kTraditionalUtf8)},
        {"traditional-gbk.txt", std::string(kTraditionalGbk), SourceEncoding::kGb18030, 0, "gbk",
         std::string(kTraditionalUtf8)},
        {"utf8.txt", kWideStoryUtf8, SourceEncoding::kUtf8, 0, "utf-8 (no BOM)", kWideStoryUtf8},
        {"utf8-bom.txt", utf8_bom + kWideStoryUtf8, SourceEncoding::kUtf8, 3, "utf-8 (BOM)", kWideStoryUtf8},
        {"utf16le.txt", Utf16Of(kWideStoryUtf8, false), SourceEncoding::kUtf16Le, 0, "utf-16le (no BOM)",
         kWideStoryUtf8},
        {"utf16le-bom.txt", "\xFF\xFE" + Utf16Of(kWideStoryUtf8, false), SourceEncoding::kUtf16Le, 2, "utf-16le (BOM)",
         kWideStoryUtf8},
        {"utf16be.txt", Utf16Of(kWideStoryUtf8, true), SourceEncoding::kUtf16Be, 0, "utf-16be (no BOM)",
         kWideStoryUtf8},
        {"utf16be-bom.txt", "\xFE\xFF" + Utf16Of(kWideStoryUtf8, true), SourceEncoding::kUtf16Be, 2, "utf-16be (BOM)",
         kWideStoryUtf8},
    };
}

void ExpectRead(const std::string& bytes,
                SourceEncoding encoding,
                const std::string& description,
                const std::string& utf8,
                const std::string& what) {
    const EncodingChoice choice = DetectSourceEncoding(bytes);
    EXPECT_EQ(EncodingName(choice.encoding), std::string(EncodingName(encoding))) << what;
    const std::string_view text = std::string_view(bytes).substr(choice.bom_length);
    EXPECT_EQ(DescribeEncoding(choice, HasGb18030FourByteChars(text)), description) << what;
    EXPECT_EQ(Decoded(text, choice.encoding), utf8) << what;

    // Read from a file a window at a time, only the parts detection looks at are read.
    TempFolder folder;
    WriteTestFile(folder.Join("source.txt"), bytes);
    std::string reason;
    const std::unique_ptr<platform::SourceFile> file = platform::OpenSourceFile(folder.Join("source.txt"), reason);
    ASSERT_TRUE(file) << reason;
    SourceText window(*file, 4096);
    EncodingChoice read_choice;
    ASSERT_TRUE(DetectSourceEncoding(window, &read_choice, reason)) << reason;
    EXPECT_EQ(EncodingName(read_choice.encoding), std::string(EncodingName(encoding))) << what << ", from a file";
    EXPECT_EQ(read_choice.bom_length, choice.bom_length) << what;
}

TEST(SourceEncoding, EveryEncodingOfOneStoryReadsAsTheSameText) {
    TempFolder folder;
    for (const SampleFile& sample : SampleFiles())
        WriteTestFile(folder.Join(sample.name), sample.bytes);
    for (const SampleFile& sample : SampleFiles()) {
        std::string bytes;
        ASSERT_TRUE(platform::ReadFileBytes(folder.Join(sample.name), bytes));
        const EncodingChoice choice = DetectSourceEncoding(bytes);
        EXPECT_EQ(choice.bom_length, sample.bom_length) << sample.name;
        ExpectRead(bytes, sample.encoding, sample.description, sample.utf8, sample.name);
    }
}

TEST(SourceEncoding, Big5AndGbkOfOneTraditionalTextAgree) {
    const std::string big5 = Decoded(kTraditionalBig5, DetectSourceEncoding(kTraditionalBig5).encoding);
    const std::string gbk = Decoded(kTraditionalGbk, DetectSourceEncoding(kTraditionalGbk).encoding);
    EXPECT_EQ(big5, gbk);
    EXPECT_EQ(big5, kTraditionalUtf8);
}

TEST(SourceEncoding, ShortTextsAndAsciiAreNotMistaken) {
    const std::string ascii = "Chapter 1\r\nIt was a dark and stormy night. <p>&amp;</p>\r\n";
    ExpectRead(ascii, SourceEncoding::kGb18030, "gbk", ascii, "ascii");
    ExpectRead("", SourceEncoding::kGb18030, "gbk", "", "empty");
    ExpectRead("\xD6\xD0", SourceEncoding::kGb18030, "gbk", "中", "one GBK character");
    ExpectRead("\xC4\xE3\xBA\xC3", SourceEncoding::kGb18030, "gbk", "你好", "two GBK characters");
    ExpectRead("中", SourceEncoding::kUtf8, "utf-8 (no BOM)", "中", "one UTF-8 character");
    ExpectRead("A1 \xA4\xA4\xA4\xE5", SourceEncoding::kBig5, "big5", "A1 中文", "two Big5 characters");
    // 謝謝你，再見。
    ExpectRead("\xC1\xC2\xC1\xC2\xA7\x41\xA1\x41\xA6\x41\xA8\xA3\xA1\x43", SourceEncoding::kBig5, "big5",
               "謝謝你，再見。", "a short Big5 line");
    // A European text in UTF-8 whose two-byte sequences would also be GBK characters: café, naïve.
    ExpectRead("caf\xC3\xA9, na\xC3\xAFve", SourceEncoding::kUtf8, "utf-8 (no BOM)", "café, naïve", "latin");
}

TEST(SourceEncoding, TheChineseDecidesHoweverLateItComes) {
    const std::string ascii(70 * 1024, 'x');
    ExpectRead(ascii + "\n" + kStoryUtf8, SourceEncoding::kUtf8, "utf-8 (no BOM)", ascii + "\n" + kStoryUtf8,
               "UTF-8 after 70 KB of ASCII");
    ExpectRead(ascii + std::string(kTraditionalBig5), SourceEncoding::kBig5, "big5",
               ascii + std::string(kTraditionalUtf8), "Big5 after 70 KB of ASCII");
    ExpectRead(ascii + std::string(kStoryGbk), SourceEncoding::kGb18030, "gbk", ascii + kStoryUtf8,
               "GBK after 70 KB of ASCII");
    // Past everything a first look at a file reads.
    const std::string more_ascii(300 * 1024, 'y');
    ExpectRead(more_ascii + std::string(kTraditionalBig5), SourceEncoding::kBig5, "big5",
               more_ascii + std::string(kTraditionalUtf8), "Big5 after 300 KB of ASCII");
    ExpectRead(more_ascii + kStoryUtf8, SourceEncoding::kUtf8, "utf-8 (no BOM)", more_ascii + kStoryUtf8,
               "UTF-8 after 300 KB of ASCII");
}

TEST(SourceEncoding, GbkThatStartsLikeUtf8StaysGbk) {
    // 贸 is C3 B3 in GBK, a valid UTF-8 sequence (ó); the characters after it are not.
    const std::string gbk = "\xC3\xB3\xD2\xD7 " + std::string(kStoryGbk);
    ExpectRead(gbk, SourceEncoding::kGb18030, "gbk", "贸易 " + kStoryUtf8, "GBK");
    // 什么也没 in GBK is valid UTF-8 throughout (ʲôҲû); only its GBK reading is Chinese.
    ExpectRead("\xCA\xB2\xC3\xB4\xD2\xB2\xC3\xBB", SourceEncoding::kGb18030, "gbk", "什么也没",
               "four GBK characters that are valid UTF-8");
    // Pairs whose GBK reading is no Chinese text: UTF-8, as a European text would be.
    ExpectRead("\xC3\xB3\xC3\xA1\xC3\xB3", SourceEncoding::kUtf8, "utf-8 (no BOM)", "óáó",
               "three valid two-byte sequences");
}

TEST(SourceEncoding, Utf16WithoutMarkOrAsciiIsFound) {
    // Chinese only, with a single line end: most zero bytes sit on the side of 一 (U+4E00).
    const std::string text = "一一一一一二三\n";
    ExpectRead(Utf16Of(text, false), SourceEncoding::kUtf16Le, "utf-16le (no BOM)", text, "LE");
    ExpectRead(Utf16Of(text, true), SourceEncoding::kUtf16Be, "utf-16be (no BOM)", text, "BE");
    ExpectRead(Utf16Of("plain ASCII\r\n", false), SourceEncoding::kUtf16Le, "utf-16le (no BOM)", "plain ASCII\r\n",
               "ASCII LE");
    // No ASCII at all, so no zero bytes: the Chinese reading decides.
    const std::string chinese = "我们的时代，他说。";
    ExpectRead(Utf16Of(chinese, false), SourceEncoding::kUtf16Le, "utf-16le (no BOM)", chinese, "no zero bytes LE");
    ExpectRead(Utf16Of(chinese, true), SourceEncoding::kUtf16Be, "utf-16be (no BOM)", chinese, "no zero bytes BE");
    // A GBK text padded with an odd number of zero bytes is still GBK.
    const std::string padded = std::string(kStoryGbk) + std::string(7, '\0');
    ExpectRead(padded, SourceEncoding::kGb18030, "gbk", kStoryUtf8 + std::string(7, '\0'), "padded GBK");
}

TEST(SourceEncoding, Utf8WithADamagedByteIsStillUtf8) {
    std::string damaged = kStoryUtf8;
    const size_t at = damaged.find("雪");
    damaged[at + 1] = 'x';  // E9 9B AA -> E9 78 AA: two bytes that start nothing, around an x
    std::string expected = kStoryUtf8;
    expected.replace(at, 3, std::string(kReplacement) + "x" + std::string(kReplacement));
    ExpectRead(damaged, SourceEncoding::kUtf8, "utf-8 (no BOM)", expected, "damaged UTF-8");
}

TEST(SourceEncoding, TruncatedLastCharactersReadAsReplacements) {
    const std::string gbk = "\xD6\xD0\xCE\xC4";  // 中文
    ExpectRead(gbk.substr(0, 3), SourceEncoding::kGb18030, "gbk", "中" + std::string(kReplacement), "GBK");
    // 𠀀 = 95 32 82 36: the lead byte stands alone, the digit is itself, the third byte stands alone.
    const std::string four = "\xD6\xD0\x95\x32\x82";
    EXPECT_EQ(Decoded(four, SourceEncoding::kGb18030),
              "中" + std::string(kReplacement) + "2" + std::string(kReplacement));
    ExpectRead(std::string(kTraditionalBig5) + "\xA4", SourceEncoding::kBig5, "big5",
               std::string(kTraditionalUtf8) + std::string(kReplacement), "Big5");
    const std::string utf8 = kStoryUtf8 + "中文";
    ExpectRead(utf8.substr(0, utf8.size() - 1), SourceEncoding::kUtf8, "utf-8 (no BOM)",
               kStoryUtf8 + "中" + std::string(kReplacement) + std::string(kReplacement), "UTF-8");
    const std::string utf16 = Utf16Of(kStoryUtf8 + "中", false);
    ExpectRead(utf16.substr(0, utf16.size() - 1), SourceEncoding::kUtf16Le, "utf-16le (no BOM)",
               kStoryUtf8 + std::string(kReplacement), "UTF-16LE");
    // A surrogate pair without its second half.
    const std::string pair = Utf16Of(kStoryUtf8 + "\xF0\x9F\x98\x80", true);
    ExpectRead(pair.substr(0, pair.size() - 2), SourceEncoding::kUtf16Be, "utf-16be (no BOM)",
               kStoryUtf8 + std::string(kReplacement), "UTF-16BE");
}

TEST(SourceEncoding, RandomBytesNeverCrashAndNothingIsDropped) {
    std::mt19937 random(936);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(64 + random() % 5000, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        const EncodingChoice choice = DetectSourceEncoding(bytes);
        EXPECT_FALSE(DescribeEncoding(choice, false).empty());
        for (SourceEncoding encoding : {SourceEncoding::kGb18030, SourceEncoding::kBig5, SourceEncoding::kUtf8,
                                        SourceEncoding::kUtf16Le, SourceEncoding::kUtf16Be}) {
            const std::string utf8 = Decoded(bytes, encoding);
            size_t chars = 0;
            EXPECT_EQ(AdvanceSourceChars(bytes, 0, bytes.size() + 1, encoding, &chars), bytes.size());
            EXPECT_EQ(CodePointsOf(utf8), chars) << EncodingName(encoding);
            // 0xFF starts nothing in the byte encodings, an odd last byte nothing in UTF-16.
            const bool utf16 = encoding == SourceEncoding::kUtf16Le || encoding == SourceEncoding::kUtf16Be;
            if (utf16 ? bytes.size() % 2 == 1 : bytes.find('\xFF') != std::string::npos) {
                EXPECT_NE(utf8.find(kReplacement), std::string::npos) << EncodingName(encoding);
            }
        }
    }
}

TEST(SourceEncoding, PlainGbkIsWritableAsItIs) {
    EXPECT_TRUE(WritableAsCp936(kStoryGbk, SourceEncoding::kGb18030));
    EXPECT_TRUE(WritableAsCp936(kTraditionalGbk, SourceEncoding::kGb18030));
    EXPECT_TRUE(WritableAsCp936("\x80 euro", SourceEncoding::kGb18030));  // 0x80 is € in both
    EXPECT_FALSE(WritableAsCp936(kFourByteLineGb18030, SourceEncoding::kGb18030));
    // A2 E3 is € in GB18030 but a Private Use character in code page 936; A6 D9 is ︐ (U+FE10).
    EXPECT_FALSE(WritableAsCp936("\xA2\xE3", SourceEncoding::kGb18030));
    EXPECT_FALSE(WritableAsCp936("\xA6\xD9", SourceEncoding::kGb18030));
    EXPECT_FALSE(WritableAsCp936("\xD6\xD0\xD6", SourceEncoding::kGb18030));  // a lone lead byte
    EXPECT_FALSE(WritableAsCp936("a\xFF", SourceEncoding::kGb18030));
    const std::string ascii = "ASCII <b>only</b>\r\n";
    for (SourceEncoding encoding : {SourceEncoding::kBig5, SourceEncoding::kUtf8, SourceEncoding::kGb18030})
        EXPECT_TRUE(WritableAsCp936(ascii, encoding)) << EncodingName(encoding);
    EXPECT_FALSE(WritableAsCp936(kTraditionalBig5, SourceEncoding::kBig5));
    EXPECT_FALSE(WritableAsCp936(kStoryUtf8, SourceEncoding::kUtf8));
    EXPECT_FALSE(WritableAsCp936(Utf16Of(ascii, false), SourceEncoding::kUtf16Le));
    EXPECT_TRUE(WritableAsCp936("", SourceEncoding::kUtf16Be));
}

// Runs a test of the block passes with each form of them this processor can run.
template <typename Test>
void WithEveryBlockForm(Test test) {
    for (bool wide : {true, false}) {
        g_blocks_may_use_avx2 = wide;
        test();
    }
    g_blocks_may_use_avx2 = true;
}

TEST(SourceEncoding, WritableBytesAreWhatConvertingThemGives) {
    WithEveryBlockForm([] {
        std::mt19937 random(54936);
        const unsigned char kinds[] = {0x20, 0x41, 0x7F, 0x80, 0x81, 0xA1, 0xA2,
                                       0xA6, 0xAA, 0xD6, 0xE3, 0xF8, 0xFE, 0xFF};
        size_t writable = 0;
        for (int round = 0; round < 3000; ++round) {
            std::string bytes(1 + random() % 6, '\0');
            for (char& b : bytes)
                b = static_cast<char>(random() % 2 ? kinds[random() % std::size(kinds)] : random());
            if (!WritableAsCp936(bytes, SourceEncoding::kGb18030))
                continue;
            ++writable;
            EXPECT_EQ(platform::EncodeCp936(Decoded(bytes, SourceEncoding::kGb18030)), bytes);
        }
        EXPECT_GT(writable, 100u);
        EXPECT_EQ(platform::EncodeCp936(Decoded(kStoryGbk, SourceEncoding::kGb18030)), kStoryGbk);
    });
}

TEST(SourceEncoding, OneDifferentCharacterAnywhereInAPieceIsFound) {
    WithEveryBlockForm([] {
        // Each inserted at every offset around two block ends of a long GBK text: € as GB18030 has it,
        // a vertical comma, a four-byte sequence, a lone lead byte, 0xFF, a code GBK leaves empty
        // (D7 FA), and characters that are alike (0x80, a traditional character, a radical in FE).
        const std::string inserts[] = {"\xA2\xE3", "\xA6\xD9", "\x81\x39\xEE\x39", "\xD6",    "\xD6\n", "\xFF",
                                       "\xD7\xFA", "\x80",     "\xC5\x5F",         "\xFE\x40"};
        size_t writable = 0;
        for (const std::string& insert : inserts) {
            for (size_t at = 56; at < 140; ++at) {
                // Characters start at even offsets in the story; an ASCII byte before it moves them.
                const std::string text = (at % 2 ? "a" : "") + std::string(kStoryGbk).substr(0, 300);
                std::string bytes = text;
                // Inserted where a character starts: after the run of whole characters below `at`.
                size_t pos = 0;
                while (pos < at)
                    pos = AdvanceSourceChars(bytes, pos, 1, SourceEncoding::kGb18030, nullptr);
                bytes.insert(pos, insert);
                const bool expected = platform::EncodeCp936(Decoded(bytes, SourceEncoding::kGb18030)) == bytes;
                EXPECT_EQ(WritableAsCp936(bytes, SourceEncoding::kGb18030), expected) << at;
                writable += expected;
            }
        }
        EXPECT_GT(writable, 100u);
    });
}

}  // namespace
