// folvane-cli: arguments, paths, exit codes, what it prints, and hints for a bad compiler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "builder/platform.h"
#include "cli/cli_app.h"
#include "tests/builder/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

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
const char kUsage[] = "usage: folvane-cli [--compiler PATH|builtin] [--compile-timeout SECONDS] FOLDER";

// Runs with the given current folder, as a user typing a relative path would.
class ScopedCurrentFolder {
  public:
    explicit ScopedCurrentFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(std::filesystem::u8path(folder));
    }
    ~ScopedCurrentFolder() { std::filesystem::current_path(old_); }

  private:
    std::filesystem::path old_;
};

TEST(CliArguments, UsageErrorsExitWithTwo) {
    TempFolder temp;
    const std::vector<std::vector<std::string>> bad = {{},
                                                       {"--compiler"},
                                                       {"--bogus", temp.path()},
                                                       {temp.path(), temp.path()},
                                                       {"--compiler="},
                                                       {"--compile-timeout", "soon", temp.path()},
                                                       {"--compile-timeout=0", temp.path()}};
    for (const auto& args : bad) {
        CapturedOutput output;
        EXPECT_EQ(RunFolvaneCli(args, output), 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(output.out.empty());
        ASSERT_FALSE(output.err.empty());
        EXPECT_EQ(output.err.back(), kUsage);
    }
}

TEST(CliArguments, ACompilerThatCannotRunIsRefusedWithAPreciseHintBeforeAnythingIsMade) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    ASSERT_TRUE(platform::CreateFolder(temp.Join("tools")));
    WriteTestFile(temp.Join("tools/plain"), "not a program");
    std::vector<std::pair<std::string, std::string>> cases = {{temp.Join("nothing here"), "does not exist"},
                                                              {temp.Join("tools"), "is a folder, not a program"}};
#ifndef _WIN32
    chmod(temp.Join("tools/plain").c_str(), 0644);
    cases.push_back({temp.Join("tools/plain"), "is not executable (chmod +x"});
#endif
    for (const auto& [compiler, hint] : cases) {
        CapturedOutput output;
        EXPECT_EQ(RunFolvaneCli({"--compiler", compiler, temp.path()}, output), 2);
        ASSERT_EQ(output.err.size(), 1u);
        EXPECT_NE(output.err[0].find(hint), std::string::npos) << output.err[0];
        EXPECT_NE(output.err[0].find(compiler), std::string::npos) << output.err[0];
    }
    EXPECT_FALSE(TestFileExists(temp.Join("a")));
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

TEST(CliRun, RelativeFoldersAndCompilersWork) {
    TempFolder temp;
    ASSERT_TRUE(platform::CreateFolder(temp.Join("novels")));
    ASSERT_TRUE(platform::CreateFolder(temp.Join("tools")));
    const std::string exe = platform::PathSeparator() == '\\' ? ".exe" : "";
    const std::string compiler = "tools/cc" + exe;
    WriteTestFile(temp.Join(compiler), ReadTestFile(FakeCompilerPath("writes")));
#ifndef _WIN32
    chmod(temp.Join(compiler).c_str(), 0755);
#endif
    int book = 0;
    for (const auto& [cwd, folder, cc] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {temp.path(), "novels", compiler},
             {temp.Join("novels"), ".", "../" + compiler},
             {temp.Join("tools"), "../novels/", "./cc" + exe}}) {
        const std::string name = std::string("b").append(std::to_string(++book));
        WriteTestFile(temp.Join("novels/" + name + ".txt"), "text");
        ScopedCurrentFolder here(cwd);
        CapturedOutput output;
        EXPECT_EQ(RunFolvaneCli({"--compiler", cc, folder}, output), 0) << folder << " " << cc;
        EXPECT_TRUE(TestFileExists(temp.Join("novels/" + name + "/" + name + ".chm"))) << folder << " " << cc;
    }
}

TEST(CliRun, PrintsLinesStatusCountFinalLinesAndHowEachFileWasRead) {
    TempFolder temp;
    WriteTestFile(temp.Join("a b.txt"), Gbk("第一章\r\n中文\r\n第二章\r\n"));
    WriteTestFile(temp.Join("c.htm"), "\xEF\xBB\xBF<title>C</title>");
    WriteTestFile(temp.Join("empty.txt"), "");
    CapturedOutput output;
    output.terminal = true;
    EXPECT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("writes"), temp.path()}, output), 0);
    EXPECT_EQ(output.out,
              (std::vector<std::string>{"a b_成功", "c_成功", kFinished, "完成2个文件", "a b_成功", "c_成功"}));
    ASSERT_EQ(output.err.size(), 6u);
    EXPECT_EQ(output.err[0], "[1/3] a b.txt");
    EXPECT_EQ(output.err[1], "a b.txt: gbk, 2 chapters");
    EXPECT_EQ(output.err[3], "c.htm: utf-8 (BOM)");
    EXPECT_EQ(output.err[5].rfind("empty.txt: ", 0), 0u) << "an empty source is mentioned";
    EXPECT_TRUE(TestFileExists(temp.Join("a b/a b.chm")));
}

TEST(CliRun, FailuresGiveExitOneAndTheirReasons) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({"--compiler", FakeCompilerPath("silent"), temp.path()}, output), 1);
    EXPECT_EQ(output.out, (std::vector<std::string>{"a_成功", kFinished, "完成1个文件", "a_失败"}));
    ASSERT_EQ(output.err.size(), 2u);
    EXPECT_EQ(output.err[1].rfind("a.txt: ", 0), 0u);
    EXPECT_NE(output.err[1].find("exit code 1"), std::string::npos) << output.err[1];
}

TEST(CliRun, AHangingCompilerIsEndedAtTheLimit) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    ScopedEnv hang("FOLVANE_FAKE_COMPILER_MODE", "hang");
    CapturedOutput output;
    EXPECT_EQ(RunFolvaneCli({"--compile-timeout", "1", "--compiler", FakeCompilerPath("writes"), temp.path()}, output),
              1);
    EXPECT_EQ(output.out.back(), "a_失败");
    EXPECT_NE(output.err.back().find("已被终止"), std::string::npos) << output.err.back();
}

TEST(CliRun, NamesArePrintedSafely) {
    EXPECT_EQ(PrintableText("a\nb\tc\r"), "a\\nb\\tc\\r");
    EXPECT_EQ(PrintableText("\x1B[31mred\x7F"), "\\x1B[31mred\\x7F");
    EXPECT_EQ(PrintableText("\xC2\x85 next line"), "\\x85 next line");
    EXPECT_EQ(PrintableText("\xB5\xDA"
                            "1.txt"),
              "\xEF\xBF\xBD\xEF\xBF\xBD"
              "1.txt")
        << "GBK bytes are not UTF-8";
    EXPECT_EQ(PrintableText("中文 ok"), "中文 ok");
#ifndef _WIN32
    TempFolder temp;
    WriteTestFile(temp.Join("evil\n\x1B[2Jname.txt"), "x");
    CapturedOutput output;
    RunFolvaneCli({"--compiler", FakeCompilerPath("writes"), temp.path()}, output);
    ASSERT_FALSE(output.out.empty());
    EXPECT_EQ(output.out[0], "evil\\n\\x1B[2Jname_成功");
#endif
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
