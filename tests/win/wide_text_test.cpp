// UTF-8 and UTF-16 at the wide API calls: Chinese text, characters outside the basic plane and
// ill-formed input survive the round trip the way the system converts them.
#include <gtest/gtest.h>

#include "win/wide_text.h"

namespace {

TEST(WideText, ChineseAndSupplementaryCharactersRoundTrip) {
    const std::string utf8 = "\xE8\xAF\xB4\xE6\x98\x8E.txt \xF0\x9F\x93\x96";  // 说明.txt and an open book
    const std::wstring wide = WideFromUtf8(utf8);
    EXPECT_EQ(wide, std::wstring(L"\u8bf4\u660e.txt \xD83D\xDCD6"));
    EXPECT_EQ(Utf8FromWide(wide), utf8);
}

TEST(WideText, EmptyTextAndEmbeddedNulsAreKept) {
    EXPECT_EQ(WideFromUtf8(""), L"");
    EXPECT_EQ(Utf8FromWide(L""), "");
    const std::string with_nul("a\0b", 3);
    EXPECT_EQ(WideFromUtf8(with_nul).size(), 3u);
    EXPECT_EQ(Utf8FromWide(WideFromUtf8(with_nul)), with_nul);
}

TEST(WideText, IllFormedBytesBecomeReplacementCharacters) {
    const std::wstring wide = WideFromUtf8(
        "A\xFF"
        "B");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], L'A');
    EXPECT_EQ(wide[1], L'\xFFFD');
    EXPECT_EQ(wide[2], L'B');
}

}  // namespace
