// CompileProject over projects held in memory: what a sound project gives, and the reason for
// every kind of damaged one.
#include <algorithm>
#include <atomic>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "chm/chm_compiler.h"
#include "tests/chm/chm_test_support.h"

namespace {

using chm_test::Cp936Codec;
using chm_test::MemorySource;
using chm_test::StringSink;

std::string Gbk(const std::string& utf8) {
    return chm_test::Cp936WithRefs(utf8);
}

std::string Project(const std::string& options, const std::string& files) {
    return Gbk("[OPTIONS]\r\n" + options +
               "[WINDOWS]\r\nchm_window=\"书\",\"chm_hhc.hhc\",\"chm_hhk.hhk\",,,,,,,0x2120,,0x8380e,"
               "[28,28,1020,720],,,,,,,\r\n" +
               files + "[INFOTYPES]\r\n");
}

constexpr char kOptions[] =
    "Compiled file=书.chm\r\nContents file=chm_hhc.hhc\r\nIndex file=chm_hhk.hhk\r\n"
    "Default Window=chm_window\r\nLanguage=0x804 中文(中国)\r\n";

std::string Sitemap(const std::string& name, const std::string& local) {
    return Gbk("<UL><LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
               "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT></UL>");
}

// A sound book: two pages, contents and index.
MemorySource SoundBook() {
    MemorySource source;
    source.files["chm_hhp.hhp"] = Project(kOptions, "[FILES]\r\n书_1.htm\r\n书_2.htm\r\n");
    source.files["书_1.htm"] = Gbk("<html><title>第一页</title>床前明月光</html>");
    source.files["书_2.htm"] = Gbk("<p>疑是地上霜</p>");
    source.files["chm_hhc.hhc"] = Sitemap("第一章", "书_1.htm");
    source.files["chm_hhk.hhk"] = Sitemap("第一章", "书_1.htm");
    return source;
}

chm::CompileResult Compile(MemorySource& source,
                           StringSink& sink,
                           const std::atomic<bool>* cancel = nullptr,
                           chm::CompileSettings settings = {}) {
    Cp936Codec codec;
    settings.timestamp = 1700000000;
    return chm::CompileProject("chm_hhp.hhp", source, codec, sink, cancel, settings);
}

TEST(CompileProjectTest, SoundBookNamesItsPartsInSystem) {
    MemorySource source = SoundBook();
    StringSink sink;
    const chm::CompileResult result = Compile(source, sink);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(chm::CheckBookHeader(sink.data, sink.data.size()), "");
    EXPECT_EQ(sink.data.substr(0x14, 4), std::string("\x04\x08\x00\x00", 4)) << "LCID in the ITSF header";

    const chm_test::BookDirectory d = chm_test::ReadBookDirectory(sink.data);
    ASSERT_EQ(d.error, "");
    for (const char* name : {"/书_1.htm", "/书_2.htm", "/chm_hhc.hhc", "/chm_hhk.hhk", "/#SYSTEM", "/#WINDOWS",
                             "/#STRINGS", "/#TOPICS", "/#URLTBL", "/#URLSTR", "/#IDXHDR", "/"})
        EXPECT_EQ(d.entries.count(name), 1u) << name;
    EXPECT_EQ(d.entries.at("/书_1.htm").length, source.files["书_1.htm"].size());
    EXPECT_EQ(d.entries.at("/书_1.htm").section, 1u);

    const auto records = chm_test::SystemRecords(chm_test::Section0File(sink.data, d, "/#SYSTEM"));
    // Title and default topic are not in the project: the window's caption and the first page.
    EXPECT_EQ(chm_test::RecordText(records, 3), Gbk("书"));
    EXPECT_EQ(chm_test::RecordText(records, 2), Gbk("书_1.htm"));
    EXPECT_EQ(chm_test::RecordText(records, 0), "chm_hhc.hhc");
    EXPECT_EQ(chm_test::RecordText(records, 1), "chm_hhk.hhk");
    EXPECT_EQ(chm_test::RecordText(records, 5), "chm_window");
    EXPECT_EQ(chm_test::RecordText(records, 6), Gbk("书"));
    EXPECT_EQ(chm_test::Le32(records.at(4), 0), 0x804u);
    EXPECT_EQ(chm_test::Le32(records.at(10), 0), 1700000000u);
}

TEST(CompileProjectTest, ProjectOptionsWinOverWindowAndPages) {
    MemorySource source = SoundBook();
    source.files["chm_hhp.hhp"] =
        Project(std::string(kOptions) + "Title=静夜思 &quot;李白&quot;\r\nDefault topic=书_2.htm\r\n",
                "[FILES]\r\n书_1.htm\r\n书_2.htm\r\n");
    StringSink sink;
    ASSERT_TRUE(Compile(source, sink).ok);
    const chm_test::BookDirectory d = chm_test::ReadBookDirectory(sink.data);
    const auto records = chm_test::SystemRecords(chm_test::Section0File(sink.data, d, "/#SYSTEM"));
    EXPECT_EQ(chm_test::RecordText(records, 3), Gbk("静夜思 \"李白\""));
    EXPECT_EQ(chm_test::RecordText(records, 2), Gbk("书_2.htm"));
}

TEST(CompileProjectTest, SameInputSameBook) {
    MemorySource first_source = SoundBook();
    MemorySource second_source = SoundBook();
    StringSink first;
    StringSink second;
    ASSERT_TRUE(Compile(first_source, first).ok);
    ASSERT_TRUE(Compile(second_source, second).ok);
    EXPECT_TRUE(first.data == second.data);
}

TEST(CompileProjectTest, FileNamedTwiceIsReadAndStoredOnce) {
    MemorySource source = SoundBook();
    source.files["chm_hhp.hhp"] =
        Project(kOptions, "[FILES]\r\n书_1.htm\r\n书_2.htm\r\n.\\书_1.htm\r\nchm_hhc.hhc\r\n");
    StringSink sink;
    ASSERT_TRUE(Compile(source, sink).ok);
    EXPECT_EQ(source.reads["书_1.htm"], 1);
    EXPECT_EQ(source.reads.size(), 5u) << "the project, two pages, contents, index";
    EXPECT_EQ(source.reads["chm_hhc.hhc"], 1);
    const chm_test::BookDirectory d = chm_test::ReadBookDirectory(sink.data);
    EXPECT_EQ(std::count(d.order.begin(), d.order.end(), "/书_1.htm"), 1);
}

TEST(CompileProjectTest, EmptyPageIsStored) {
    MemorySource source = SoundBook();
    source.files["书_2.htm"] = "";
    StringSink sink;
    ASSERT_TRUE(Compile(source, sink).ok);
    const chm_test::BookDirectory d = chm_test::ReadBookDirectory(sink.data);
    ASSERT_EQ(d.entries.count("/书_2.htm"), 1u);
    EXPECT_EQ(d.entries.at("/书_2.htm").length, 0u);
}

TEST(CompileProjectTest, PagesInFoldersGetFolderEntries) {
    MemorySource source = SoundBook();
    source.files["chm_hhp.hhp"] = Project(kOptions, "[FILES]\r\n书_1.htm\r\n图\\a.htm\r\n");
    source.files["图/a.htm"] = "x";  // read with '/' between folders
    StringSink sink;
    ASSERT_TRUE(Compile(source, sink).ok);
    const chm_test::BookDirectory d = chm_test::ReadBookDirectory(sink.data);
    EXPECT_EQ(d.entries.count("/图/a.htm"), 1u);
    EXPECT_EQ(d.entries.count("/图/"), 1u);
}

struct Damage {
    const char* what;
    void (*apply)(MemorySource&);
    const char* reason_part;
};

TEST(CompileProjectTest, DamagedProjectsFailWithAReasonNamingTheProblem) {
    const Damage damages[] = {
        {"missing page", [](MemorySource& s) { s.files.erase("书_2.htm"); }, "无法读取页面“书_2.htm”"},
        {"missing contents", [](MemorySource& s) { s.files.erase("chm_hhc.hhc"); }, "无法读取目录文件“chm_hhc.hhc”"},
        {"missing index", [](MemorySource& s) { s.files.erase("chm_hhk.hhk"); }, "无法读取索引文件“chm_hhk.hhk”"},
        {"missing project", [](MemorySource& s) { s.files.erase("chm_hhp.hhp"); }, "无法读取项目文件“chm_hhp.hhp”"},
        {"no [FILES]", [](MemorySource& s) { s.files["chm_hhp.hhp"] = Project(kOptions, ""); }, "没有 [FILES] 节"},
        {"empty [FILES]", [](MemorySource& s) { s.files["chm_hhp.hhp"] = Project(kOptions, "[FILES]\r\n"); },
         "没有列出任何页面"},
        {"page outside the folder",
         [](MemorySource& s) { s.files["chm_hhp.hhp"] = Project(kOptions, "[FILES]\r\n..\\x.htm\r\n"); },
         "“..\\x.htm”不是书文件夹里的相对路径"},
        {"absolute page",
         [](MemorySource& s) { s.files["chm_hhp.hhp"] = Project(kOptions, "[FILES]\r\nC:\\x.htm\r\n"); },
         "不是书文件夹里的相对路径"},
    };
    for (const Damage& damage : damages) {
        MemorySource source = SoundBook();
        damage.apply(source);
        StringSink sink;
        const chm::CompileResult result = Compile(source, sink);
        EXPECT_FALSE(result.ok) << damage.what;
        EXPECT_NE(result.reason.find(damage.reason_part), std::string::npos) << damage.what << ": " << result.reason;
        EXPECT_TRUE(sink.data.empty()) << damage.what << ": nothing is written for a failed book";
    }
}

TEST(CompileProjectTest, CancelStopsBetweenFilesAndWritesNothing) {
    MemorySource source = SoundBook();
    std::atomic<bool> cancel{false};
    source.cancel_at_read = &cancel;
    source.cancel_read_number = 2;  // the project, then the first page sets the flag
    StringSink sink;
    const chm::CompileResult result = Compile(source, sink, &cancel);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("取消"), std::string::npos) << result.reason;
    EXPECT_EQ(source.reads["书_2.htm"], 0);
    EXPECT_TRUE(sink.data.empty());
}

class FailingSink : public chm::OutputSink {
  public:
    bool Write(std::string_view) override { return false; }
};

TEST(CompileProjectTest, WriteFailureAndBadSettingsAreReported) {
    MemorySource source = SoundBook();
    FailingSink failing;
    Cp936Codec codec;
    chm::CompileResult result = chm::CompileProject("chm_hhp.hhp", source, codec, failing);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("写入"), std::string::npos) << result.reason;

    for (auto [bits, frames] : {std::pair{15, 2}, {22, 64}, {17, 1}, {16, 3}}) {
        chm::CompileSettings settings;
        settings.window_bits = bits;
        settings.frames_per_reset = frames;
        StringSink sink;
        result = Compile(source, sink, nullptr, settings);
        EXPECT_FALSE(result.ok) << bits << "/" << frames;
        EXPECT_NE(result.reason.find("压缩设置"), std::string::npos) << result.reason;
    }
}

// Memory running out while a page is read ends this compile with a reason, not the program.
class ExhaustedSource : public chm::FileSource {
  public:
    bool Read(const std::string& name, std::string& bytes, std::string& error) override {
        if (name != "chm_hhp.hhp")
            throw std::bad_alloc();
        return inner.Read(name, bytes, error);
    }
    MemorySource inner = SoundBook();
};

TEST(CompileProjectTest, RunningOutOfMemoryIsAReason) {
    ExhaustedSource source;
    StringSink sink;
    Cp936Codec codec;
    const chm::CompileResult result = chm::CompileProject("chm_hhp.hhp", source, codec, sink);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("内存不足"), std::string::npos) << result.reason;
}

TEST(CheckBookHeaderTest, SoundTruncatedAndForeignFiles) {
    MemorySource source = SoundBook();
    StringSink sink;
    ASSERT_TRUE(Compile(source, sink).ok);
    const std::string& book = sink.data;
    const std::string head = book.substr(0, chm::kBookHeaderBytes);
    EXPECT_EQ(chm::CheckBookHeader(head, book.size()), "");

    const std::string truncated = chm::CheckBookHeader(head, book.size() - 1);
    EXPECT_NE(truncated.find(std::to_string(book.size())), std::string::npos) << truncated;
    EXPECT_NE(chm::CheckBookHeader(head, 0x80), "");  // the directory would run past the end
    EXPECT_NE(chm::CheckBookHeader("PK\x03\x04 not a book", 1000).find("ITSF"), std::string::npos);
    EXPECT_NE(chm::CheckBookHeader("", 0), "");
    EXPECT_NE(chm::CheckBookHeader(head.substr(0, 0x20), book.size()), "");

    std::string bad_directory = head;
    bad_directory[0x78 + 0x2C] = 9;  // claims more directory chunks than the header's length holds
    EXPECT_NE(chm::CheckBookHeader(bad_directory, book.size()), "");
    std::string bad_version = head;
    bad_version[4] = 7;
    EXPECT_NE(chm::CheckBookHeader(bad_version, book.size()), "");
}

}  // namespace
