// The code page tables: GB18030's own parts against known byte sequences (and, on Linux, against
// iconv), Big5 in the code page 950 flavour, and code page 936 conversion of foreign text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "builder/codepages.h"
#include "builder/source_encoding.h"
#include "tests/builder/encoding_test_support.h"

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

TEST(Codepages, Gb18030FourByteSequences) {
    struct Known {
        const char* bytes;
        char32_t c;
    };
    const Known known[] = {
        {"\x81\x30\x81\x30", 0x0080},  {"\x81\x30\x84\x36", 0x00A5},  {"\x82\x35\x8F\x33", 0x9FA6},
        {"\x81\x39\xEE\x39", 0x3400},  {"\x84\x31\xA4\x39", 0xFFFF},  {"\x90\x30\x81\x30", 0x10000},
        {"\x95\x32\x82\x36", 0x20000}, {"\x94\x39\xFC\x36", 0x1F600}, {"\xE3\x32\x9A\x35", 0x10FFFF},
        {"\x84\x31\x82\x36", 0xFE10},  {"\x82\x35\x90\x37", 0x9FB4},  {"\x81\x35\xF4\x37", 0x1E3F},
        {"\x84\x31\xA5\x30", 0},       {"\x8F\x39\xFE\x39", 0},       {"\xE3\x32\x9A\x36", 0},
        {"\xFE\x39\xFE\x39", 0},
    };
    for (const Known& k : known) {
        EXPECT_EQ(static_cast<uint32_t>(Gb18030FourByteChar(reinterpret_cast<const unsigned char*>(k.bytes))),
                  static_cast<uint32_t>(k.c));
    }
}

TEST(Codepages, Gb18030TwoByteCharactersOfTheCurrentEdition) {
    // 中, the euro sign, a vertical comma, a radical, ḿ, characters beyond the BMP, a user-defined
    // character and GBK's traditional 臺.
    EXPECT_EQ(Decoded("\xD6\xD0\xA2\xE3\xA6\xD9\xFE\x50\xA8\xBC\xFE\x51\xAA\xA1\xC5\x5F", SourceEncoding::kGb18030),
              "中€︐⺁ḿ\xF0\xA0\x82\x87\xEE\x80\x80臺");
    // Code page 936 keeps reading them as it always has.
    EXPECT_EQ(platform::DecodeCp936("\xD6\xD0\x80"), "中€");
}

TEST(Codepages, Big5IsReadAsCodePage950) {
    // 中文, the euro sign and the box drawing that code page 950 adds, and its ‧ (U+2027).
    EXPECT_EQ(Decoded("\xA4\xA4\xA4\xE5\xA3\xE1\xF9\xF9\xA1\x45", SourceEncoding::kBig5), "中文€═‧");
    // A lead byte before a byte that cannot follow it stands alone; 0x80 is U+0080 in code page 950.
    EXPECT_EQ(Decoded("\xA4\x80"
                      "a\xA4",
                      SourceEncoding::kBig5),
              std::string(kReplacement) + "\xC2\x80" + "a" + std::string(kReplacement));
}

TEST(Codepages, Cp936WritesForeignCharactersAsReferencesInOnePass) {
    // Korean, Thai and emoji between Chinese, many times over.
    std::string utf8;
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        utf8 += "中\xED\x95\x9C\xE0\xB8\x81\xF0\x9F\x98\x80€";
        expected += "\xD6\xD0&#54620;&#3585;&#128512;\x80";
    }
    EXPECT_EQ(platform::EncodeCp936(utf8), expected);
    // Broken UTF-8 is written as U+FFFD references, one per bad byte.
    EXPECT_EQ(platform::EncodeCp936("a\xE4\xB8"
                                    "b\xFF"),
              "a&#65533;&#65533;b&#65533;");
}

TEST(Codepages, TablesLoadOnceFromManyThreads) {
    // Several workers converting at once must all see whole tables (ctest also runs this test on
    // its own, where these threads are the first to use the tables).
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&results, i] {
            std::string text;
            DecodeSourceText("\xA4\xA4\xA4\xE5", SourceEncoding::kBig5, text);
            results[i] = platform::EncodeCp936(text + "\xED\x95\x9C");
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (const std::string& r : results)
        EXPECT_EQ(r, "\xD6\xD0\xCE\xC4&#54620;");
}

#ifndef _WIN32
// iconv's GB18030 follows the 2022 edition, which leaves the four-byte codes of the characters it
// moved to two-byte codes unmapped and gives 81 35 F4 37 to U+E7C7; ours read them as the 2000
// edition did.
TEST(Codepages, Gb18030FourByteTableAgreesWithIconv) {
    iconv_t cd = iconv_open("UTF-32LE", "GB18030");
    ASSERT_NE(cd, (iconv_t)-1);
    size_t differences = 0;
    size_t compared = 0;
    for (uint32_t n = 0; n < 39420 + 200; ++n) {
        // The Basic Multilingual Plane, then samples of the planes above it.
        const uint32_t number = n < 39420 ? n : 189000 + (n - 39420) * 5241;
        unsigned char bytes[4] = {
            static_cast<unsigned char>(0x81 + number / 12600), static_cast<unsigned char>(0x30 + number / 1260 % 10),
            static_cast<unsigned char>(0x81 + number / 10 % 126), static_cast<unsigned char>(0x30 + number % 10)};
        char* in = reinterpret_cast<char*>(bytes);
        size_t in_left = 4;
        unsigned char out[8];
        char* out_ptr = reinterpret_cast<char*>(out);
        size_t out_left = sizeof(out);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char32_t expected = 0;
        if (iconv(cd, &in, &in_left, &out_ptr, &out_left) != (size_t)-1 && out_left == 4)
            expected = out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
        const char32_t ours = Gb18030FourByteChar(bytes);
        ++compared;
        if (ours != expected) {
            ++differences;
            const bool moved =
                expected == 0 && ((ours >= 0x9FB4 && ours <= 0x9FBB) || (ours >= 0xFE10 && ours <= 0xFE19));
            EXPECT_TRUE(moved || (ours == 0x1E3F && expected == 0xE7C7))
                << std::hex << number << ": ours " << static_cast<uint32_t>(ours) << ", iconv "
                << static_cast<uint32_t>(expected);
        }
    }
    iconv_close(cd);
    EXPECT_EQ(compared, 39620u);
    EXPECT_EQ(differences, 19u);
}
#endif

}  // namespace
