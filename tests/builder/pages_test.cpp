// Pages made from pieces: text and HTML pages, escaping, headings, charsets and titles.
#include <gtest/gtest.h>

#include "builder/pages.h"
#include "builder/platform.h"
#include "tests/builder/test_support.h"

namespace {

// The page, whole in its head: its body would not outlive the scratch.
Page Make(PageRequest request) {
    Page page;
    std::string scratch;
    MakePage(request, page, scratch);
    page.head = page.Text();
    page.body = {};
    page.tail.clear();
    return page;
}

PageRequest Text(std::string_view piece, std::string_view book = "书") {
    PageRequest r;
    r.piece = piece;
    r.text_source = true;
    r.book_name = book;
    return r;
}

PageRequest Html(std::string_view piece, bool first_page = true) {
    PageRequest r;
    r.piece = piece;
    r.first_page = first_page;
    return r;
}

// The body of a text page: what lies between <body> and </body>.
std::string Body(const Page& page) {
    const size_t start = page.Text().find("<body>") + 6;
    return page.Text().substr(start, page.Text().find("</body>") - start);
}

const std::string kCharsetMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">";

TEST(HtmlPages, LinesStayAsTheyAreBetweenHeadAndTailWithCrLfEnds) {
    PageRequest r = Html("<p>x&y</p>\nb\rc\r\nd");
    r.head = "<h>头";
    r.tail = "</h>";
    EXPECT_EQ(Make(r).Text(), kCharsetMeta + "\r\n<h>" + Gbk("头") + "\r\n\r\n<p>x&y</p>\r\nb\r\nc\r\nd\r\n</h>\r\n");
}

TEST(HtmlPages, EveryPageDeclaresTheCharsetItIsWrittenIn) {
    // The source's own declarations name what the page now is, whatever they said.
    EXPECT_EQ(Make(Html("<META http-equiv=Content-Type content=\"text/html; charset=UTF-8\">\r\n<p>")).Text(),
              "\r\n\r\n<META http-equiv=Content-Type content=\"text/html; charset=gbk\">\r\n<p>\r\n\r\n");
    EXPECT_EQ(Make(Html("<meta charset='utf-16'><?xml version=\"1.0\" encoding=\"UTF-8\"?>")).Text(),
              "\r\n\r\n<meta charset='gbk'><?xml version=\"1.0\" encoding=\"gbk\"?>\r\n\r\n");
    // Pages after the first, and a first page without a declaration, start with one of ours.
    EXPECT_EQ(Make(Html("<p>2</p>", false)).Text(), kCharsetMeta + "\r\n\r\n\r\n<p>2</p>\r\n\r\n");
    EXPECT_EQ(Make(Html("<p>1</p>")).Text().rfind(kCharsetMeta, 0), 0u);
    // "charset" outside a meta tag is text, not a declaration.
    EXPECT_NE(Make(Html("<p>charset=utf-8</p>")).Text().find("<p>charset=utf-8</p>"), std::string::npos);
}

TEST(HtmlPages, TitleFromTheFirstLineWithATitleAndUnicodePiecesAreReencoded) {
    PageRequest r = Html("a\r\n<TITLE>第一章 한</TITLE>\r\n<title>second</title>");
    r.utf8 = true;
    const Page page = Make(r);
    EXPECT_EQ(page.title, "第一章 한");
    EXPECT_NE(page.Text().find(Gbk("第一章") + " &#54620;"), std::string::npos) << "outside GBK as a reference";
}

TEST(TextPages, HeadWithCharsetTitleAndStyleLinesEscapedAndEndedByBr) {
    const std::string chinese = Gbk("第一行");
    const Page page = Make(Text(chinese + " a<b>&c\r\n\r\nlast &#20013;\r\n"));
    EXPECT_EQ(page.Text().rfind("<!123456-->\r\n<html>\r\n<head>\r\n" + kCharsetMeta + "\r\n<title>", 0), 0u);
    EXPECT_EQ(page.title, "书 - 第1页");
    EXPECT_NE(page.Text().find("<title>" + Gbk("书 - 第1页") + "</title>"), std::string::npos);
    EXPECT_EQ(Body(page), "\r\n\r\n" + chinese + " a&lt;b&gt;&amp;c<br>\r\n<br>\r\nlast &amp;#20013;<br>\r\n");
    EXPECT_EQ(page.Text().substr(page.Text().size() - 18), "</body>\r\n</html>\r\n");
}

// The body as the line-by-line rule builds it, for comparison with the block-at-a-time writer.
std::string ExpectedBody(const std::string& bytes) {
    std::string body = "\r\n";
    LineReader lines(bytes);
    std::string_view line;
    while (lines.Next(line)) {
        body += "\r\n";
        for (char c : line)
            body += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
        body += "<br>";
    }
    return body + "\r\n";
}

TEST(TextPages, AnyMixOfLineEndsMarkupAndChineseGivesTheLineByLinePage) {
    // Pages are built a block of bytes at a time: put line ends and markup at every offset, in
    // lines shorter and longer than a block.
    const std::string pieces[] = {"\r\n",
                                  "\r",
                                  "\n",
                                  "&",
                                  "<",
                                  ">",
                                  "&#20013;",
                                  "x",
                                  "abcdefghij",
                                  Gbk("中文字"),
                                  " ",
                                  "\r\n\r\n",
                                  std::string(70, 'y')};
    unsigned state = 2024;
    for (int round = 0; round < 120; ++round) {
        std::string bytes;
        const size_t count = static_cast<size_t>(round) * 3 % 97;
        for (size_t i = 0; i < count; ++i) {
            state = state * 1103515245u + 12345u;
            bytes += pieces[(state >> 16) % std::size(pieces)];
        }
        ASSERT_EQ(Body(Make(Text(bytes))), ExpectedBody(bytes)) << round;
    }
}

TEST(TextPages, AMarkerLineLeavesThePieceAsItIs) {
    EXPECT_EQ(Make(Text("x\r\n<!123456-->\r\ny")).Text(), "x\r\n<!123456-->\r\ny\r\n");
    EXPECT_NE(Make(Text(" <!123456-->")).Text().find(" &lt;!123456--&gt;<br>"), std::string::npos);
}

TEST(TextPages, HeadingLinesBecomeAnchoredHeadingsAndNameThePage) {
    const std::string text = Gbk("开头的话\r\n　　第一章 风雪\r\n他翻到第一章，开始读。\r\n第二章\r\n");
    PageRequest r = Text(text);
    r.first_anchor = 7;
    const Page page = Make(r);
    ASSERT_EQ(page.headings.size(), 2u);
    EXPECT_EQ(page.headings[0].text, "第一章 风雪");
    EXPECT_EQ(page.headings[0].anchor, "c7");
    EXPECT_EQ(page.headings[1].anchor, "c8");
    EXPECT_EQ(page.title, "书 - 第一章 风雪");
    EXPECT_TRUE(page.text_before_headings);
    EXPECT_FALSE(Make(Text(Gbk("\r\n　　\r\n第一章\r\n正文"))).text_before_headings) << "blank lines are no text";
    // The line keeps its characters, indentation included.
    EXPECT_NE(Body(page).find("\r\n<h3 id=\"c7\"><a name=\"c7\"></a>" + Gbk("　　第一章 风雪") + "</h3>\r\n" +
                              Gbk("他翻到第一章，开始读。") + "<br>"),
              std::string::npos);
}

TEST(TextPages, AHeadingCutByThePieceEndBelongsToThePageThatHoldsItsStart) {
    const std::string piece1 = Gbk("正文\r\n第十二"), piece2 = Gbk("章 归来\r\n正文");
    PageRequest first = Text(piece1);
    first.cut_line_rest = "章 归来";
    const Page page1 = Make(first);
    ASSERT_EQ(page1.headings.size(), 1u);
    EXPECT_EQ(page1.headings[0].text, "第十二章 归来");
    PageRequest second = Text(piece2);
    second.starts_mid_line = true;
    EXPECT_TRUE(Make(second).headings.empty());
    // A piece that starts a line afresh is looked at from its first line.
    EXPECT_EQ(Make(Text(Gbk("第十二章 归来"))).headings.size(), 1u);
}

TEST(TextPages, UnicodePiecesAreEscapedBeforeTheyAreReencoded) {
    PageRequest r = Text("&#20013; 한 中\r\n");
    r.utf8 = true;
    EXPECT_EQ(Body(Make(r)), "\r\n\r\n&amp;#20013; &#54620; " + Gbk("中") + "<br>\r\n");
}

TEST(PageTitles, FoundIgnoringCaseOnTheFirstLineThatHoldsOne) {
    EXPECT_EQ(PageTitleOf("<html>\r\n<TITLE>Chapter One</TITLE>\r\n"), "Chapter One");
    EXPECT_EQ(PageTitleOf("<title>Intro\r\n</title>"), "Intro");
    EXPECT_EQ(PageTitleOf("<p>no title</p>"), "");
    EXPECT_EQ(PageTitleOf("a\nb\n<Title>" + Gbk("第一章 & <b>") + "</tItle>"), "第一章 & <b>");
    EXPECT_EQ(PageTitleOf("<title>a<title>b</title>"), "a");
    // Titles are plain text: the page's character references are decoded.
    EXPECT_EQ(PageTitleOf("<title>A &amp; B &#54620;&#x4E2D;&lt;&quot;&bogus;</title>"), "A & B 한中<\"&bogus;");
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
