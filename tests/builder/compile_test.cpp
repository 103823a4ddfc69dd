// Finding the compiler, starting it, and judging what it wrote.
#include <gtest/gtest.h>

#include "builder/compile_book.h"
#include "builder/convert_run.h"
#include "builder/platform.h"
#include "builder/project_files.h"
#include "tests/builder/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

std::string Exe(const std::string& name) {
    return name + (platform::PathSeparator() == '\\' ? ".exe" : "");
}

TEST(FindCompiler, HhcWhereTheLookupFindsItElseOurOwn) {
    TempFolder temp;
    for (const char* f : {"prog", "pf1", "pf2", "path1", "path2"})
        ASSERT_TRUE(platform::CreateFolder(temp.Join(f)));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("pf2/HTML Help Workshop")));
    CompilerSearch search;
    search.look_for_hhc = true;
    search.program_folder = temp.Join("prog");
    search.program_files_folders = {temp.Join("pf1"), temp.Join("pf2")};
    search.path_folders = {temp.Join("path1"), temp.Join("path2")};

    CompilerChoice none = FindCompiler("", search);
    EXPECT_EQ(none.path, kBuiltinCompiler);
    ASSERT_EQ(none.looked_at.size(), 5u);
    EXPECT_EQ(none.looked_at[0], platform::JoinPath(temp.Join("prog"), "hhc.exe"));

    // chmcmd is never picked by itself: names it cannot take would fail.
    WriteTestFile(temp.Join("path2/chmcmd.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, kBuiltinCompiler);
    WriteTestFile(temp.Join("path2/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, platform::JoinPath(temp.Join("path2"), "hhc.exe"));
    WriteTestFile(temp.Join("pf2/HTML Help Workshop/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path,
              platform::JoinPath(platform::JoinPath(temp.Join("pf2"), "HTML Help Workshop"), "hhc.exe"));
    WriteTestFile(temp.Join("prog/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, platform::JoinPath(temp.Join("prog"), "hhc.exe"));
    // An explicit compiler wins; without looking for hhc (Linux) our own is the default.
    EXPECT_EQ(FindCompiler("/nowhere/cc", search).path, "/nowhere/cc");
    search.look_for_hhc = false;
    EXPECT_EQ(FindCompiler("", search).path, kBuiltinCompiler);
    // A folder of the right name is not a compiler.
    CompilerSearch folders;
    folders.look_for_hhc = true;
    folders.path_folders = {temp.path()};
    ASSERT_TRUE(platform::CreateFolder(temp.Join("hhc.exe")));
    EXPECT_EQ(FindCompiler("", folders).path, kBuiltinCompiler);
}

// Writes a project into a folder named with a blank and a Chinese character.
std::string MakeBookFolder(TempFolder& temp, const std::string& book_name) {
    std::string folder = temp.Join("out 书");
    platform::CreateFolder(folder);
    WriteTestFile(platform::JoinPath(folder, "book_1.htm"), "page");
    BookPages book;
    book.pages = {{"book_1.htm", ""}};
    EXPECT_EQ(WriteProjectFile(folder, book, {book_name, book_name + ".chm"}).status, StepResult::kDone);
    return folder;
}

// Queues the compile of the project in `folder` with the given stand-in and waits for it.
BookReport CompileWith(const std::string& folder,
                       const std::string& compiler,
                       const std::string& book_name,
                       int64_t timeout_ms = 60000) {
    CompileQueue queue;
    CompileRequest request;
    request.report.index = 3;
    request.report.line = book_name + "_成功";
    request.report.outcome = BookOutcome::kStarted;
    request.report.book = platform::JoinPath(folder, book_name + ".chm");
    request.compiler = compiler;
    request.folder = folder;
    request.produced = request.report.book;
    request.timeout_ms = timeout_ms;
    BookReport now = QueueCompile(queue, std::move(request));
    if (now.outcome == BookOutcome::kFailed)
        return now;
    std::vector<BookReport> ended = queue.WaitAll();
    EXPECT_EQ(ended.size(), 1u);
    EXPECT_FALSE(queue.HasPending());
    return ended.empty() ? BookReport{} : ended[0];
}

TEST(CompileQueue, AWorkingCompilerKeepsTheSuccessLine) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book one");
    BookReport report = CompileWith(folder, FakeCompilerPath("writes"), "book one");
    EXPECT_EQ(report.line, "book one_成功");
    EXPECT_EQ(report.index, 3);
    EXPECT_TRUE(report.compiled);
    EXPECT_TRUE(TestFileExists(platform::JoinPath(folder, "book one.chm")));
    // The compiler ran in the output folder and got the project path in one piece.
    std::string args = ReadTestFile(platform::JoinPath(folder, "compiler_args.txt"));
    EXPECT_EQ(args, platform::JoinPath(folder, "chm_hhp.hhp") + "\n" + folder + "\n");
}

TEST(CompileQueue, ACompilerIsJudgedByItsExitAndByTheBook) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book");
    BookReport silent = CompileWith(folder, FakeCompilerPath("silent"), "book");
    EXPECT_EQ(silent.line, "book_失败");
    EXPECT_NE(silent.reason.find("exit code 1"), std::string::npos) << silent.reason;

    // A crash after half a book: failed, and the broken book is not left to look like one.
    ScopedEnv crash("FOLVANE_FAKE_COMPILER_MODE", "crash");
    BookReport crashed = CompileWith(folder, FakeCompilerPath("writes"), "book");
    EXPECT_EQ(crashed.line, "book_失败");
    EXPECT_NE(crashed.reason.find("异常结束"), std::string::npos) << crashed.reason;
    EXPECT_FALSE(TestFileExists(platform::JoinPath(folder, "book.chm")));

    EXPECT_EQ(CompileWith(folder, temp.Join(Exe("missing")), "book").line, "book_失败");
}

TEST(CompileQueue, HhcCountsOneAsSuccessAndZeroAsFailure) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book");
    const std::string hhc = temp.Join(Exe("hhc"));
    WriteTestFile(hhc, ReadTestFile(FakeCompilerPath("writes")));
#ifndef _WIN32
    chmod(hhc.c_str(), 0755);
#endif
    EXPECT_TRUE(CompileWith(folder, hhc, "book").compiled);
    ScopedEnv silent("FOLVANE_FAKE_COMPILER_MODE", "silent");
    EXPECT_EQ(CompileWith(folder, hhc, "book").line, "book_失败");
}

TEST(CompileQueue, AHangingCompilerIsEndedAfterItsLimit) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book");
    ScopedEnv hang("FOLVANE_FAKE_COMPILER_MODE", "hang");
    BookReport report = CompileWith(folder, FakeCompilerPath("writes"), "book", 1000);
    EXPECT_EQ(report.line, "book_失败");
    EXPECT_NE(report.reason.find("已被终止"), std::string::npos) << report.reason;
}

}  // namespace
