// The shipped sample folder through the real folvane-cli program and the real chmcmd; the
// books are checked with enum_chmLib.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "builder/folder_file_list.h"
#include "tests/builder/test_support.h"

namespace {

namespace fs = std::filesystem;

struct Command {
    int status = -1;
    std::string out;
};

std::string Quote(const std::string& text) {
    std::string q = "'";
    for (char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Command RunCommand(const std::string& command) {
    Command result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        result.out.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool OnPath(const std::string& program) {
    return RunCommand("command -v " + program + " >/dev/null 2>&1").status == 0;
}

TEST(EndToEnd, SamplesBecomeBooksWithChmcmd) {
    if (!OnPath("chmcmd") || !OnPath("enum_chmLib"))
        GTEST_SKIP() << "chmcmd or enum_chmLib is not installed";
    TempFolder temp;
    std::string folder = temp.Join("sample books");
    fs::copy(FOLVANE_SAMPLES_DIR, folder, fs::copy_options::recursive);
    auto sources = SnapshotTree(folder);
    std::vector<std::string> names = ListSourceFolder(folder);
    ASSERT_GE(names.size(), 4u);

    Command cli = RunCommand(Quote(FOLVANE_CLI) + " " + Quote(folder) + " 2>&1");
    EXPECT_EQ(cli.status, 0) << cli.out;
    EXPECT_EQ(cli.out.find("_失败"), std::string::npos) << cli.out;
    EXPECT_NE(cli.out.find("完成" + std::to_string(names.size()) + "个文件\n"), std::string::npos) << cli.out;

    bool saw_two_pages = false;
    for (const std::string& name : names) {
        std::string base = name.substr(0, name.find('.'));
        std::string book = temp.Join("sample books/" + base + "/" + base + ".chm");
        ASSERT_TRUE(TestFileExists(book)) << book;
        Command listing = RunCommand("enum_chmLib " + Quote(book));
        ASSERT_EQ(listing.status, 0) << listing.out;
        EXPECT_NE(listing.out.find("/chm_hhc.hhc\n"), std::string::npos) << listing.out;
        EXPECT_NE(listing.out.find("/chm_hhk.hhk\n"), std::string::npos) << listing.out;
        EXPECT_NE(listing.out.find("/" + base + "_1.htm\n"), std::string::npos) << listing.out;
        for (const std::string& page : ListSourceFolder(temp.Join("sample books/" + base)))
            EXPECT_NE(listing.out.find("/" + page + "\n"), std::string::npos) << page;
        saw_two_pages = saw_two_pages || listing.out.find("/" + base + "_2.htm\n") != std::string::npos;
    }
    EXPECT_TRUE(saw_two_pages) << "the sample of more than 51,200 characters makes two pages";

    // A second run reports every file as existing and changes nothing.
    auto after_first = SnapshotTree(folder);
    Command again = RunCommand(Quote(FOLVANE_CLI) + " " + Quote(folder) + " 2>&1");
    EXPECT_EQ(again.status, 0) << again.out;
    for (const std::string& name : names) {
        std::string line = name.substr(0, name.find('.')) + "_目录已存在！\n";
        EXPECT_NE(again.out.find(line), std::string::npos) << again.out;
    }
    EXPECT_TRUE(SnapshotTree(folder) == after_first);
    for (const auto& [name, bytes] : sources)
        EXPECT_EQ(ReadTestFile(folder + "/" + name), bytes) << name;
}

}  // namespace
