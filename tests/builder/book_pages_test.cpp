// Cutting sources into pages: counts, boundaries, names, encodings, headings and failures.
#include <gtest/gtest.h>

#include "builder/book_pages.h"
#include "builder/platform.h"
#include "builder/source_text.h"
#include "tests/builder/test_support.h"

namespace {

struct Written {
    StepResult result;
    BookPages book;
    std::vector<std::string> names;  // pages in the folder, sorted
};

// A file that gives at most `most` bytes a read, and fails reading at `fail_at`.
class TrickleFile : public platform::SourceFile {
  public:
    TrickleFile(std::string bytes, size_t most, uint64_t fail_at = UINT64_MAX)
        : bytes_(std::move(bytes)), most_(most), fail_at_(fail_at) {}
    bool ReadAt(uint64_t offset, char* into, size_t room, size_t* got, std::string& reason) override {
        if (offset + room > fail_at_) {
            reason = "the disk is gone";
            return false;
        }
        *got = offset < bytes_.size() ? bytes_.copy(into, std::min(room, most_), static_cast<size_t>(offset)) : 0;
        return true;
    }
    uint64_t size() const override { return bytes_.size(); }

  private:
    std::string bytes_;
    size_t most_;
    uint64_t fail_at_;
};

Written WritePagesOf(TempFolder& temp,
                     SourceText& text,
                     size_t piece_chars,
                     SourceEncoding encoding = SourceEncoding::kGb18030,
                     TestControls* controls_in = nullptr) {
    const std::string folder = temp.Join("out");
    platform::CreateFolder(folder);
    TestControls local;
    TestControls& controls = controls_in ? *controls_in : local;
    PageSource source;
    source.text = &text;
    source.encoding = encoding;
    source.text_source = true;
    source.book_name = "书";
    source.page_base = "book";
    Written w;
    w.result = WriteBookPages(source, piece_chars, folder, controls, w.book);
    w.names = ListSourceFolder(folder);
    return w;
}

Written WritePages(TempFolder& temp,
                   const std::string& bytes,
                   size_t piece_chars,
                   SourceEncoding encoding = SourceEncoding::kGb18030,
                   TestControls* controls = nullptr) {
    SourceText text(bytes);
    return WritePagesOf(temp, text, piece_chars, encoding, controls);
}

// The text of a page of one line: its piece, decoded.
std::string PieceOf(const std::string& page) {
    const size_t start = page.find("<body>\r\n\r\n") + 10;
    return platform::DecodeCp936(page.substr(start, page.find("<br>\r\n</body>") - start));
}

TEST(PageNames, ZeroPaddedToTheDigitsOfTheCount) {
    EXPECT_EQ(PageFileName("book", 1, 9), "book_1.htm");
    EXPECT_EQ(PageFileName("book", 1, 12), "book_01.htm");
    EXPECT_EQ(PageFileName("book", 100, 100), "book_100.htm");
}

TEST(BookPages, NoCharacterIsRepeatedOrLostAtAnyLength) {
    const size_t piece = 7;
    for (size_t length : {1, 6, 7, 8, 14, 26}) {
        TempFolder temp;
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>('a' + i % 26);
        Written w = WritePages(temp, text, piece);
        ASSERT_EQ(w.result.status, StepResult::kDone);
        ASSERT_EQ(w.names.size(), (length + piece - 1) / piece) << length;
        std::string joined;
        for (const std::string& name : w.names)
            joined += PieceOf(ReadTestFile(temp.Join("out/" + name)));
        EXPECT_EQ(joined, text) << length;
    }
}

TEST(BookPages, CountsCharactersNotBytesInEveryEncoding) {
    const std::string chinese = "春眠不觉晓";  // five characters
    const std::string utf16le("\x25\x66\x20\x77\x0D\x4E\xC9\x89\x53\x66", 10);
    for (auto [bytes, encoding] :
         {std::pair{Gbk(chinese), SourceEncoding::kGb18030}, std::pair{chinese, SourceEncoding::kUtf8},
          std::pair{utf16le, SourceEncoding::kUtf16Le}}) {
        TempFolder temp;
        Written w = WritePages(temp, bytes, 2, encoding);
        ASSERT_EQ(w.names, (std::vector<std::string>{"book_1.htm", "book_2.htm", "book_3.htm"}));
        EXPECT_EQ(PieceOf(ReadTestFile(temp.Join("out/book_2.htm"))), "不觉");
        EXPECT_EQ(PieceOf(ReadTestFile(temp.Join("out/book_3.htm"))), "晓");
    }
}

TEST(BookPages, YieldOncePerPageReportProgressAndStopAtOnce) {
    TempFolder temp;
    TestControls controls;
    WritePages(temp, std::string(30, 'x'), 10, SourceEncoding::kGb18030, &controls);
    EXPECT_EQ(controls.yields, 3);
    EXPECT_EQ(controls.progress, (std::vector<int>{33, 66, 100}));

    TempFolder temp2;
    TestControls stopping;
    stopping.stop_at_yield = 2;
    Written w = WritePages(temp2, std::string(30, 'x'), 10, SourceEncoding::kGb18030, &stopping);
    EXPECT_EQ(w.result.status, StepResult::kStopped);
    EXPECT_EQ(w.names, std::vector<std::string>{"book_1.htm"});
}

TEST(BookPages, NeverWritesOverAFileThatIsThere) {
    TempFolder temp;
    ASSERT_TRUE(platform::CreateFolder(temp.Join("out")));
    WriteTestFile(temp.Join("out/book_2.htm"), "someone else's");
    Written w = WritePages(temp, std::string(20, 'x'), 10);
    EXPECT_EQ(w.result.status, StepResult::kFailed);
    EXPECT_NE(w.result.reason.find("book_2.htm"), std::string::npos) << w.result.reason;
    EXPECT_EQ(ReadTestFile(temp.Join("out/book_2.htm")), "someone else's");
}

TEST(BookPages, ChaptersAreListedWithThePageThatHoldsTheirLine) {
    // Pieces of 12 characters: the second heading is cut in two by the end of page 2.
    const std::string text = "简介一二\r\n第一章起\r\n正文正文正文正\r\n第二章 末\r\n正文正文\r\n";
    TempFolder temp;
    Written w = WritePages(temp, Gbk(text), 12);
    ASSERT_EQ(w.result.status, StepResult::kDone);
    ASSERT_EQ(w.book.chapters.size(), 2u);
    EXPECT_EQ(w.book.chapters[0].title, "第一章起");
    EXPECT_EQ(w.book.chapters[0].file, "book_1.htm");
    EXPECT_EQ(w.book.chapters[1].title, "第二章 末");
    EXPECT_EQ(w.book.chapters[1].file, "book_2.htm");
    EXPECT_EQ(w.book.chapters[1].anchor, "c2");
    EXPECT_NE(ReadTestFile(temp.Join("out/book_2.htm")).find("<a name=\"c2\">"), std::string::npos);
    EXPECT_TRUE(w.book.text_before_first_chapter);
    EXPECT_EQ(w.book.pages[1].title, "书 - 第二章 末");
    EXPECT_EQ(w.book.pages[2].title, "书 - 第3页");
}

TEST(BookPages, ASourceReadAFewBytesAtATimeGivesTheSamePages) {
    // Headings and line ends cut by piece ends, four-byte characters and text that is not GBK.
    std::string text;
    for (int i = 1; i <= 12; ++i)
        text += Gbk("第" + std::to_string(i) + "章 风起\r\n正文，春眠不觉晓 <b>&</b>\r\n") + "\x81\x39\xEE\x39 end\r\n";
    for (size_t piece : {5, 9, 16, 40}) {
        TempFolder whole_temp, trickle_temp;
        const Written whole = WritePages(whole_temp, text, piece);
        TrickleFile file(text, 5);
        SourceText trickle_text(file, 16);
        const Written trickle = WritePagesOf(trickle_temp, trickle_text, piece);
        ASSERT_EQ(trickle.result.status, StepResult::kDone) << trickle.result.reason;
        ASSERT_EQ(trickle.names, whole.names) << piece;
        for (const std::string& name : whole.names) {
            EXPECT_EQ(ReadTestFile(trickle_temp.Join("out/" + name)), ReadTestFile(whole_temp.Join("out/" + name)))
                << piece << " " << name;
        }
        ASSERT_EQ(trickle.book.chapters.size(), 12u) << piece;
        for (size_t i = 0; i < 12; ++i)
            EXPECT_EQ(trickle.book.chapters[i].file, whole.book.chapters[i].file) << piece;
        EXPECT_TRUE(trickle.book.four_byte_chars);
    }

    TempFolder failing_temp;
    TrickleFile failing(text, 64, 200);
    SourceText failing_text(failing, 16);
    const Written failed = WritePagesOf(failing_temp, failing_text, 9);
    EXPECT_EQ(failed.result.status, StepResult::kFailed);
    EXPECT_EQ(failed.result.reason, "the disk is gone");
}

TEST(BookPages, NamesFollowTheRealCountWhenTheFirstPageForetoldItWrong) {
    // A first page of ASCII foretells one byte a character; the rest has two: 8 pages, not 13.
    const std::string text =
        "abcde\r\n" + Gbk("春眠不觉晓处处\r\n闻啼鸟夜来\r\n第二章 风雨\r\n声花落知多少春眠不觉晓处处闻啼鸟夜来风雨声");
    TempFolder temp;
    const Written w = WritePages(temp, text, 7);
    ASSERT_EQ(w.result.status, StepResult::kDone) << w.result.reason;
    std::vector<std::string> expected;
    for (int k = 1; k <= 8; ++k)
        expected.push_back("book_" + std::to_string(k) + ".htm");
    EXPECT_EQ(w.names, expected);
    ASSERT_EQ(w.book.pages.size(), 8u);
    EXPECT_EQ(w.book.pages[7].file, "book_8.htm");
    ASSERT_EQ(w.book.chapters.size(), 1u);
    EXPECT_EQ(w.book.chapters[0].file, "book_4.htm");
}

}  // namespace
