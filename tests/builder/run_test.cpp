// The whole Convert & Generate run over real folders, with stand-in compilers.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "builder/book_folder.h"
#include "builder/convert_run.h"
#include "builder/platform.h"
#include "builder/source_encoding.h"
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

RunResult RunListed(TestControls& controls, const std::string& compiler_kind = "writes") {
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

RunResult RunOver(TestControls& controls, const std::string& folder, const std::string& compiler_kind = "writes") {
    controls.file1.SetPath(folder);
    return RunListed(controls, compiler_kind);
}

// Everything in `folder` but the stand-in compiler's notes.
std::vector<std::string> BookFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::FolderEntry& e : entries) {
        if (e.name != "compiler_args.txt")
            names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    return names;
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

TEST(Run, BuildsABookPerFileAndLeavesNothingButBooks) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), Gbk("第一本 book"));
    WriteTestFile(temp.Join("b.txt"), "");
    WriteTestFile(temp.Join("c.htm"), "<title>C</title>");
    TestControls controls;
    ASSERT_TRUE(RunOver(controls, temp.path()).completed);
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"a_成功", "c_成功"}));
    EXPECT_EQ(controls.count, "完成2个文件");
    EXPECT_EQ(controls.status, kFinished);
    EXPECT_EQ(BookFiles(temp.Join("a")),
              (std::vector<std::string>{"a.chm", "a_1.htm", "chm_hhc.hhc", "chm_hhk.hhk", "chm_hhp.hhp"}));
    EXPECT_TRUE(TestFileExists(temp.Join("c/c.chm")));
    // The empty source gets no folder and no line, but the front-end hears of it.
    EXPECT_FALSE(TestFileExists(temp.Join("b")));
    ASSERT_EQ(controls.reports.size(), 3u);
    EXPECT_EQ(controls.reports[1].outcome, BookOutcome::kNoBook);
    EXPECT_EQ(controls.reports[1].source, "b.txt");
    EXPECT_FALSE(controls.reports[1].reason.empty());
    EXPECT_EQ(controls.reports[0].encoding, "gbk");
    // The sources, and two book folders holding five files each and the stand-in's notes.
    EXPECT_EQ(SnapshotTree(temp.path()).size(), 3u + 7 + 7) << "no work folder and no marker is left";
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

TEST(Run, AnythingOfTheBooksNameIsLeftAloneAndNeverWrittenInto) {
    TempFolder temp;
    for (const char* f : {"full", "empty", "blocked"})
        WriteTestFile(temp.Join(std::string(f) + ".txt"), "text");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("full")));
    WriteTestFile(temp.Join("full/keep.txt"), "mine");
    // An empty folder may have been put there to catch what the run writes.
    ASSERT_TRUE(platform::CreateFolder(temp.Join("empty")));
    WriteTestFile(temp.Join("blocked"), "a file where the folder should go");
#ifndef _WIN32
    WriteTestFile(temp.Join("target"), "outside");
    ASSERT_EQ(symlink(temp.Join("target").c_str(), temp.Join("empty/empty_1.htm").c_str()), 0);
#endif
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines,
              (std::vector<std::string>{"blocked_失败", "empty_目录已存在！", "full_目录已存在！"}));
    EXPECT_NE(controls.reports[0].reason.find("文件"), std::string::npos);
    EXPECT_EQ(ReadTestFile(temp.Join("full/keep.txt")), "mine");
    EXPECT_EQ(SnapshotTree(temp.Join("full")).size(), 1u);
#ifndef _WIN32
    EXPECT_EQ(ReadTestFile(temp.Join("target")), "outside");
#endif
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

// Controls whose page head cannot be had for one book: its work runs out of memory, as a
// 32-bit process does with sources of about a gigabyte.
class OutOfMemoryControls : public TestControls {
  public:
    void OnSourceFile(int, int, const std::string& name) override { current_ = name; }
    std::string PageHead() override {
        if (current_.rfind("huge", 0) == 0)
            throw std::bad_alloc();
        return "";
    }

  private:
    std::string current_;
};

TEST(Run, ABookThatRunsOutOfMemoryFailsAloneAndLeavesNoFolder) {
    TempFolder temp;
    WriteTestFile(temp.Join("huge.txt"), "h");
    WriteTestFile(temp.Join("small.txt"), "s");
    OutOfMemoryControls controls;
    RunResult r;
    ASSERT_NO_THROW(r = RunOver(controls, temp.path()));
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"huge_失败", "small_成功"}));
    EXPECT_EQ(controls.status, kFinished);
    EXPECT_TRUE(TestFileExists(temp.Join("small/small.chm")));
    EXPECT_EQ(SnapshotTree(temp.path()).size(), 2u + 7) << "the failed book left nothing";
}

TEST(Run, AFailedCompileIsReportedWithItsReasonAndNeverLooksFinished) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    TestControls silent;
    RunResult r = RunOver(silent, temp.path(), "silent");
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_EQ(silent.list1.lines, std::vector<std::string>{"a_失败"});
    EXPECT_NE(r.outcomes[0].reason.find("exit code"), std::string::npos) << r.outcomes[0].reason;
    EXPECT_TRUE(TestFileExists(temp.Join("a/chm_hhp.hhp"))) << "the project stays for a compile by hand";
    // The next run does not report the folder as a finished book.
    TestControls again;
    RunOver(again, temp.path());
    EXPECT_EQ(again.list1.lines, std::vector<std::string>{"a_失败"});
    EXPECT_NE(again.reports[0].reason.find(temp.Join("a")), std::string::npos);

    TempFolder temp2;
    WriteTestFile(temp2.Join("c.txt"), "c");
    TestControls missing;
    missing.file1.SetPath(temp2.path());
    CompileQueue queue;
    RunOptions options;
    options.compiler = temp2.Join("no compiler here");
    ConvertAndGenerate(missing, queue, options);
    EXPECT_EQ(missing.list1.lines, std::vector<std::string>{"c_失败"});
    EXPECT_NE(missing.reports[0].reason.find("no compiler here"), std::string::npos);
}

TEST(Run, NamesTheCompilerCannotTakeGetStandInsAndTheRealBookName) {
    TempFolder temp;
    const std::string korean = "\xED\x95\x9C\xEA\xB8\x80";  // not in code page 936
    WriteTestFile(temp.Join("my notes.txt"), "blank");
    WriteTestFile(temp.Join("中文 名.txt"), Gbk("中文"));
    WriteTestFile(temp.Join(korean + ".txt"), "k");
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"my notes_成功", "中文 名_成功", korean + "_成功"}));
    EXPECT_EQ(BookFiles(temp.Join("my notes")), (std::vector<std::string>{"chm_hhc.hhc", "chm_hhk.hhk", "chm_hhp.hhp",
                                                                          "my notes.chm", "my notes_1.htm"}));
    // The stand-in compiler is no hhc: it gets ASCII names and its book is renamed afterwards.
    for (const std::string& name : {korean, std::string("中文 名")}) {
        EXPECT_EQ(BookFiles(temp.Join(name)),
                  (std::vector<std::string>{"book_1.htm", "chm_hhc.hhc", "chm_hhk.hhk", "chm_hhp.hhp", name + ".chm"}))
            << name;
    }
    // The title stays the real one.
    EXPECT_NE(ReadTestFile(temp.Join(korean + "/chm_hhp.hhp")).find("Title=&#54620;&#44544;"), std::string::npos);
}

TEST(Run, TextAndHtmlSourcesMakeDifferentPages) {
    TempFolder temp;
    WriteTestFile(temp.Join("t.txt"), "a<b");
    WriteTestFile(temp.Join("h.HTML"), "a<b");
    WriteTestFile(temp.Join("u.txt"), "\xEF\xBB\xBF\xF0\x9F\x98\x80&");
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_NE(ReadTestFile(temp.Join("t/t_1.htm")).find("\r\na&lt;b<br>\r\n"), std::string::npos);
    EXPECT_EQ(ReadTestFile(temp.Join("h/h_1.htm")),
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">\r\n\r\n\r\na<b\r\n\r\n");
    EXPECT_NE(ReadTestFile(temp.Join("u/u_1.htm")).find("\r\n&#128512;&amp;<br>\r\n"), std::string::npos);
    EXPECT_EQ(controls.reports[2].encoding, "utf-8 (BOM)");
}

TEST(Run, SourcesThatVanishOrTurnIntoPipesFailWithAReason) {
    TempFolder temp;
    WriteTestFile(temp.Join("gone.txt"), "g");
    WriteTestFile(temp.Join("pipe.txt"), "p");
    WriteTestFile(temp.Join("fine.txt"), "f");
    TestControls controls;
    controls.file1.SetPath(temp.path());  // listed while they were files
    platform::DeleteFileAt(temp.Join("gone.txt"));
#ifndef _WIN32
    platform::DeleteFileAt(temp.Join("pipe.txt"));
    ASSERT_EQ(mkfifo(temp.Join("pipe.txt").c_str(), 0644), 0);  // would block an open that waits
#else
    platform::DeleteFileAt(temp.Join("pipe.txt"));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("pipe.txt")));
#endif
    RunListed(controls);
    EXPECT_EQ(controls.list1.lines, (std::vector<std::string>{"fine_成功", "gone_失败", "pipe_失败"}));
    EXPECT_NE(controls.reports[1].reason.find("gone.txt"), std::string::npos);
    EXPECT_NE(controls.reports[2].reason.find("不是普通文件"), std::string::npos) << controls.reports[2].reason;
    EXPECT_EQ(controls.count, "完成3个文件");
}

TEST(Run, LeftoversOfCutOffRunsAreRemovedAndNothingElse) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    auto make = [&](const std::string& name, bool marker) {
        ASSERT_TRUE(platform::CreateFolder(temp.Join(name)));
        WriteTestFile(temp.Join(name + "/a_1.htm"), "half");
        if (marker) {
            WriteTestFile(temp.Join(name + "/" + kBookMarkerName), "m");
            // Left by a run long gone.
            std::filesystem::last_write_time(std::filesystem::u8path(temp.Join(name + "/" + kBookMarkerName)),
                                             std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        }
    };
    make(".folvane-work-00112233445566ff", true);   // removed
    make(".folvane-work-0011223344556677", false);  // no marker: not ours
    make(".folvane-work-0011", true);               // not the exact form
    make("a-copy", true);
    make(".folvane-work-8899aabbccddeeff", true);  // held by a running run: kept
    auto held = platform::HoldExistingFile(temp.Join(std::string(".folvane-work-8899aabbccddeeff/") + kBookMarkerName));
    ASSERT_TRUE(held);
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_FALSE(TestFileExists(temp.Join(".folvane-work-00112233445566ff")));
    for (const char* kept :
         {".folvane-work-0011223344556677", ".folvane-work-0011", "a-copy", ".folvane-work-8899aabbccddeeff"})
        EXPECT_TRUE(TestFileExists(temp.Join(std::string(kept) + "/a_1.htm"))) << kept;
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"a_成功"});
}

TEST(Run, AFloodOfBooksNeverRunsMoreCompilersThanProcessors) {
    TempFolder temp;
    TempFolder counts;
    for (int i = 0; i < 200; ++i)
        WriteTestFile(temp.Join(std::string("b").append(std::to_string(1000 + i)) + ".txt"), "x");
    ScopedEnv mode("FOLVANE_FAKE_COMPILER_MODE", "count");
    ScopedEnv dir("FOLVANE_FAKE_COMPILER_DIR", counts.path());
    TestControls controls;
    CompileQueue queue;
    controls.file1.SetPath(temp.path());
    RunOptions options;
    options.compiler = FakeCompilerPath("writes");
    ConvertAndGenerate(controls, queue, options);
    std::vector<BookReport> ended = queue.WaitAll();
    EXPECT_EQ(ended.size(), 200u);
    for (const BookReport& report : ended)
        EXPECT_TRUE(report.compiled) << report.source << ": " << report.reason;
    int most = 0;
    for (const auto& [name, bytes] : SnapshotTree(counts.path())) {
        if (name.rfind("seen-", 0) == 0)
            most = std::max(most, std::stoi(bytes));
    }
    EXPECT_GE(most, 1);
    EXPECT_LE(most, queue.MaxRunning());
    for (int i = 0; i < 200; ++i) {
        const std::string name = std::string("b").append(std::to_string(1000 + i));
        EXPECT_TRUE(TestFileExists(temp.Join(name + "/" + name + ".chm"))) << name;
    }
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
        for (const auto& [name, bytes] : SnapshotTree(t.path()))
            EXPECT_EQ(name.find(".folvane-work-"), std::string::npos) << "a stopped book leaves no work folder";
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
    for (const std::string& name : BookFiles(temp.Join("big"))) {
        if (name.ends_with(".htm"))
            pages.push_back(name);
    }
    size_t line_chars = 0;
    AdvanceSourceChars(line, 0, line.size(), SourceEncoding::kGb18030, &line_chars);
    size_t chars = text.size() / line.size() * line_chars;
    EXPECT_EQ(pages.size(), (chars + 51199) / 51200);
    EXPECT_EQ(pages.front(), "big_001.htm");
    EXPECT_EQ(ReadTestFile(temp.Join("big.txt")), text);
}

TEST(Run, ReadOnlySourceFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores the read-only attribute of folders";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions; CI runs this as an unprivileged user";
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    ASSERT_EQ(chmod(temp.path().c_str(), 0555), 0);
    TestControls controls;
    RunOver(controls, temp.path());
    chmod(temp.path().c_str(), 0755);
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"a_失败"});
    EXPECT_NE(controls.reports[0].reason.find(temp.path()), std::string::npos) << controls.reports[0].reason;
    EXPECT_EQ(ReadTestFile(temp.Join("a.txt")), "a");
#endif
}

TEST(Run, AnUnreadableSourceFailsWithItsReason) {
#ifdef _WIN32
    GTEST_SKIP() << "file permissions are not modelled on Windows";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file; CI runs this as an unprivileged user";
    TempFolder temp;
    WriteTestFile(temp.Join("secret.txt"), "s");
    ASSERT_EQ(chmod(temp.Join("secret.txt").c_str(), 0), 0);
    TestControls controls;
    RunOver(controls, temp.path());
    EXPECT_EQ(controls.list1.lines, std::vector<std::string>{"secret_失败"});
    EXPECT_NE(controls.reports[0].reason.find("secret.txt"), std::string::npos);
    EXPECT_FALSE(TestFileExists(temp.Join("secret")));
#endif
}

}  // namespace
