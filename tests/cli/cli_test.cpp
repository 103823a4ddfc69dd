// folvane-cli: arguments, exit codes, what it prints, and the hint for a missing compiler.
#include <gtest/gtest.h>

#include <cstdlib>

#include "builder/platform.h"
#include "cli/cli_app.h"
#include "tests/builder/test_support.h"

namespace {

class CapturedOutput : public CliOutput {
  public:
    void Out(const std::string& line) override { out.push_back(line); }
    void Err(const std::string& line) override { err.push_back(line); }
    bool ErrIsTerminal() const override { return terminal; }
    std::vector<std::string> out;
    std::vector<std::string> err;
    bool terminal = false;
};

const char kFinished[] = "生成完毕,文件生成在自动创建目录下的后涰名chm的文件";

TEST(CliArguments, UsageErrorsExitWithTwo) {
    TempFolder temp;
    const std::vector<std::vector<std::string>> bad = {{},
                                                       {"--compiler"},
                                                       {"--compiler", temp.path()},
                                                       {"--bogus", temp.path()},
                                                       {temp.path(), temp.path()},
                                                       {"--compiler="}};
    for (const auto& args : bad) {
        CapturedOutput output;
        EXPECT_EQ(RunFolvaneCli(args, output), 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(output.out.empty());
        ASSERT_FALSE(output.err.empty());
        EXPECT_EQ(output.err.back(), "usage: folvane-cli [--compiler PATH] FOLDER");
    }
}

TEST(CliArguments, AFolderThatCannotBeReadExitsWithTwo) {
    TempFolder temp;
    WriteTestFile(temp.Join("file.txt"), "x");
    for (const std::string& folder : {temp.Join("missing"), temp.Join("file.txt")}) {
        CapturedOutput output;
        EXPECT_EQ(RunFolvaneCli({folder}, output), 2);
        ASSERT_EQ(output.err.size(), 1u);
        EXPECT_EQ(output.err[0], "folvane-cli: cannot read the folder " + folder);
    }
}

TEST(CliRun, AFolderWithoutSourcesDoesNothing) {
    TempFolder temp;
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({temp.path()}, output), 0);
    EXPECT_TRUE(output.out.empty());
    EXPECT_EQ(SnapshotTree(temp.path()).size(), 0u);
}

TEST(CliRun, PrintsLinesStatusCountAndFinalLines) {
    TempFolder temp;
    WriteTestFile(temp.Join("a b.txt"), Gbk("中文"));
    WriteTestFile(temp.Join("c.htm"), "<title>C</title>");
    CapturedOutput output;
    output.terminal = true;
    EXPECT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("writes"), temp.path()}, output), 0);
    EXPECT_EQ(output.out,
              (std::vector<std::string>{"a b_成功", "c_成功", kFinished, "完成2个文件", "a b_成功", "c_成功"}));
    EXPECT_EQ(output.err, (std::vector<std::string>{"[1/2] a b.txt", "[2/2] c.htm"}));
    EXPECT_TRUE(TestFileExists(temp.Join("a b/a b.chm")));
}

TEST(CliRun, NoProgressLinesWithoutATerminal) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({"--compiler=" + FakeCompilerPath("writes"), "--", temp.path()}, output), 0);
    EXPECT_TRUE(output.err.empty());
}

TEST(CliRun, ACompilerThatFailsMakesTheFinalLineAFailure) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("silent"), temp.path()}, output), 1);
    EXPECT_EQ(output.out, (std::vector<std::string>{"a_成功", kFinished, "完成1个文件", "a_失败"}));
    ASSERT_EQ(output.err.size(), 1u);
    EXPECT_EQ(output.err[0].rfind("a.txt: ", 0), 0u) << "the reason names the source";
}

TEST(CliRun, AMissingExplicitCompilerIsNamed) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    std::string compiler = temp.Join("nothing here");
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({"--compiler", compiler, temp.path()}, output), 1);
    EXPECT_EQ(output.out, (std::vector<std::string>{"a_失败", kFinished, "完成1个文件"}));
    ASSERT_EQ(output.err.size(), 2u);
    EXPECT_EQ(output.err[1], "folvane-cli: the help compiler " + compiler + " does not exist");
}

void SetPath(const std::string& value) {
#ifdef _WIN32
    _putenv_s("PATH", value.c_str());
#else
    setenv("PATH", value.c_str(), 1);
#endif
}

TEST(CliRun, NoCompilerAnywhereGivesAHintNamingThePlaces) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    TempFolder empty_path;
    std::string old_path = platform::GetEnv("PATH");
    SetPath(empty_path.path());
    CapturedOutput output;
    int status = RunFolvaneCli({temp.path()}, output);
    SetPath(old_path);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output.out, (std::vector<std::string>{"a_失败", kFinished, "完成1个文件"}));
    ASSERT_EQ(output.err.size(), 2u);
    const std::string& hint = output.err[1];
    EXPECT_EQ(hint.rfind("folvane-cli: no help compiler found; looked for ", 0), 0u) << hint;
    EXPECT_NE(hint.find(platform::JoinPath(platform::ProgramFolder(), "hhc.exe")), std::string::npos) << hint;
    EXPECT_NE(hint.find("chmcmd"), std::string::npos) << hint;
    EXPECT_NE(hint.find("--compiler PATH"), std::string::npos) << hint;
}

TEST(CliRun, TheSecondRunReportsEveryFileAsExistingAndChangesNothing) {
    TempFolder temp;
    WriteTestFile(temp.Join("one.txt"), Gbk("一"));
    WriteTestFile(temp.Join("two.htm"), "<title>2</title>");
    auto sources = SnapshotTree(temp.path());
    CapturedOutput first;
    ASSERT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("writes"), temp.path()}, first), 0);
    auto after_first = SnapshotTree(temp.path());
    CapturedOutput second;
    EXPECT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("writes"), temp.path()}, second), 0);
    EXPECT_EQ(second.out, (std::vector<std::string>{"one_目录已存在！", "two_目录已存在！", kFinished}));
    EXPECT_TRUE(SnapshotTree(temp.path()) == after_first);
    for (const auto& [name, bytes] : sources)
        EXPECT_EQ(ReadTestFile(temp.Join(name)), bytes);
}

}  // namespace
