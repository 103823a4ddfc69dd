// Finding the compiler, starting it, and judging what it wrote.
#include <gtest/gtest.h>

#include "builder/compile_book.h"
#include "builder/platform.h"
#include "builder/project_files.h"
#include "tests/builder/test_support.h"

namespace {

std::string Exe(const std::string& name) {
    return name + (platform::PathSeparator() == '\\' ? ".exe" : "");
}

TEST(FindCompiler, LooksInTheDocumentedOrder) {
    TempFolder temp;
    for (const char* f : {"prog", "pf1", "pf2", "path1", "path2"})
        ASSERT_TRUE(platform::CreateFolder(temp.Join(f)));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("pf2/HTML Help Workshop")));
    CompilerSearch search;
    search.program_folder = temp.Join("prog");
    search.program_files_folders = {temp.Join("pf1"), temp.Join("pf2")};
    search.path_folders = {temp.Join("path1"), temp.Join("path2")};
    search.executable_suffix = ".exe";

    CompilerChoice none = FindCompiler("", search);
    EXPECT_EQ(none.path, "");
    ASSERT_EQ(none.looked_at.size(), 4u);
    EXPECT_EQ(none.looked_at[0], platform::JoinPath(temp.Join("prog"), "hhc.exe"));
    EXPECT_EQ(none.looked_at[3], "hhc.exe and chmcmd.exe on PATH");

    WriteTestFile(temp.Join("path2/chmcmd.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, platform::JoinPath(temp.Join("path2"), "chmcmd.exe"));
    WriteTestFile(temp.Join("path2/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, platform::JoinPath(temp.Join("path2"), "hhc.exe"));
    WriteTestFile(temp.Join("pf2/HTML Help Workshop/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path,
              platform::JoinPath(platform::JoinPath(temp.Join("pf2"), "HTML Help Workshop"), "hhc.exe"));
    WriteTestFile(temp.Join("prog/hhc.exe"), "x");
    EXPECT_EQ(FindCompiler("", search).path, platform::JoinPath(temp.Join("prog"), "hhc.exe"));
    // An explicit compiler wins, found or not.
    EXPECT_EQ(FindCompiler("/nowhere/cc", search).path, "/nowhere/cc");
    // A folder of the right name is not a compiler.
    CompilerSearch folders;
    folders.path_folders = {temp.path()};
    ASSERT_TRUE(platform::CreateFolder(temp.Join("chmcmd")));
    EXPECT_EQ(FindCompiler("", folders).path, "");
}

// Writes a project into a folder named with a blank and a Chinese character.
std::string MakeBookFolder(TempFolder& temp, const std::string& book_name) {
    std::string folder = temp.Join("out 书");
    platform::CreateFolder(folder);
    WriteTestFile(platform::JoinPath(folder, "book_1.htm"), "page");
    TestControls controls;
    controls.file2.SetPath(folder);
    EXPECT_EQ(WriteProjectFile(controls, book_name), StepStatus::kDone);
    return folder;
}

TEST(CompileBook, AWorkingCompilerKeepsTheSuccessLine) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book one");
    CompileWatcher watcher;
    EXPECT_EQ(CompileBook("book one", folder, FakeCompilerPath("writes"), watcher, 3), "book one_成功");
    EXPECT_TRUE(watcher.HasPending());
    EXPECT_TRUE(watcher.WaitAll().empty());
    EXPECT_FALSE(watcher.HasPending());
    EXPECT_TRUE(TestFileExists(platform::JoinPath(folder, "book one.chm")));
    // The compiler ran in the output folder and got the project path in one piece.
    std::string args = ReadTestFile(platform::JoinPath(folder, "compiler_args.txt"));
    EXPECT_EQ(args, platform::JoinPath(folder, "chm_hhp.hhp") + "\n" + folder + "\n");
}

TEST(CompileBook, ACompilerThatWritesNothingTurnsTheLineIntoAFailure) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book");
    CompileWatcher watcher;
    EXPECT_EQ(CompileBook("book", folder, FakeCompilerPath("silent"), watcher, 7), "book_成功");
    std::vector<CompileOutcome> outcomes = watcher.WaitAll();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].index, 7);
    EXPECT_EQ(outcomes[0].line, "book_失败");
    EXPECT_TRUE(watcher.Poll().empty()) << "reported once";
}

TEST(CompileBook, AMissingCompilerFailsAtOnce) {
    TempFolder temp;
    std::string folder = MakeBookFolder(temp, "book");
    CompileWatcher watcher;
    EXPECT_EQ(CompileBook("book", folder, temp.Join(Exe("missing")), watcher, 0), "book_失败");
    EXPECT_EQ(CompileBook("book", folder, "", watcher, 0), "book_失败");
    EXPECT_FALSE(watcher.HasPending());
}

// A process whose end cannot be seen, as Wine reports native programs.
class UnwatchableProcess : public platform::Process {
  public:
    bool started() const override { return true; }
    bool watchable() const override { return false; }
    bool HasEnded() override { return false; }
};

TEST(CompileWatcher, UnwatchableCompilersAreJudgedByTheBookAlone) {
    TempFolder temp;
    std::string project = temp.Join("chm_hhp.hhp");
    WriteTestFile(project, "p");
    int64_t project_mtime = platform::GetFileInfo(project).mtime_ns;
    CompileWatcher watcher;
    watcher.impl().unwatchable_timeout_ms = 1500;
    watcher.impl().Add(0, "good", temp.Join("good.chm"), project_mtime, std::make_unique<UnwatchableProcess>());
    watcher.impl().Add(1, "empty", temp.Join("empty.chm"), project_mtime, std::make_unique<UnwatchableProcess>());
    watcher.impl().Add(2, "none", temp.Join("none.chm"), project_mtime, std::make_unique<UnwatchableProcess>());
    WriteTestFile(temp.Join("good.chm"), "book");
    WriteTestFile(temp.Join("empty.chm"), "");
    EXPECT_TRUE(watcher.Poll().empty());
    std::vector<CompileOutcome> outcomes = watcher.WaitAll();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].line, "empty_失败");
    EXPECT_EQ(outcomes[1].index, 2);
    EXPECT_EQ(outcomes[1].line, "none_失败");
}

TEST(CompileWatcher, ANewRunForgetsTheCompilersOfTheLastOne) {
    TempFolder temp;
    CompileWatcher watcher;
    watcher.impl().Add(0, "old", temp.Join("old.chm"), 0, std::make_unique<UnwatchableProcess>());
    EXPECT_TRUE(watcher.HasPending());
    watcher.impl().BeginRun();
    EXPECT_FALSE(watcher.HasPending());
    EXPECT_TRUE(watcher.Poll().empty());
}

}  // namespace
