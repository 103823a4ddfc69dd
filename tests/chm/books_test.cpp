// Whole books read back by readers that share no code with the compiler: chmlib (its library and
// its enum_chmLib and extract_chmLib tools), libmspack's CHM decompressor, which finds files
// through the index chunks and quick references, and 7-Zip. Every page must come back byte for
// byte, and #SYSTEM must name the book's title, default topic, contents, index and window.
#include <chm_lib.h>
#include <mspack.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builder/platform.h"
#include "chm/chm_compiler.h"
#include "tests/builder/test_support.h"
#include "tests/chm/chm_test_support.h"

namespace {

using chm_test::TestBook;
using chm_test::TestPage;

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out.push_back(c);
    }
    return out + "'";
}

// Runs a shell command; its standard output, and its exit status in `status`.
std::string RunCommand(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        *status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, n);
    *status = pclose(pipe);
    return output;
}

struct SystemRecords {
    uint32_t version = 0;
    std::map<int, std::string> records;  // code -> data
    std::string Text(int code) const {
        auto it = records.find(code);
        if (it == records.end())
            return "<missing>";
        return it->second.substr(0, it->second.find('\0'));
    }
};

SystemRecords ParseSystem(const std::string& bytes) {
    SystemRecords system;
    if (bytes.size() < 4)
        return system;
    auto u16 = [&](size_t at) {
        return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
    };
    system.version = static_cast<uint32_t>(u16(0) | u16(2) << 16);
    size_t pos = 4;
    while (pos + 4 <= bytes.size()) {
        const int code = u16(pos);
        const size_t length = u16(pos + 2);
        if (pos + 4 + length > bytes.size())
            break;
        system.records[code] = bytes.substr(pos + 4, length);
        pos += 4 + length;
    }
    return system;
}

// Reads a file out of the book with chmlib's library.
bool ChmlibRead(chmFile* book, const std::string& name, std::string& bytes) {
    chmUnitInfo unit;
    if (chm_resolve_object(book, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return false;
    bytes.assign(static_cast<size_t>(unit.length), '\0');
    if (unit.length == 0)
        return true;
    return chm_retrieve_object(book, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                               static_cast<LONGINT64>(unit.length)) == static_cast<LONGINT64>(unit.length);
}

class BooksTest : public ::testing::Test {
  protected:
    // Writes `book` into a folder of its own, compiles it and checks it with every reader.
    void CheckBook(const TestBook& book) {
        const std::string folder = temp_.Join(book.name);
        ASSERT_TRUE(chm_test::WriteTestBook(folder, book));
        const std::string path = platform::JoinPath(folder, book.name + ".chm");
        chm::CompileResult result = chm_test::CompileFolder(folder, book.name + ".chm");
        ASSERT_TRUE(result.ok) << result.reason;
        const std::string bytes = ReadTestFile(path);
        EXPECT_EQ(chm::CheckBookHeader(std::string_view(bytes).substr(0, chm::kBookHeaderBytes), bytes.size()), "");

        CheckListing(book, path);
        CheckExtracted(book, path, "extract_chmLib " + ShellQuote(path) + " ", "extract_chmLib");
        CheckExtracted(book, path, "LC_ALL=C.UTF-8 7z x -y " + ShellQuote(path) + " -o", "7z");
        CheckChmlib(book, path);
        CheckMspack(book, path);
    }

    void CheckListing(const TestBook& book, const std::string& path) {
        int status = 0;
        const std::string listing = RunCommand("enum_chmLib " + ShellQuote(path), &status);
        ASSERT_EQ(status, 0) << listing;
        for (const TestPage& page : book.pages)
            EXPECT_NE(listing.find("/" + page.file_name + "\n"), std::string::npos) << page.file_name << "\n"
                                                                                    << listing;
    }

    void CheckExtracted(const TestBook& book, const std::string& path, const std::string& command, const char* tool) {
        const std::string out = temp_.Join(book.name + "-" + tool);
        int status = 0;
        const std::string log = RunCommand(command + ShellQuote(out), &status);
        ASSERT_EQ(status, 0) << tool << ": " << log;
        for (const TestPage& page : book.pages) {
            std::string bytes;
            ASSERT_TRUE(platform::ReadFileBytes(platform::JoinPath(out, page.file_name), bytes))
                << tool << " did not unpack " << page.file_name;
            EXPECT_EQ(bytes, chm_test::PageBytes(page)) << tool << ": " << page.file_name;
        }
    }

    void CheckChmlib(const TestBook& book, const std::string& path) {
        chmFile* file = chm_open(path.c_str());
        ASSERT_NE(file, nullptr);
        std::unique_ptr<chmFile, void (*)(chmFile*)> holder(file, chm_close);
        for (const TestPage& page : book.pages) {
            std::string bytes;
            ASSERT_TRUE(ChmlibRead(file, "/" + page.file_name, bytes)) << page.file_name;
            EXPECT_EQ(bytes, chm_test::PageBytes(page)) << page.file_name;
        }
        std::string system_bytes;
        ASSERT_TRUE(ChmlibRead(file, "/#SYSTEM", system_bytes));
        SystemRecords system = ParseSystem(system_bytes);
        EXPECT_EQ(system.version, 3u);
        chm_test::Cp936Codec codec;
        EXPECT_EQ(system.Text(3), codec.FromUtf8(book.name)) << "title";
        EXPECT_EQ(system.Text(2), codec.FromUtf8(book.pages.front().file_name)) << "default topic";
        EXPECT_EQ(system.Text(0), "chm_hhc.hhc");
        EXPECT_EQ(system.Text(1), "chm_hhk.hhk");
        EXPECT_EQ(system.Text(5), "chm_window");
        ASSERT_GE(system.records[4].size(), 4u);
        EXPECT_EQ(system.records[4].substr(0, 4), std::string("\x04\x08\x00\x00", 4)) << "LCID 0x0804";
        // The window record names the start page in the code page; when it is not ASCII, a last
        // record names it in UTF-8, where the Unix viewers look for it.
        std::string windows;
        std::string strings;
        ASSERT_TRUE(ChmlibRead(file, "/#WINDOWS", windows));
        ASSERT_TRUE(ChmlibRead(file, "/#STRINGS", strings));
        auto text_at = [&](size_t record, size_t field) {
            const uint32_t offset = chm_test::Le32(windows, 8 + record * 0xC4 + field);
            return strings.substr(offset, strings.find('\0', offset) - offset);
        };
        const std::string& start = book.pages.front().file_name;
        const bool ascii = std::all_of(start.begin(), start.end(), [](char c) { return (c & 0x80) == 0; });
        ASSERT_EQ(chm_test::Le32(windows, 0), ascii ? 1u : 2u);
        EXPECT_EQ(text_at(0, 0x08), "chm_window");
        EXPECT_EQ(text_at(0, 0x68), codec.FromUtf8(start));
        EXPECT_EQ(text_at(0, 0x14), codec.FromUtf8(book.name));
        if (!ascii) {
            EXPECT_EQ(text_at(1, 0x68), start);
        }
        // The contents and index the viewers parse are the project's own files.
        std::string contents;
        ASSERT_TRUE(ChmlibRead(file, "/chm_hhc.hhc", contents));
        EXPECT_EQ(contents, ReadTestFile(platform::JoinPath(temp_.Join(book.name), "chm_hhc.hhc")));
    }

    void CheckMspack(const TestBook& book, const std::string& path) {
        mschm_decompressor* decompressor = mspack_create_chm_decompressor(nullptr);
        ASSERT_NE(decompressor, nullptr);
        std::unique_ptr<mschm_decompressor, void (*)(mschm_decompressor*)> holder(decompressor,
                                                                                  mspack_destroy_chm_decompressor);
        // fast_open reads no listing: every file is found through the index and quick references.
        mschmd_header* header = decompressor->fast_open(decompressor, path.c_str());
        ASSERT_NE(header, nullptr);
        const std::string out = temp_.Join(book.name + "-mspack.bin");
        // Every page is looked up; extracting costs libmspack milliseconds a file, so a big book
        // has a spread of its pages unpacked, the last one always.
        const size_t step = book.pages.size() / 40 + 1;
        for (size_t i = 0; i < book.pages.size(); ++i) {
            const TestPage& page = book.pages[i];
            mschmd_file file{};
            const std::string name = "/" + page.file_name;
            ASSERT_EQ(decompressor->fast_find(decompressor, header, name.c_str(), &file, sizeof(file)), MSPACK_ERR_OK);
            ASSERT_NE(file.section, nullptr) << "libmspack cannot find " << page.file_name;
            if (i % step != 0 && i + 1 != book.pages.size())
                continue;
            ASSERT_EQ(decompressor->extract(decompressor, &file, out.c_str()), MSPACK_ERR_OK) << page.file_name;
            EXPECT_EQ(ReadTestFile(out), chm_test::PageBytes(page)) << page.file_name;
        }
        decompressor->close(decompressor, header);
    }

    TempFolder temp_;
};

std::string ChineseText(int n) {
    std::string text =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head>\r\n<body>";
    for (int i = 0; i < n; ++i)
        text += "第" + std::to_string(i) + "行：床前明月光，疑是地上霜。举头望明月，低头思故乡。<br>\r\n";
    return text + "</body></html>\r\n";
}

TEST_F(BooksTest, ChinesePagesWithVolumesAnchorsAndQuotes) {
    TestBook book;
    book.name = "book";
    book.pages = {
        {"book_1.htm", "第一章 \"开端\"", ChineseText(300)},
        {"book_2.htm", "第二章 风雨", ChineseText(900), 1},
        {"book_3.htm", "第三章 明月", ChineseText(40), 1, "#ch12"},
        {"book_4.htm", "后记", ChineseText(5)},
    };
    CheckBook(book);
}

TEST_F(BooksTest, ChineseNames) {
    TestBook book;
    book.name = "静夜思";
    book.pages = {{"静夜思_1.htm", "床前明月光", ChineseText(50)}, {"静夜思_2.htm", "举头望明月", ChineseText(70)}};
    CheckBook(book);
}

TEST_F(BooksTest, NamesOutsideCodePage936) {
    TestBook book;
    book.name = "한국어 책😀";
    book.pages = {{"한국어 책😀_1.htm", "한국어 제목 😀", ChineseText(20)},
                  {"한국어 책😀_2.htm", "둘째", ChineseText(20)}};
    CheckBook(book);
}

TEST_F(BooksTest, ThousandPagesNeedSeveralListingChunksAndAnIndex) {
    CheckBook(chm_test::ThousandPageBook("千页"));
}

TEST_F(BooksTest, OnePage) {
    TestBook book;
    book.name = "one";
    book.pages = {{"one_1.htm", "唯一", "<p>只有一页</p>"}};
    CheckBook(book);
}

TEST_F(BooksTest, EmptyPageIsStored) {
    TestBook book;
    book.name = "empty";
    book.pages = {{"empty_1.htm", "空页", ""}, {"empty_2.htm", "有字", "<p>有字</p>"}};
    CheckBook(book);
}

// The header check judges every book, whoever compiled it: chmcmd's too, and a cut-off copy
// of one fails it with a reason.
TEST_F(BooksTest, HeaderCheckAcceptsAnotherCompilersBookAndRefusesACutOne) {
    int status = 0;
    RunCommand("command -v chmcmd", &status);
    if (status != 0)
        GTEST_SKIP() << "chmcmd is not installed";
    TestBook book;
    book.name = "other";
    book.pages = {{"other_1.htm", "一", ChineseText(200)}, {"other_2.htm", "二", ChineseText(20)}};
    const std::string folder = temp_.Join(book.name);
    ASSERT_TRUE(chm_test::WriteTestBook(folder, book));
    const std::string log = RunCommand("cd " + ShellQuote(folder) + " && chmcmd chm_hhp.hhp", &status);
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(platform::JoinPath(folder, "other.chm"), bytes)) << log;
    ASSERT_GT(bytes.size(), 0x200u) << log;
    EXPECT_EQ(chm::CheckBookHeader(bytes, bytes.size()), "");
    EXPECT_NE(chm::CheckBookHeader(bytes.substr(0, bytes.size() / 2), bytes.size() / 2), "");
}

}  // namespace
