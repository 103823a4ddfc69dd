// Cutting sources into pieces: counts, boundaries, names, encodings and bad input.
#include <gtest/gtest.h>

#include "builder/platform.h"
#include "builder/source_split.h"
#include "tests/builder/test_support.h"

namespace {

struct Split {
    SplitOutcome outcome;
    std::vector<std::string> names;   // piece files in the output folder, sorted
    std::vector<std::string> pieces;  // their bytes
};

Split RunSplit(TempFolder& temp,
               const std::string& source_bytes,
               int units = 1,
               const std::string& base = "book",
               TestControls* controls_in = nullptr) {
    WriteTestFile(temp.Join("src.txt"), source_bytes);
    std::string out = temp.Join("out");
    platform::CreateFolder(out);
    TestControls local;
    TestControls& controls = controls_in ? *controls_in : local;
    Split s;
    s.outcome = SplitSourceFile(temp.Join("src.txt"), base, out, units, controls);
    s.names = ListSourceFolder(out);
    for (const std::string& n : s.names)
        s.pieces.push_back(ReadTestFile(platform::JoinPath(out, n)));
    return s;
}

std::string Chars(size_t count, char c = 'a') {
    return std::string(count, c);
}

TEST(PieceNames, ZeroPaddedToTheDigitsOfTheCount) {
    EXPECT_EQ(PieceFileName("book", 1, 9), "book_1.txt");
    EXPECT_EQ(PieceFileName("book", 1, 12), "book_01.txt");
    EXPECT_EQ(PieceFileName("book", 12, 12), "book_12.txt");
    EXPECT_EQ(PieceFileName("book", 7, 100), "book_007.txt");
    EXPECT_EQ(PieceFileName("a b", 40000, 40000), "a b_40000.txt");
}

TEST(Splitting, NoCharacterIsRepeatedOrLost) {
    // With one unit a piece holds 512 characters.
    struct Case {
        size_t length;
        size_t pieces;
    } cases[] = {{1, 1}, {511, 1}, {512, 1}, {513, 2}, {1024, 2}, {1025, 3}, {12 * 512 + 5, 13}};
    for (const Case& c : cases) {
        TempFolder temp;
        std::string text;
        for (size_t i = 0; i < c.length; ++i)
            text += static_cast<char>('a' + i % 26);
        Split s = RunSplit(temp, text);
        EXPECT_EQ(s.outcome.status, SplitStatus::kSucceeded) << c.length;
        ASSERT_EQ(s.names.size(), c.pieces) << c.length;
        std::string joined;
        for (const std::string& piece : s.pieces) {
            ASSERT_GE(piece.size(), 2u);
            EXPECT_EQ(piece.substr(piece.size() - 2), "\r\n");
            EXPECT_LE(piece.size() - 2, 512u);
            joined += piece.substr(0, piece.size() - 2);
        }
        EXPECT_EQ(joined, text) << c.length;
    }
}

TEST(Splitting, ThirteenPiecesAreNumberedWithTwoDigits) {
    TempFolder temp;
    Split s = RunSplit(temp, Chars(12 * 512 + 5));
    ASSERT_EQ(s.names.size(), 13u);
    EXPECT_EQ(s.names.front(), "book_01.txt");
    EXPECT_EQ(s.names.back(), "book_13.txt");
    EXPECT_EQ(s.pieces.back(), Chars(5) + "\r\n");
}

TEST(Splitting, TheRealPieceSizeIs51200Characters) {
    TempFolder temp;
    Split exact = RunSplit(temp, Chars(51200), 100);
    EXPECT_EQ(exact.names, std::vector<std::string>{"book_1.txt"});
    TempFolder temp2;
    Split over = RunSplit(temp2, Chars(51200) + "z", 100);
    ASSERT_EQ(over.names.size(), 2u);
    EXPECT_EQ(over.pieces[1], "z\r\n");
}

TEST(Splitting, CountsCp936CharactersNotBytes) {
    // 600 Chinese characters (1200 bytes) with one unit: 512 + 88 characters, never cut apart.
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += "\xD6\xD0";
    TempFolder temp;
    Split s = RunSplit(temp, text);
    ASSERT_EQ(s.names.size(), 2u);
    EXPECT_EQ(s.pieces[0].size(), 1024u + 2);
    EXPECT_EQ(s.pieces[1].size(), 176u + 2);
    EXPECT_EQ(platform::DecodeCp936(s.pieces[1].substr(0, 2)), "中");
}

TEST(Splitting, MixedWidthsCutAtCharacterBoundaries) {
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "a\xCE\xC4";  // a文
    TempFolder temp;
    Split s = RunSplit(temp, text);
    ASSERT_EQ(s.names.size(), 2u);
    // 512 characters: 256 pairs of "a" and one double-byte character.
    EXPECT_EQ(s.pieces[0].size(), 256u * 3 + 2);
    EXPECT_EQ(s.pieces[0].substr(0, 3) + s.pieces[1].substr(0, 3),
              "a\xCE\xC4"
              "a\xCE\xC4");
}

TEST(Splitting, ByteOrderMarksAreDecodedAndDropped) {
    TempFolder t1;
    Split utf8 = RunSplit(t1,
                          "\xEF\xBB\xBF"
                          "中文 abc");
    ASSERT_EQ(utf8.pieces.size(), 1u);
    EXPECT_EQ(utf8.pieces[0], "\xD6\xD0\xCE\xC4 abc\r\n");
    EXPECT_TRUE(utf8.outcome.unicode_source);

    TempFolder t2;
    Split le = RunSplit(t2, std::string("\xFF\xFE\x2D\x4E"
                                        "a\x00",
                                        6));
    EXPECT_EQ(le.pieces.at(0),
              "\xD6\xD0"
              "a\r\n");
    TempFolder t3;
    Split be = RunSplit(t3, std::string("\xFE\xFF\x4E\x2D\x00"
                                        "a",
                                        6));
    EXPECT_EQ(be.pieces.at(0),
              "\xD6\xD0"
              "a\r\n");

    // Characters the code page cannot hold become references; a reference is never cut.
    TempFolder t4;
    std::string text = "\xEF\xBB\xBF" + Chars(511) +
                       "\xF0\x9F\x98\x80"
                       "b";
    Split refs = RunSplit(t4, text);
    ASSERT_EQ(refs.pieces.size(), 2u);
    EXPECT_EQ(refs.pieces[0], Chars(511) + "&#128512;\r\n");
    EXPECT_EQ(refs.pieces[1], "b\r\n");
}

TEST(Splitting, PlainGbkThatLooksLikeAMarkIsNotOne) {
    TempFolder temp;
    Split s = RunSplit(temp,
                       "\xEF\xBB"
                       "A");  // a valid double-byte character, then A
    EXPECT_EQ(s.pieces.at(0),
              "\xEF\xBB"
              "A\r\n");
    EXPECT_FALSE(s.outcome.unicode_source);
}

TEST(BadSources, EmptyFileWritesOneEmptyPieceAndFails) {
    TempFolder temp;
    Split s = RunSplit(temp, "");
    EXPECT_EQ(s.outcome.status, SplitStatus::kEmpty);
    EXPECT_EQ(s.names, std::vector<std::string>{"book_1.txt"});
    EXPECT_EQ(s.pieces.at(0), "\r\n");
    // A file of only a byte-order mark is empty too.
    TempFolder temp2;
    EXPECT_EQ(RunSplit(temp2, "\xEF\xBB\xBF").outcome.status, SplitStatus::kEmpty);
}

TEST(BadSources, UnreadableSourceIsTreatedAsEmpty) {
    // A folder in place of the file cannot be read on any system, whoever runs the test.
    TempFolder temp;
    ASSERT_TRUE(platform::CreateFolder(temp.Join("src.txt")));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("out")));
    TestControls controls;
    SplitOutcome o = SplitSourceFile(temp.Join("src.txt"), "book", temp.Join("out"), 100, controls);
    EXPECT_EQ(o.status, SplitStatus::kEmpty);
    EXPECT_EQ(ReadTestFile(temp.Join("out/book_1.txt")), "\r\n");
    // A missing file and an empty path.
    EXPECT_EQ(SplitSourceFile(temp.Join("missing.txt"), "m", temp.Join("out"), 100, controls).status,
              SplitStatus::kEmpty);
    EXPECT_EQ(SplitSourceFile("", "e", temp.Join("out"), 100, controls).status, SplitStatus::kEmpty);
    EXPECT_FALSE(TestFileExists(temp.Join("out/e_1.txt")));
}

TEST(BadSources, PiecesThatCannotBeWrittenFailTheSplit) {
    TempFolder temp;
    WriteTestFile(temp.Join("src.txt"), "abc");
    TestControls controls;
    SplitOutcome o = SplitSourceFile(temp.Join("src.txt"), "book", temp.Join("no such folder"), 100, controls);
    EXPECT_EQ(o.status, SplitStatus::kWriteFailed);
}

TEST(BadSources, TenMegabyteSource) {
    const std::string line = Gbk("第一章 Chapter one 中文") + "\r\n";
    std::string text;
    text.reserve((10 << 20) + line.size());
    while (text.size() < (10u << 20))
        text += line;
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        i += (b >= 0x81 && b <= 0xFE) ? 1 : 0;
        ++chars;
    }
    TempFolder temp;
    Split s = RunSplit(temp, text, 100);
    EXPECT_EQ(s.outcome.status, SplitStatus::kSucceeded);
    EXPECT_EQ(s.names.size(), (chars + 51199) / 51200);
    std::string joined;
    for (const std::string& p : s.pieces)
        joined += p.substr(0, p.size() - 2);
    EXPECT_TRUE(joined == text);
}

TEST(Yielding, OncePerPieceAndStopsAtOnce) {
    TempFolder temp;
    TestControls counting;
    RunSplit(temp, Chars(3 * 512), 1, "book", &counting);
    EXPECT_EQ(counting.yields, 3);

    TempFolder temp2;
    TestControls stopping;
    stopping.stop_at_yield = 2;
    Split s = RunSplit(temp2, Chars(3 * 512), 1, "book", &stopping);
    EXPECT_EQ(s.outcome.status, SplitStatus::kStopped);
    EXPECT_EQ(s.names, std::vector<std::string>{"book_1.txt"});
}

}  // namespace
