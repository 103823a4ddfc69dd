// The whole Convert & Generate run over real folders, with stand-in compilers.
#include <gtest/gtest.h>

#include <new>

#include "builder/convert_run.h"
#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "tests/builder/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const char kWaiting[] = "请稍候—文件正在生成中......";
const char kFinished[] = "生成完毕,文件生成在自动创建目录下的后涰名chm的文件";

struct RunResult {
    bool completed = false;
    std::vector<BookReport> outcomes;  // the compiles' final reports
};

RunResult RunOver(TestControls& controls, const std::string& folder, const std::string& compiler_kind = "writes") {
    controls.file1.SetPath(folder);
    CompileQueue queue;
    RunOptions options;
    options.compiler = compiler_kind.empty() ? "" : FakeCompilerPath(compiler_kind);
    RunResult result;
    result.completed = ConvertAndGenerate(controls, queue, options);
    result.outcomes = queue.WaitAll();
    for (const BookReport& o : result.outcomes)
        controls.list1.SetEntry(o.index, o.line);
    return result;
}

TEST(Run, AnEmptySourceListDoesNothing) {
    TempFolder temp;
    WriteTestFile(temp.Join("other.doc"), "x");
    TestControls controls;
    controls.status = "before";
    EXPECT_TRUE(RunOver(controls, temp.path()).completed);
    EXPECT_EQ(controls.status, "before");
    EXPECT_TRUE(controls.list1.lines.empty());
    EXPECT_EQ(SnapshotTree(temp.path()).size(), 1u);
}

TEST(Run, BuildsABookPerFileAndCountsLinesNotFiles) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), Gbk("第一本 book"));
    WriteTestFile(temp.Join("b.txt"), "");
    WriteTestFile(temp.Join("c.htm"), "<title>C</title>");
    TestControls controls;
    ASSERT_TRUE(RunOver(controls, temp.path()).completed);
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"a_成功", "c_成功"}));
    EXPECT_EQ(controls.count, "完成2个文件");
    EXPECT_EQ(controls.status, kFinished);
    for (const char* f : {"a/a_1.htm", "a/chm_hhc.hhc", "a/chm_hhk.hhk", "a/chm_hhp.hhp", "a/a.chm", "c/c.chm"})
        EXPECT_TRUE(TestFileExists(temp.Join(f))) << f;
    // The empty source leaves its folder with the one empty piece and no book.
    EXPECT_EQ(ReadTestFile(temp.Join("b/b_1.txt")), "\r\n");
    EXPECT_FALSE(TestFileExists(temp.Join("b/chm_hhp.hhp")));
    EXPECT_TRUE(controls.messages.empty());
}

TEST(Run, SameBaseNameAndDottedNames) {
    TempFolder temp;
    WriteTestFile(temp.Join("book.htm"), "h");
    WriteTestFile(temp.Join("book.txt"), "t");
    WriteTestFile(temp.Join("a.b.txt"), "ab");
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"a_成功", "book_成功", "book_目录已存在！"}));
    EXPECT_TRUE(TestFileExists(temp.Join("a/a_1.htm")));
    EXPECT_EQ(controls.count, "完成2个文件");
}

TEST(Run, ExistingFoldersWithAnyEntryAreSkippedAndEmptyOnesUsed) {
    TempFolder temp;
    for (const char* f : {"full", "hidden", "sub", "empty"})
        WriteTestFile(temp.Join(std::string(f) + ".txt"), "text");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("full")));
    WriteTestFile(temp.Join("full/keep.txt"), "mine");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("hidden")));
    WriteTestFile(temp.Join("hidden/.secret"), "s");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("sub")));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("sub/inner")));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("empty")));
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines,
              (std::vector<std::string>{"empty_成功", "full_目录已存在！", "hidden_目录已存在！", "sub_目录已存在！"}));
    EXPECT_EQ(ReadTestFile(temp.Join("full/keep.txt")), "mine");
    EXPECT_EQ(SnapshotTree(temp.Join("full")).size(), 1u);
    EXPECT_TRUE(TestFileExists(temp.Join("empty/empty.chm")));
    EXPECT_EQ(controls.count, "完成1个文件");
}

TEST(Run, RunningTwiceChangesNothingTheSecondTime) {
    TempFolder temp;
    WriteTestFile(temp.Join("one.txt"), Gbk("一 <b>") + "\r\n");
    WriteTestFile(temp.Join("two words.htm"), "<title>Two</title>");
    std::string long_text;
    while (long_text.size() < 120000)
        long_text += Gbk("长文本 long text ") + "\n";
    WriteTestFile(temp.Join("long.txt"), long_text);
    auto sources_before = SnapshotTree(temp.path());

    TestControls first;
    RunOver(first, temp.path());
    EXPECT_EQ(first.list1.lines, (std::vector<std::string>{"long_成功", "one_成功", "two words_成功"}));
    auto after_first = SnapshotTree(temp.path());

    TestControls second;
    ASSERT_TRUE(RunOver(second, temp.path()).completed);
    EXPECT_EQ(second.list1.lines,
              (std::vector<std::string>{"long_目录已存在！", "one_目录已存在！", "two words_目录已存在！"}));
    EXPECT_EQ(second.count, "");
    EXPECT_EQ(second.status, kFinished);
    EXPECT_TRUE(SnapshotTree(temp.path()) == after_first);
    // No source byte changed in either run.
    for (const auto& [name, bytes] : sources_before)
        EXPECT_EQ(ReadTestFile(temp.Join(name)), bytes) << name;
}

TEST(Run, ASecondRunInTheSameWindowWritesOverTheFirstLines) {
    TempFolder temp;
    WriteTestFile(temp.Join("x.txt"), "x");
    TestControls controls;
    controls.list1.lines = {"old 1", "old 2"};
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"x_成功", "old 2"}));
    EXPECT_EQ(controls.count, "完成1个文件") << "the books of this run only";
}

TEST(Run, FailuresGiveFailureLinesAndTheRunGoesOn) {
    TempFolder temp;
    WriteTestFile(temp.Join("blocked.txt"), "a");
    WriteTestFile(temp.Join("blocked"), "a file where the folder should go");
    WriteTestFile(temp.Join("fine.txt"), "b");
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"blocked_失败", "fine_成功"}));
    EXPECT_EQ(controls.count, "完成2个文件");
    EXPECT_EQ(controls.status, kFinished);
}

// The output list of a book whose work runs out of memory: a 32-bit process does with sources
// of about a gigabyte.
class OutOfMemoryFileList : public FolderFileList {
  public:
    void Refresh() override {
        if (Path().ends_with("huge"))
            throw std::bad_alloc();
        FolderFileList::Refresh();
    }
};

TEST(Run, ABookThatRunsOutOfMemoryFailsAndTheRunGoesOn) {
    TempFolder temp;
    WriteTestFile(temp.Join("huge.txt"), "h");
    WriteTestFile(temp.Join("small.txt"), "s");
    TestControls controls;
    OutOfMemoryFileList pages;
    controls.file2_override = &pages;
    RunResult r;
    ASSERT_NO_THROW(r = RunOver(controls, temp.path()));
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"huge_失败", "small_成功"}));
    EXPECT_EQ(controls.count, "完成2个文件");
    EXPECT_EQ(controls.status, kFinished);
    EXPECT_TRUE(TestFileExists(temp.Join("small/small.chm")));
}

TEST(Run, CompilersThatFailOrAreMissingGiveFailureLines) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    WriteTestFile(temp.Join("b.txt"), "b");
    TestControls silent;
    RunResult r = RunOver(silent, temp.path(), "silent");
    EXPECT_EQ(r.outcomes.size(), 2u);
    EXPECT_EQ(silent.list1.lines, (std::vector<std::string>{"a_失败", "b_失败"}));
    EXPECT_TRUE(TestFileExists(temp.Join("a/chm_hhp.hhp"))) << "the project stays for a compile by hand";

    TempFolder temp2;
    WriteTestFile(temp2.Join("c.txt"), "c");
    TestControls missing;
    missing.file1.SetPath(temp2.path());
    CompileQueue queue;
    RunOptions options;
    options.compiler = temp2.Join("no compiler here");
    ConvertAndGenerate(missing, queue, options);
    EXPECT_EQ(missing.list1.lines, std::vector<std::string>{"c_失败"});
    EXPECT_EQ(missing.count, "完成1个文件");
}

TEST(Run, NamesWithBlanksAndCharactersOutsideCp936) {
    TempFolder temp;
    const std::string korean = "\xED\x95\x9C\xEA\xB8\x80";  // not in code page 936
    WriteTestFile(temp.Join("my notes.txt"), "blank");
    WriteTestFile(temp.Join("中文 名.txt"), Gbk("中文"));
    WriteTestFile(temp.Join(korean + ".txt"), "k");
    TestControls controls;
    RunOver(controls, temp.path());
    ASSERT_EQ(controls.list1.lines.size(), 3u);
    EXPECT_EQ(controls.list1.lines[0], "my notes_成功");
    EXPECT_EQ(controls.list1.lines[1], "中文 名_成功");
    EXPECT_TRUE(TestFileExists(temp.Join("my notes/my notes.chm")));
    EXPECT_TRUE(TestFileExists(temp.Join("中文 名/中文 名.chm")));
    // The pages are there under their real names, but a project in code page 936 can only
    // name them with references: the compiler cannot find the book's name, and the line says so.
    EXPECT_TRUE(TestFileExists(temp.Join(korean + "/" + korean + "_1.htm")));
    EXPECT_NE(ReadTestFile(temp.Join(korean + "/chm_hhp.hhp")).find("&#54620;&#44544;_1.htm"), std::string::npos);
    EXPECT_EQ(controls.list1.lines[2], korean + "_失败");
}

TEST(Run, TextAndHtmlSourcesMakeDifferentPages) {
    TempFolder temp;
    WriteTestFile(temp.Join("t.txt"), "a<b");
    WriteTestFile(temp.Join("h.HTML"), "a<b");
    WriteTestFile(temp.Join("u.txt"), "\xEF\xBB\xBF\xF0\x9F\x98\x80&");
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_NE(ReadTestFile(temp.Join("t/t_1.htm")).find("\r\na&lt;b<br>\r\n"), std::string::npos);
    EXPECT_EQ(ReadTestFile(temp.Join("h/h_1.htm")), "\r\n\r\na<b\r\n\r\n");
    EXPECT_NE(ReadTestFile(temp.Join("u/u_1.htm")).find("\r\n&#128512;&amp;<br>\r\n"), std::string::npos);
}

// A File2 that never lists anything: the run finds no page after converting.
class EmptyFileList : public FileList {
  public:
    std::string Path() const override { return path_; }
    void SetPath(const std::string& folder) override { path_ = folder; }
    void Refresh() override {}
    int ListCount() const override { return 0; }
    std::string List(int) const override { return ""; }

  private:
    std::string path_;
};

TEST(Run, NoPagesAfterConvertingShowsTheMessageAndEnds) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    WriteTestFile(temp.Join("b.txt"), "b");
    TestControls controls;
    EmptyFileList empty;
    controls.file2_override = &empty;
    EXPECT_TRUE(RunOver(controls, temp.path()).completed);
    EXPECT_EQ(controls.messages, std::vector<std::string>{"提示:)|加载文件后再转换吧!:)"});
    EXPECT_EQ(controls.status, kWaiting);
    EXPECT_TRUE(controls.list1.lines.empty());
    EXPECT_FALSE(TestFileExists(temp.Join("b")));
}

TEST(Run, StopsAtOnceWhenTheFrontEndCloses) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a\r\nb\r\n");
    WriteTestFile(temp.Join("b.txt"), "b");
    TestControls counting;
    RunOver(counting, temp.path(), "missing");
    const long all_yields = counting.yields;
    for (long stop = 1; stop <= all_yields; ++stop) {
        TempFolder t;
        WriteTestFile(t.Join("a.txt"), "a\r\nb\r\n");
        WriteTestFile(t.Join("b.txt"), "b");
        TestControls controls;
        controls.stop_at_yield = stop;
        EXPECT_FALSE(RunOver(controls, t.path(), "missing").completed) << stop;
        EXPECT_EQ(controls.yields, stop) << "no yield after the stop";
        EXPECT_NE(controls.status, kFinished);
    }
}

TEST(Run, TenMegabyteSource) {
    TempFolder temp;
    const std::string line = Gbk("第十章 A chapter with <tags> & 中文") + "\r\n";
    std::string text;
    while (text.size() < (10u << 20))
        text += line;
    WriteTestFile(temp.Join("big.txt"), text);
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"big_成功"});
    std::vector<std::string> pages;
    for (const std::string& name : ListSourceFolder(temp.Join("big"))) {
        if (name != "compiler_args.txt")  // written by the stand-in compiler
            pages.push_back(name);
    }
    size_t chars = text.size() / line.size() * CountChars(line, TextEncoding::kCp936);
    EXPECT_EQ(pages.size(), (chars + 51199) / 51200);
    EXPECT_EQ(pages.front(), "big_001.htm");
    EXPECT_EQ(ReadTestFile(temp.Join("big.txt")), text);
}

TEST(Run, ReadOnlySourceFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores the read-only attribute of folders";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions; the failure path is covered by a blocking file";
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    ASSERT_EQ(chmod(temp.path().c_str(), 0555), 0);
    TestControls controls;
    RunOver(controls, temp.path());
    chmod(temp.path().c_str(), 0755);
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"a_失败"});
    EXPECT_EQ(ReadTestFile(temp.Join("a.txt")), "a");
#endif
}

TEST(Run, AnOutputFolderThatCannotBeListedIsLeftAlone) {
#ifdef _WIN32
    GTEST_SKIP() << "folder permissions are not modelled on Windows";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root lists every folder";
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("a")));
    WriteTestFile(temp.Join("a/keep.htm"), "keep");
    ASSERT_EQ(chmod(temp.Join("a").c_str(), 0333), 0);  // writable, not readable
    TestControls controls;
    RunOver(controls, temp.path());
    chmod(temp.Join("a").c_str(), 0755);
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"a_目录已存在！"});
    EXPECT_EQ(ReadTestFile(temp.Join("a/keep.htm")), "keep");
    EXPECT_FALSE(platform::GetFileInfo(temp.Join("a/a_1.htm")).exists);
#endif
}

}  // namespace
