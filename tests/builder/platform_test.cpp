// The platform seam: code page 936 conversion, folders and files with any names, and starting
// a program. On Windows these are different code paths from Linux, so they run there too.
#include <gtest/gtest.h>

#include <algorithm>

#include "builder/platform.h"
#include "tests/builder/test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(Cp936, EncodesAndDecodesChineseAndAscii) {
    const std::string utf8 = "abc 中文，《书》";
    const std::string gbk = "abc \xD6\xD0\xCE\xC4\xA3\xAC\xA1\xB6\xCA\xE9\xA1\xB7";
    EXPECT_EQ(platform::EncodeCp936(utf8), gbk);
    EXPECT_EQ(platform::DecodeCp936(gbk), utf8);
    EXPECT_EQ(platform::EncodeCp936(""), "");
    EXPECT_EQ(platform::DecodeCp936(""), "");
}

TEST(Cp936, CharactersOutsideTheCodePageBecomeReferences) {
    // U+1F600 (outside the BMP), U+D55C (Hangul) and U+0E01 (Thai) are not in code page 936.
    EXPECT_EQ(platform::EncodeCp936("a\xF0\x9F\x98\x80"
                                    "b"),
              "a&#128512;b");
    EXPECT_EQ(platform::EncodeCp936("\xED\x95\x9C\xE4\xB8\xAD\xE0\xB8\x81"), "&#54620;\xD6\xD0&#3585;");
    // No best-fit substitution: Latin "ő" is not in the code page and must not become "o".
    EXPECT_EQ(platform::EncodeCp936("\xC5\x91"), "&#337;");
    // A long clean run with one bad character in the middle keeps everything else.
    std::string text(5000, 'x');
    text += "\xF0\x9F\x98\x80";
    text += std::string(5000, 'y');
    std::string encoded = platform::EncodeCp936(text);
    EXPECT_EQ(encoded, std::string(5000, 'x') + "&#128512;" + std::string(5000, 'y'));
}

TEST(Cp936, InvalidBytesDecodeToReplacementCharacters) {
    // A lead byte followed by a blank, and a lead byte at the very end.
    EXPECT_EQ(platform::DecodeCp936("a\x81 b"), "a\xEF\xBF\xBD b");
    EXPECT_EQ(platform::DecodeCp936("\xD6\xD0\xD6"), "中\xEF\xBF\xBD");
}

TEST(Files, NamesWithBlanksAndCharactersOutsideCp936) {
    TempFolder temp;
    const std::vector<std::string> names = {"with blank.txt", "中文 名.txt", "\xED\x95\x9C\xEA\xB8\x80.txt",
                                            "emoji \xF0\x9F\x98\x80.htm"};
    for (const std::string& name : names)
        WriteTestFile(temp.Join(name), "bytes of " + name);
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(temp.path(), entries));
    std::vector<std::string> listed;
    for (const auto& e : entries)
        listed.push_back(e.name);
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    for (const std::string& name : names)
        EXPECT_EQ(ReadTestFile(temp.Join(name)), "bytes of " + name);

    ASSERT_TRUE(platform::CreateFolder(temp.Join("子 \xF0\x9F\x98\x80")));
    EXPECT_TRUE(platform::GetFileInfo(temp.Join("子 \xF0\x9F\x98\x80")).is_folder);
    EXPECT_FALSE(platform::CreateFolder(temp.Join("子 \xF0\x9F\x98\x80")));
}

TEST(Files, WriteEmptiesReadFailsOnFoldersAndMissingFiles) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "long old content");
    WriteTestFile(temp.Join("a.txt"), "new");
    EXPECT_EQ(ReadTestFile(temp.Join("a.txt")), "new");
    WriteTestFile(temp.Join("empty.txt"), "");
    EXPECT_EQ(ReadTestFile(temp.Join("empty.txt")), "");
    EXPECT_EQ(platform::GetFileInfo(temp.Join("a.txt")).size, 3u);
    std::string bytes = "junk";
    EXPECT_FALSE(platform::ReadFileBytes(temp.Join("missing.txt"), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(platform::ReadFileBytes(temp.path(), bytes));
    EXPECT_FALSE(platform::WriteFileBytes(temp.Join("no folder/x.txt"), "x"));
    EXPECT_FALSE(platform::GetFileInfo(temp.Join("missing.txt")).exists);
}

TEST(Files, RenameNeverReplacesAnExistingFile) {
    TempFolder temp;
    WriteTestFile(temp.Join("a.txt"), "a");
    WriteTestFile(temp.Join("b.htm"), "b");
    EXPECT_FALSE(platform::RenameFile(temp.Join("a.txt"), temp.Join("b.htm")));
    EXPECT_EQ(ReadTestFile(temp.Join("b.htm")), "b");
    EXPECT_TRUE(platform::RenameFile(temp.Join("a.txt"), temp.Join("a.htm")));
    EXPECT_EQ(ReadTestFile(temp.Join("a.htm")), "a");
    EXPECT_FALSE(TestFileExists(temp.Join("a.txt")));
}

TEST(Files, ListingMarksFoldersAndHiddenEntries) {
    TempFolder temp;
    ASSERT_TRUE(platform::CreateFolder(temp.Join("sub.txt")));
    WriteTestFile(temp.Join("plain.txt"), "x");
#ifdef _WIN32
    WriteTestFile(temp.Join("hidden.txt"), "x");
    std::u16string wide;
    for (char c : temp.Join("hidden.txt"))
        wide += static_cast<char16_t>(c);  // the temporary path is ASCII
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<LPCWSTR>(wide.c_str()), FILE_ATTRIBUTE_HIDDEN));
#else
    WriteTestFile(temp.Join(".hidden.txt"), "x");
#endif
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(temp.path(), entries));
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& e : entries) {
        if (e.name == "sub.txt")
            EXPECT_TRUE(e.is_folder);
        else if (e.name == "plain.txt")
            EXPECT_FALSE(e.is_folder || e.hidden_or_system);
        else
            EXPECT_TRUE(e.hidden_or_system) << e.name;
    }
    EXPECT_FALSE(platform::ListFolder(temp.Join("missing"), entries));
}

TEST(Paths, JoinAndProgramFolder) {
    char sep = platform::PathSeparator();
    EXPECT_EQ(platform::JoinPath("a", "b"), std::string("a") + sep + "b");
    EXPECT_EQ(platform::JoinPath(std::string("a") + sep, "b"), std::string("a") + sep + "b");
    EXPECT_EQ(platform::JoinPath("", "b"), "b");
    std::string folder = platform::ProgramFolder();
    EXPECT_TRUE(platform::GetFileInfo(folder).is_folder) << folder;
    EXPECT_TRUE(TestFileExists(FakeCompilerPath("writes"))) << FakeCompilerPath("writes");
}

TEST(Processes, StartsInTheWorkingFolderWithTheArgumentIntact) {
    TempFolder temp;
    std::string folder = temp.Join("my book 中文");
    ASSERT_TRUE(platform::CreateFolder(folder));
    std::string project = platform::JoinPath(folder, "chm_hhp.hhp");
    WriteTestFile(project, "[OPTIONS]\r\nCompiled file=" + Gbk("书 one.chm") + "\r\n");
    auto process = platform::StartProcess(FakeCompilerPath("writes"), {project}, folder);
    ASSERT_TRUE(process->started());
    ASSERT_TRUE(process->watchable());
    int64_t until = platform::MonotonicMs() + 30000;
    while (!process->HasEnded() && platform::MonotonicMs() < until)
        platform::SleepMs(10);
    ASSERT_TRUE(process->HasEnded());
    EXPECT_TRUE(process->HasEnded());  // stays ended
    EXPECT_EQ(ReadTestFile(platform::JoinPath(folder, "书 one.chm")).substr(0, 4), "ITSF");
    std::string args = ReadTestFile(platform::JoinPath(folder, "compiler_args.txt"));
    EXPECT_EQ(args.substr(0, args.find('\n')), project);
}

TEST(Processes, AProgramThatIsMissingDoesNotStart) {
    TempFolder temp;
    auto process = platform::StartProcess(temp.Join("no such compiler.exe"), {"x"}, temp.path());
    EXPECT_FALSE(process->started());
    EXPECT_FALSE(process->HasEnded());
}

}  // namespace
