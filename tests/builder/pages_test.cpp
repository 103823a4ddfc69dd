// Pages: wrapping, renaming, titles and ExtractBetween.
#include <gtest/gtest.h>

#include "builder/pages.h"
#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "tests/builder/test_support.h"

namespace {

// Writes the files into a folder and points File2 at it.
void Prepare(TempFolder& temp, TestControls& controls, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, bytes] : files)
        WriteTestFile(temp.Join(name), bytes);
    controls.file2.SetPath(temp.path());
}

const std::string kTextHead =
    "<!123456-->\r\n<html>\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n</head>\r\n<body>";
const std::string kTextTail = "</body>\r\n</html>";

TEST(WrapPages, HtmlPiecesGetTheEmptyHeadAndTailAndUnchangedLines) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"book_1.txt", "abc\r\ndef\r\n"}});
    EXPECT_EQ(WrapPages(controls, PageStyle{}), StepStatus::kDone);
    EXPECT_EQ(ReadTestFile(temp.Join("book_1.txt")), "\r\n\r\nabc\r\ndef\r\n\r\n");
}

TEST(WrapPages, HeadAndTailAreReadForEveryPage) {
    TempFolder temp;
    TestControls controls;
    controls.head = "<h>头";
    controls.tail = "</h>";
    Prepare(temp, controls, {{"a_1.txt", "<p>x&y</p>"}, {"a_2.txt", "z"}});
    EXPECT_EQ(WrapPages(controls, PageStyle{}), StepStatus::kDone);
    EXPECT_EQ(ReadTestFile(temp.Join("a_1.txt")), "<h>" + Gbk("头") + "\r\n\r\n<p>x&y</p>\r\n</h>\r\n");
    EXPECT_EQ(ReadTestFile(temp.Join("a_2.txt")), "<h>" + Gbk("头") + "\r\n\r\nz\r\n</h>\r\n");
}

TEST(WrapPages, AllLineEndsBecomeCrLf) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"b_1.txt", "a\nb\rc\r\nd"}});
    WrapPages(controls, PageStyle{});
    EXPECT_EQ(ReadTestFile(temp.Join("b_1.txt")), "\r\n\r\na\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(WrapPages, TextPiecesAreEscapedAndEndEachLineWithBr) {
    TempFolder temp;
    TestControls controls;
    std::string chinese = Gbk("第一行");
    Prepare(temp, controls, {{"t_1.txt", chinese + " a<b>&c\r\n\r\nlast &#20013;\r\n"}});
    PageStyle style;
    style.text_source = true;
    EXPECT_EQ(WrapPages(controls, style), StepStatus::kDone);
    EXPECT_EQ(ReadTestFile(temp.Join("t_1.txt")), kTextHead + "\r\n\r\n" + chinese +
                                                      " a&lt;b&gt;&amp;c<br>\r\n<br>\r\nlast &amp;#20013;<br>\r\n" +
                                                      kTextTail + "\r\n");
}

TEST(WrapPages, EscapingFindsEveryMarkupCharacterInLongLines) {
    // Long lines are scanned eight bytes at a time: put the characters at every offset.
    std::string line;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        const char* special = i % 3 == 0 ? "&" : i % 3 == 1 ? "<" : ">";
        const char* escaped = i % 3 == 0 ? "&amp;" : i % 3 == 1 ? "&lt;" : "&gt;";
        std::string filler(static_cast<size_t>(i % 11), 'x');
        line += filler + special;
        expected += filler + escaped;
    }
    line += Gbk("中文结尾");
    expected += Gbk("中文结尾");
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"l_1.txt", line}});
    PageStyle style;
    style.text_source = true;
    WrapPages(controls, style);
    EXPECT_EQ(ReadTestFile(temp.Join("l_1.txt")), kTextHead + "\r\n\r\n" + expected + "<br>\r\n" + kTextTail + "\r\n");
}

// The page as the line-by-line rule builds it, for comparison with what WrapPages writes.
std::string ExpectedPage(const std::string& bytes, const PageStyle& style) {
    std::string page = style.text_source ? kTextHead : "";
    page += "\r\n";
    LineReader lines(bytes);
    std::string_view line;
    while (lines.Next(line)) {
        page += "\r\n";
        if (!style.text_source) {
            page += line;
            continue;
        }
        for (size_t i = 0; i < line.size(); ++i) {
            size_t j = i + 2;
            while (style.keep_char_refs && line.substr(i, 2) == "&#" && j < line.size() && j - i - 2 < 8 &&
                   line[j] >= '0' && line[j] <= '9')
                ++j;
            if (j > i + 2 && j < line.size() && line[j] == ';') {
                page += line.substr(i, j + 1 - i);
                i = j;
            } else {
                page += line[i] == '&'   ? "&amp;"
                        : line[i] == '<' ? "&lt;"
                        : line[i] == '>' ? "&gt;"
                                         : line.substr(i, 1);
            }
        }
        page += "<br>";
    }
    page += "\r\n";
    if (style.text_source)
        page += kTextTail;
    page += "\r\n";
    return page;
}

TEST(WrapPages, AnyMixOfLineEndsMarkupAndChineseGivesTheLineByLinePage) {
    // Pages are built a block of bytes at a time: put line ends, markup and references at
    // every offset, in lines shorter and longer than a block.
    const std::string pieces[] = {
        "\r\n", "\r", "\n",         "&",           "<", ">",        "&#20013;",          "&#123456789;",
        "&#",   "x",  "abcdefghij", Gbk("中文字"), " ", "\r\n\r\n", std::string(70, 'y')};
    unsigned state = 2024;
    TempFolder temp;
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        size_t count = static_cast<size_t>(round) * 3 % 97;
        for (size_t i = 0; i < count; ++i) {
            state = state * 1103515245u + 12345u;
            bytes += pieces[(state >> 16) % std::size(pieces)];
        }
        for (int kind = 0; kind < 3; ++kind) {
            PageStyle style;
            style.text_source = kind > 0;
            style.keep_char_refs = kind == 2;
            const std::string folder = temp.Join(std::to_string(round * 3 + kind));
            ASSERT_TRUE(platform::CreateFolder(folder));
            const std::string path = platform::JoinPath(folder, "p_1.txt");
            WriteTestFile(path, bytes);
            TestControls controls;
            controls.file2.SetPath(folder);
            ASSERT_EQ(WrapPages(controls, style), StepStatus::kDone);
            ASSERT_EQ(ReadTestFile(path), ExpectedPage(bytes, style)) << round << " " << kind;
        }
    }
}

TEST(WrapPages, ReferencesFromUnicodeSourcesAreKept) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"u_1.txt", "&#128512; & &#x41; &#;"}});
    PageStyle style;
    style.text_source = true;
    style.keep_char_refs = true;
    WrapPages(controls, style);
    EXPECT_EQ(ReadTestFile(temp.Join("u_1.txt")),
              kTextHead + "\r\n\r\n&#128512; &amp; &amp;#x41; &amp;#;<br>\r\n" + kTextTail + "\r\n");
}

TEST(WrapPages, TheMarkerLineLeavesAFileUntouched) {
    TempFolder temp;
    TestControls controls;
    const std::string page = "x\r\n<!123456-->\r\ny";
    const std::string not_marker = " <!123456-->\r\n";
    Prepare(temp, controls, {{"m_1.txt", page}, {"m_2.txt", not_marker}});
    PageStyle style;
    style.text_source = true;
    EXPECT_EQ(WrapPages(controls, style), StepStatus::kDone);
    EXPECT_EQ(ReadTestFile(temp.Join("m_1.txt")), page);
    EXPECT_EQ(ReadTestFile(temp.Join("m_2.txt")),
              kTextHead + "\r\n\r\n &lt;!123456--&gt;<br>\r\n" + kTextTail + "\r\n");
    // A text page is a page: wrapping it again changes nothing.
    std::string wrapped = ReadTestFile(temp.Join("m_2.txt"));
    WrapPages(controls, style);
    EXPECT_EQ(ReadTestFile(temp.Join("m_2.txt")), wrapped);
}

TEST(WrapPages, YieldsBeforeEveryLineAndStops) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"y_1.txt", "a\r\nb\r\nc\r\n"}});
    WrapPages(controls, PageStyle{});
    EXPECT_EQ(controls.yields, 4);  // three lines and the end of the file
    TempFolder temp2;
    TestControls stopping;
    stopping.stop_at_yield = 2;
    Prepare(temp2, stopping, {{"y_1.txt", "a\r\nb\r\n"}});
    EXPECT_EQ(WrapPages(stopping, PageStyle{}), StepStatus::kStopped);
    EXPECT_EQ(ReadTestFile(temp2.Join("y_1.txt")), "a\r\nb\r\n");
}

TEST(WrapPages, AListedFileThatVanishedFails) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"v_1.txt", "a"}});
    platform::DeleteFileAt(temp.Join("v_1.txt"));
    EXPECT_EQ(WrapPages(controls, PageStyle{}), StepStatus::kFailed);
}

TEST(RenamePages, OnlyExactTxtEndingsChange) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"book_01.txt", "1"}, {"x.TXT", "2"}, {"y.htm", "3"}});
    EXPECT_EQ(RenamePages(controls), StepStatus::kDone);
    controls.file2.Refresh();
    std::vector<std::string> names;
    for (int i = 0; i < controls.file2.ListCount(); ++i)
        names.push_back(controls.file2.List(i));
    EXPECT_EQ(names, (std::vector<std::string>{"book_01.htm", "x.TXT", "y.htm"}));
    EXPECT_EQ(ReadTestFile(temp.Join("book_01.htm")), "1");
}

TEST(RenamePages, AnExistingTargetIsNeverReplaced) {
    TempFolder temp;
    TestControls controls;
    Prepare(temp, controls, {{"p_1.htm", "old page"}, {"p_1.txt", "piece"}});
    EXPECT_EQ(RenamePages(controls), StepStatus::kFailed);
    EXPECT_EQ(ReadTestFile(temp.Join("p_1.htm")), "old page");
}

std::string Title(const std::string& bytes) {
    TempFolder temp;
    WriteTestFile(temp.Join("page.htm"), bytes);
    TestControls controls;
    return ReadPageTitle(temp.Join("page.htm"), controls);
}

TEST(ReadPageTitle, FoundIgnoringCaseButKeepsItsLetters) {
    EXPECT_EQ(Title("<html>\r\n<TITLE>Chapter One</TITLE>\r\n"), "Chapter One");
    EXPECT_EQ(Title("<title>Intro\r\n</title>"), "Intro");
    EXPECT_EQ(Title("<p>no title</p>\r\n"), "");
    EXPECT_EQ(Title(""), "");
    EXPECT_EQ(Title("a\nb\n<Title>" + Gbk("第一章 & <b>") + "</tItle>"), "第一章 & <b>");
    EXPECT_EQ(Title("<title>a<title>b</title>"), "a");
    EXPECT_EQ(Title("<title> spaced </title><title>second</title>"), " spaced ");
}

TEST(WrapPages, NotesTheTitleEachPageWillBeReadWith) {
    TempFolder temp;
    TestControls controls;
    controls.tail = "<TITLE>From the tail</TITLE>";
    Prepare(temp, controls,
            {{"a_1.txt", "<title>not a title in text</title>"}, {"a_2.txt", "<!123456-->\r\n<title>Kept</title>"}});
    PageStyle text;
    text.text_source = true;
    PageTitles titles;
    EXPECT_EQ(WrapPages(controls, text, &titles), StepStatus::kDone);
    EXPECT_EQ(titles, (PageTitles{{"a_1.htm", "From the tail"}, {"a_2.htm", "Kept"}}));
    // The noted titles are what reading the pages gives.
    EXPECT_EQ(ReadPageTitle(temp.Join("a_1.txt"), controls), "From the tail");

    TempFolder temp2;
    TestControls html;
    Prepare(temp2, html, {{"b_1.txt", "x\r\n<Title>Page</Title>"}, {"b_2.txt", "none"}});
    titles.clear();
    WrapPages(html, PageStyle{}, &titles);
    EXPECT_EQ(titles, (PageTitles{{"b_1.htm", "Page"}, {"b_2.htm", ""}}));
}

TEST(ReadPageTitle, UnreadablePageHasNoTitleAndLinesYield) {
    TempFolder temp;
    TestControls controls;
    EXPECT_EQ(ReadPageTitle(temp.Join("missing.htm"), controls), "");
    WriteTestFile(temp.Join("p.htm"), "a\r\nb\r\n<title>t</title>\r\n");
    EXPECT_EQ(ReadPageTitle(temp.Join("p.htm"), controls), "t");
    EXPECT_EQ(controls.yields, 2);
    TestControls stopping;
    stopping.stop_at_yield = 1;
    bool stopped = false;
    EXPECT_EQ(ReadPageTitle(temp.Join("p.htm"), stopping, &stopped), "");
    EXPECT_TRUE(stopped);
}

TEST(ExtractBetween, Examples) {
    EXPECT_EQ(ExtractBetween("<title>abc</title>", "<title>", "</title>"), "abc");
    EXPECT_EQ(ExtractBetween("<title>abc", "<title>", "</title>"), "abc");
    EXPECT_EQ(ExtractBetween("<title>a<title>b</title>", "<title>", "</title>"), "a");
    EXPECT_EQ(ExtractBetween("x", "<title>", "</title>"), "");
    EXPECT_EQ(ExtractBetween("<TITLE>abc</TITLE>", "<title>", "</title>"), "");
    EXPECT_EQ(ExtractBetween("<TITLE>AbC</Title>", "<title>", "</title>", true), "AbC");
}

}  // namespace
