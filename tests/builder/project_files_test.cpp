// The contents, index and project files: slot layout, chapters, names, titles and encoding.
#include <gtest/gtest.h>

#include "builder/platform.h"
#include "builder/project_files.h"
#include "builder/project_strings.h"
#include "tests/builder/test_support.h"

namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::string text = platform::DecodeCp936(ReadTestFile(path));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the file ends with CR LF";
    return lines;
}

BookPages Pages(std::vector<PageEntry> pages) {
    BookPages book;
    book.pages = std::move(pages);
    return book;
}

// The entries of a contents or index file as "name -> local", with "[" and "]" for the opening
// and closing of sub-lists, in file order.
std::vector<std::string> Entries(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "<UL>" || lines[i] == "<UL> ;32")
            entries.push_back("[");
        else if (lines[i] == "</UL>")
            entries.push_back("]");
        else if (lines[i].rfind("<param name=\"Name\" value=\"", 0) == 0)
            entries.push_back(lines[i].substr(26, lines[i].size() - 28));
        else if (lines[i].rfind("<param name=\"Local\" value=\"", 0) == 0)
            entries.back() += " -> " + lines[i].substr(27, lines[i].size() - 29);
    }
    return entries;
}

TEST(ProjectStrings, ThirtyFiveTexts) {
    EXPECT_EQ(ProjectString(1), "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    EXPECT_EQ(ProjectString(11), "<param name=\"Name\" value=\"目录\">");
    EXPECT_EQ(ProjectString(34), "[INFOTYPES]\r\n");
    EXPECT_EQ(ProjectString(0), "");
    EXPECT_EQ(ProjectString(36), "");
    for (int id = 1; id <= kProjectStringCount; ++id)
        EXPECT_FALSE(ProjectString(id).empty()) << id;
}

TEST(ContentsFile, OneUntitledPageKeepsTheSlotLayout) {
    const std::vector<std::string> lines = ContentsLines(Pages({{"book_1.htm", ""}}));
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0], ProjectString(1));
    EXPECT_EQ(lines[8], "</OBJECT>");
    EXPECT_EQ(lines[13], "<UL> ;32");
    EXPECT_EQ(lines[15], "<param name=\"Name\" value=\"book_1.htm\">");
    EXPECT_EQ(lines[16], "<param name=\"Local\" value=\"book_1.htm\">");
    EXPECT_EQ(lines[18], "");
    EXPECT_EQ(lines[21], "<param name=\"Name\" value=\" \">");
    EXPECT_EQ(lines[23], "<param name=\"ImageNumber\" value=\"10\">");
    EXPECT_EQ(lines[26], "</BODY></HTML>");
    const std::vector<std::string> index = IndexLines(Pages({{"book_1.htm", ""}}));
    ASSERT_EQ(index.size(), 13u);
    EXPECT_EQ(index[7], "<param name=\"Name\" value=\"book_1.htm\">");
    EXPECT_EQ(index[10], "");
}

TEST(ContentsFile, TitlesAreEscapedSoThatNoEntryBreaks) {
    const BookPages book = Pages({{"b_01.htm", "第一章 \"A&B\" <x>"}, {"b_02.htm", ""}});
    const std::vector<std::string> lines = ContentsLines(book);
    EXPECT_EQ(lines[15], "<param name=\"Name\" value=\"第一章 &quot;A&amp;B&quot; &lt;x&gt;\">");
    EXPECT_EQ(lines[19], "<param name=\"Name\" value=\"b_02.htm\">");
    EXPECT_EQ(IndexLines(book)[7], lines[15]);
}

TEST(ContentsFile, ChaptersComeFirstVolumesHoldTheirChaptersAndPagesFollow) {
    BookPages book = Pages({{"b_1.htm", "书 - 第1页"}, {"b_2.htm", "书 - 第一章"}});
    book.text_before_first_chapter = true;
    book.chapters = {{HeadingKind::kChapter, false, "序章", "b_1.htm", "c1"},
                     {HeadingKind::kVolume, false, "第一卷", "b_1.htm", "c2"},
                     {HeadingKind::kChapter, false, "第一章", "b_2.htm", "c3"},
                     {HeadingKind::kVolume, false, "第二卷", "b_2.htm", "c4"},
                     {HeadingKind::kChapter, false, "第二章", "b_2.htm", "c5"},
                     {HeadingKind::kChapter, true, "后记", "b_2.htm", "c6"}};
    EXPECT_EQ(Entries(ContentsLines(book)), (std::vector<std::string>{"[",
                                                                      "目录",
                                                                      "[",
                                                                      "正文前 -> b_1.htm",
                                                                      "序章 -> b_1.htm#c1",
                                                                      "第一卷 -> b_1.htm#c2",
                                                                      "[",
                                                                      "第一章 -> b_2.htm#c3",
                                                                      "]",
                                                                      "第二卷 -> b_2.htm#c4",
                                                                      "[",
                                                                      "第二章 -> b_2.htm#c5",
                                                                      "]",
                                                                      "后记 -> b_2.htm#c6",
                                                                      "分页",
                                                                      "[",
                                                                      "书 - 第1页 -> b_1.htm",
                                                                      "书 - 第一章 -> b_2.htm",
                                                                      "]",
                                                                      "]",
                                                                      " ",
                                                                      "]"}));
    EXPECT_EQ(Entries(IndexLines(book)),
              (std::vector<std::string>{"[", "书 - 第1页 -> b_1.htm", "书 - 第一章 -> b_2.htm", "序章 -> b_1.htm#c1",
                                        "第一卷 -> b_1.htm#c2", "第一章 -> b_2.htm#c3", "第二卷 -> b_2.htm#c4",
                                        "第二章 -> b_2.htm#c5", "后记 -> b_2.htm#c6", "]"}));
    // One heading is no table of chapters: the contents list the pages as before.
    book.chapters.resize(1);
    EXPECT_EQ(ContentsLines(book).size(), 4u * 2 + 23);
}

TEST(ProjectFile, NamesTitleFirstPageAndWindowInTheStandardSyntax) {
    const BookPages book = Pages({{"book_1.htm", ""}, {"book_2.htm", ""}});
    const std::vector<std::string> expected = {
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        "Compiled file=a,b.chm",
        "Contents file=chm_hhc.hhc",
        "Default Window=chm_window",
        "Default topic=book_1.htm",
        "Display compile progress=No",
        "Index file=chm_hhk.hhk",
        "Language=0x804 中文(中国)",
        "Binary Index=No",
        "Title=a,b \"x\"",
        "[WINDOWS]",
        "chm_window=\"a,b 'x'\",\"chm_hhc.hhc\",\"chm_hhk.hhk\",\"book_1.htm\",\"book_1.htm\",,,,,0x2120,,0x8380e,"
        "[28,28,1020,720],,,,,,,",
        "[FILES]",
        "book_1.htm",
        "book_2.htm",
        "[INFOTYPES]\r\n",
        "",
        ""};
    EXPECT_EQ(ProjectLines(book, {"a,b \"x\"", "a,b.chm"}), expected);
}

TEST(ProjectFiles, WrittenNewInCodePage936) {
    TempFolder temp;
    const BookPages book = Pages({{"\xF0\x9F\x98\x80_1.htm", ""}});
    ASSERT_EQ(WriteProjectFile(temp.path(), book, {BookName(""), "chm文件.chm"}).status, StepResult::kDone);
    const std::string bytes = ReadTestFile(temp.Join("chm_hhp.hhp"));
    EXPECT_NE(bytes.find("Compiled file=chm" + Gbk("文件") + ".chm\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n&#128512;_1.htm\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 19), "[INFOTYPES]\r\n\r\n\r\n\r\n");
    EXPECT_EQ(FileLines(temp.Join("chm_hhp.hhp"))[8], "Language=0x804 中文(中国)");
    // A file of that name is never written over.
    StepResult again = WriteProjectFile(temp.path(), book, {"x", "x.chm"});
    EXPECT_EQ(again.status, StepResult::kFailed);
    EXPECT_NE(again.reason.find("chm_hhp.hhp"), std::string::npos);
    EXPECT_EQ(ReadTestFile(temp.Join("chm_hhp.hhp")), bytes);
}

}  // namespace
