// The contents, index and project files: slot layout, names, titles and encoding.
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

TEST(ProjectStrings, ThirtyFiveTexts) {
    EXPECT_EQ(ProjectString(1), "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    EXPECT_EQ(ProjectString(11), "<param name=\"Name\" value=\"目录\">");
    EXPECT_EQ(ProjectString(16), "\">");
    EXPECT_EQ(ProjectString(30), "Language=0x804 中文(中国)");
    EXPECT_EQ(ProjectString(34), "[INFOTYPES]\r\n");
    EXPECT_EQ(ProjectString(35), "chm_window=");
    EXPECT_EQ(ProjectString(0), "");
    EXPECT_EQ(ProjectString(36), "");
    for (int id = 1; id <= kProjectStringCount; ++id)
        EXPECT_FALSE(ProjectString(id).empty()) << id;
}

TEST(ContentsFile, OneUntitledPage) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("book_1.htm"), "\r\n\r\nplain\r\n\r\n");
    controls.file2.SetPath(temp.path());
    ASSERT_EQ(WriteContentsFile(controls), StepStatus::kDone);
    std::vector<std::string> lines = FileLines(temp.Join("chm_hhc.hhc"));
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0], ProjectString(1));
    EXPECT_EQ(lines[8], "</OBJECT>");
    EXPECT_EQ(lines[13], "<UL> ;32");
    EXPECT_EQ(lines[14], "<LI> <OBJECT type=\"text/sitemap\">");
    EXPECT_EQ(lines[15], "<param name=\"Name\" value=\"book_1.htm\">");
    EXPECT_EQ(lines[16], "<param name=\"Local\" value=\"book_1.htm\">");
    EXPECT_EQ(lines[17], "</OBJECT>");
    EXPECT_EQ(lines[18], "");
    EXPECT_EQ(lines[21], "<param name=\"Name\" value=\" \">");
    EXPECT_EQ(lines[22], "");
    EXPECT_EQ(lines[23], "<param name=\"ImageNumber\" value=\"10\">");
    EXPECT_EQ(lines[26], "</BODY></HTML>");
    EXPECT_EQ(controls.yields, 1 + 4);  // the page, and its four lines without a title
}

TEST(IndexFile, OneUntitledPage) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("book_1.htm"), "x");
    controls.file2.SetPath(temp.path());
    ASSERT_EQ(WriteIndexFile(controls), StepStatus::kDone);
    std::vector<std::string> lines = FileLines(temp.Join("chm_hhk.hhk"));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "<HTML>");
    EXPECT_EQ(lines[5], "<UL>");
    EXPECT_EQ(lines[7], "<param name=\"Name\" value=\"book_1.htm\">");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], "</UL>");
    EXPECT_EQ(lines[12], "</BODY></HTML>");
}

TEST(ContentsFile, TitlesAreCarriedUnchangedAndPagesKeepTheirOrder) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("b_01.htm"), "<TITLE>" + Gbk("第一章 \"A&B\" <x>") + "</TITLE>");
    WriteTestFile(temp.Join("b_02.htm"), "no title");
    WriteTestFile(temp.Join("b_10.htm"), "<title>Ten</title>");
    controls.file2.SetPath(temp.path());
    ASSERT_EQ(WriteContentsFile(controls), StepStatus::kDone);
    ASSERT_EQ(WriteIndexFile(controls), StepStatus::kDone);
    std::vector<std::string> hhc = FileLines(temp.Join("chm_hhc.hhc"));
    ASSERT_EQ(hhc.size(), 4u * 3 + 23);
    EXPECT_EQ(hhc[15], "<param name=\"Name\" value=\"第一章 \"A&B\" <x>\">");
    EXPECT_EQ(hhc[16], "<param name=\"Local\" value=\"b_01.htm\">");
    EXPECT_EQ(hhc[19], "<param name=\"Name\" value=\"b_02.htm\">");
    EXPECT_EQ(hhc[23], "<param name=\"Name\" value=\"Ten\">");
    std::vector<std::string> hhk = FileLines(temp.Join("chm_hhk.hhk"));
    ASSERT_EQ(hhk.size(), 4u * 3 + 9);
    EXPECT_EQ(hhk[7], hhc[15]);
    EXPECT_EQ(hhk[16], "<param name=\"Local\" value=\"b_10.htm\">");
}

TEST(ProjectFile, NamesThePagesOfThisBook) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("book_1.htm"), "1");
    WriteTestFile(temp.Join("book_2.htm"), "2");
    controls.file2.SetPath(temp.path());
    ASSERT_EQ(WriteProjectFile(controls, "book"), StepStatus::kDone);
    std::vector<std::string> lines = FileLines(temp.Join("chm_hhp.hhp"));
    std::vector<std::string> expected = {"[OPTIONS]",
                                         "Compatibility=1.1 or later",
                                         "Compiled file=book.chm",
                                         "Contents file=chm_hhc.hhc",
                                         "Default Window=chm_window",
                                         "",
                                         "Display compile progress=No",
                                         "Index file=chm_hhk.hhk",
                                         "Language=0x804 中文(中国)",
                                         "[WINDOWS]",
                                         "chm_window=book,\"chm_hhc.hhc\",\"chm_hhk.hhk\",,,,,,,0x2120,,0x8380e,"
                                         "[28,28,1020,720],,,,,,,",
                                         "[FILES]",
                                         "book_1.htm",
                                         "book_2.htm",
                                         "[INFOTYPES]",
                                         "",
                                         "",
                                         ""};
    EXPECT_EQ(lines, expected);
    std::string bytes = ReadTestFile(temp.Join("chm_hhp.hhp"));
    EXPECT_EQ(bytes.substr(bytes.size() - 19), "[INFOTYPES]\r\n\r\n\r\n\r\n");
    EXPECT_NE(bytes.find("Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)"), std::string::npos);
}

TEST(ProjectFile, EmptyBaseNameAndNamesOutsideTheCodePage) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("\xF0\x9F\x98\x80_1.htm"), "1");
    controls.file2.SetPath(temp.path());
    ASSERT_EQ(WriteProjectFile(controls, ""), StepStatus::kDone);
    std::string bytes = ReadTestFile(temp.Join("chm_hhp.hhp"));
    EXPECT_NE(bytes.find("Compiled file=chm" + Gbk("文件") + ".chm\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("chm_window=chm" + Gbk("文件") + ",\""), std::string::npos);
    EXPECT_NE(bytes.find("\r\n&#128512;_1.htm\r\n"), std::string::npos);
}

TEST(ProjectFiles, AFolderThatCannotBeWrittenFails) {
    TempFolder temp;
    TestControls controls;
    WriteTestFile(temp.Join("book_1.htm"), "1");
    controls.file2.SetPath(temp.path());
    ASSERT_TRUE(platform::CreateFolder(temp.Join("chm_hhp.hhp")));
    EXPECT_EQ(WriteProjectFile(controls, "book"), StepStatus::kFailed);
    TestControls stopping;
    stopping.file2.SetPath(temp.path());
    stopping.stop_at_yield = 1;
    EXPECT_EQ(WriteContentsFile(stopping), StepStatus::kStopped);
    EXPECT_FALSE(TestFileExists(temp.Join("chm_hhc.hhc")));
}

}  // namespace
