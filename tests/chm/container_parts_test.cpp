// The container's parts, each read back the way readers read it.
#include <algorithm>
#include <atomic>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "chm/container.h"
#include "chm/content_section.h"
#include "chm/dataspace_files.h"
#include "chm/directory.h"
#include "chm/lzx/lzx_compressor.h"
#include "chm/strings_table.h"
#include "chm/system_file.h"
#include "chm/topic_tables.h"
#include "chm/windows_file.h"
#include "tests/chm/chm_test_support.h"

namespace {

using chm_test::Le32;

uint16_t Le16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes.at(at)) | static_cast<unsigned char>(bytes.at(at + 1))
                                                                                << 8);
}

std::string CString(const std::string& bytes, size_t at) {
    return bytes.substr(at, bytes.find('\0', at) - at);
}

bool CrossesBlock(size_t offset, size_t size) {
    return offset / 0x1000 != (offset + size - 1) / 0x1000;
}

TEST(DirectoryTest, NamesSortLowerCasedByteByByte) {
    EXPECT_TRUE(chm::DirectoryNameLess("/", "/#SYSTEM"));
    EXPECT_TRUE(chm::DirectoryNameLess("/_x", "/a"));  // '_' before every letter once lower-cased
    EXPECT_FALSE(chm::DirectoryNameLess("/Z", "/_"));  // upper case compares as lower case
    EXPECT_FALSE(chm::DirectoryNameLess("/a", "/_x"));
    EXPECT_TRUE(chm::DirectoryNameLess("/a.htm", "/B.htm"));
    EXPECT_FALSE(chm::DirectoryNameLess("/A.htm", "/a.htm"));
    EXPECT_TRUE(chm::DirectoryNameLess("/zz", "::DataSpace"));
    EXPECT_TRUE(chm::DirectoryNameLess("/静", "/한"));  // UTF-8 bytes, i.e. code point order
    EXPECT_TRUE(chm::DirectoryNameLess("/한", "/😀"));
}

// The directory of a book holding only `entries`, read back.
struct BuiltDirectory {
    std::string book;
    chm_test::BookDirectory read;
};
BuiltDirectory Build(std::vector<chm::DirectoryEntry> entries) {
    BuiltDirectory built;
    built.book = chm::BuildContainerHead(std::move(entries), {}, 0, 0x804, 1);
    built.read = chm_test::ReadBookDirectory(built.book);
    return built;
}

TEST(DirectoryTest, ThousandsOfNamesNeedListingChunksUnderAnIndex) {
    std::vector<chm::DirectoryEntry> entries;
    auto name = [](int i) { return "/章节_" + std::to_string(i * 7919 % 3000) + (i % 2 ? ".HTM" : ".htm"); };
    for (int i = 0; i < 3000; ++i)
        entries.push_back({name(i), 1, static_cast<uint64_t>(i) * 1000, static_cast<uint64_t>(i)});
    const BuiltDirectory built = Build(entries);
    const chm_test::BookDirectory& d = built.read;
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.entries.size(), 3000u + 3);  // with "/", Content and the transform's folder
    EXPECT_TRUE(std::is_sorted(d.order.begin(), d.order.end(), chm::DirectoryNameLess));
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(d.entries.count(name(i)), 1u) << name(i);
        EXPECT_EQ(d.entries.at(name(i)).offset, static_cast<uint64_t>(i) * 1000);
        EXPECT_EQ(d.entries.at(name(i)).length, static_cast<uint64_t>(i));
    }

    // Every listing chunk: its free-space field ends its entries exactly, its last word counts
    // them, and every fifth entry has a quick reference back from the end.
    const size_t directory = 0x78;
    const size_t chunks = directory + chm::kDirectoryHeaderBytes;
    const uint32_t listing_chunks = Le32(built.book, directory + 0x24) + 1;
    ASSERT_GT(listing_chunks, 10u);
    EXPECT_EQ(d.depth, 2u);
    EXPECT_EQ(d.root, static_cast<int32_t>(d.chunk_count - 1));
    EXPECT_EQ(d.chunk_count, listing_chunks + 1);
    for (uint32_t c = 0; c < listing_chunks; ++c) {
        const std::string chunk = built.book.substr(chunks + c * 0x1000, 0x1000);
        const size_t end = 0x1000 - Le32(chunk, 4);
        size_t pos = 0x14;
        std::vector<size_t> starts;
        while (pos < end) {
            starts.push_back(pos - 0x14);
            size_t name_length = static_cast<unsigned char>(chunk[pos]);
            ASSERT_LT(name_length, 0x80u);
            pos += 1 + name_length;
            for (int field = 0; field < 3; ++field) {
                while (static_cast<unsigned char>(chunk[pos]) & 0x80)
                    ++pos;
                ++pos;
            }
        }
        ASSERT_EQ(pos, end) << "chunk " << c;
        ASSERT_EQ(Le16(chunk, 0x1000 - 2), starts.size());
        const size_t quick_refs = (starts.size() - 1) / 5;
        ASSERT_GE(Le32(chunk, 4), 2 + 2 * ((starts.size() + 4) / 5)) << "room for the quick references";
        for (size_t q = 1; q <= quick_refs; ++q)
            EXPECT_EQ(Le16(chunk, 0x1000 - 2 - 2 * q), starts[5 * q]) << "chunk " << c << " ref " << q;
        EXPECT_EQ(static_cast<int32_t>(Le32(chunk, 0x0C)), c == 0 ? -1 : static_cast<int32_t>(c - 1));
    }

    // The index chunk names each listing chunk by its first entry.
    const std::string index = built.book.substr(chunks + listing_chunks * 0x1000, 0x1000);
    ASSERT_EQ(index.substr(0, 4), "PMGI");
    ASSERT_EQ(Le16(index, 0x1000 - 2), listing_chunks);
    size_t pos = 8;
    size_t first_of_chunk = 0;
    for (uint32_t c = 0; c < listing_chunks; ++c) {
        const size_t length = static_cast<unsigned char>(index[pos]);
        const std::string name = index.substr(pos + 1, length);
        pos += 1 + length;
        EXPECT_EQ(static_cast<unsigned char>(index[pos]), c);
        ++pos;
        EXPECT_EQ(name, d.order[first_of_chunk]) << "chunk " << c;
        first_of_chunk += Le16(built.book, chunks + c * 0x1000 + 0x1000 - 2);
    }
}

// Finds `name` the way chmlib does: down from the root index chunk, taking in each index chunk
// the last entry not above the name, then through the listing chunk reached.
bool FindThroughIndex(const std::string& book, const std::string& name) {
    const size_t chunks = 0x78 + chm::kDirectoryHeaderBytes;
    int32_t chunk = static_cast<int32_t>(Le32(book, 0x78 + 0x1C));
    for (int level = 0; level < 8 && chunk >= 0; ++level) {
        const std::string c = book.substr(chunks + static_cast<size_t>(chunk) * 0x1000, 0x1000);
        const bool listing = c.compare(0, 4, "PMGL") == 0;
        const size_t end = 0x1000 - Le32(c, 4);
        size_t pos = listing ? 0x14 : 8;
        int32_t next = -1;
        while (pos < end) {
            size_t length = 0;
            while (static_cast<unsigned char>(c[pos]) & 0x80)
                length = (length << 7) | (c[pos++] & 0x7F);
            length = (length << 7) | c[pos++];
            const std::string entry = c.substr(pos, length);
            pos += length;
            if (listing && entry == name)
                return true;
            if (!listing && chm::DirectoryNameLess(name, entry))
                break;
            uint64_t value = 0;
            for (int field = 0; field < (listing ? 3 : 1); ++field) {
                value = 0;
                while (static_cast<unsigned char>(c[pos]) & 0x80)
                    value = (value << 7) | (c[pos++] & 0x7F);
                value = (value << 7) | c[pos++];
            }
            next = static_cast<int32_t>(value);
        }
        if (listing)
            return false;
        chunk = next;
    }
    return false;
}

TEST(DirectoryTest, TensOfThousandsOfNamesNeedTwoIndexLevels) {
    std::vector<chm::DirectoryEntry> entries;
    for (int i = 0; i < 60000; ++i)
        entries.push_back(
            {"/卷" + std::to_string(i % 7) + "/第" + std::to_string(i) + "页.htm", 1, static_cast<uint64_t>(i), 1});
    const BuiltDirectory built = Build(entries);
    ASSERT_EQ(built.read.error, "");
    EXPECT_EQ(built.read.depth, 3u);
    EXPECT_EQ(built.read.entries.size(), 60000u + 3);
    for (int i = 0; i < 60000; i += 997)
        EXPECT_TRUE(FindThroughIndex(built.book, entries[static_cast<size_t>(i)].name)) << entries[i].name;
    EXPECT_TRUE(FindThroughIndex(built.book, "/"));
    EXPECT_TRUE(FindThroughIndex(built.book, "::DataSpace/Storage/MSCompressed/Content"));
    EXPECT_FALSE(FindThroughIndex(built.book, "/卷1/第0页.htm"));  // 0 is in 卷0
}

TEST(DirectoryTest, OneChunkBookHasNoIndex) {
    const BuiltDirectory built = Build({{"/a.htm", 1, 0, 5}});
    EXPECT_EQ(built.read.depth, 1u);
    EXPECT_EQ(built.read.root, -1);
    EXPECT_EQ(built.read.chunk_count, 1u);
}

TEST(DirectoryTest, NameLongerThanAChunkIsRefused) {
    EXPECT_EQ(chm::BuildDirectory({{"/" + std::string(5000, 'a'), 1, 0, 1}}, 0x804), "");
}

TEST(StringsTableTest, EmptyAtZeroEachTextOnceAndNoneAcrossABlock) {
    chm::StringsTable strings;
    EXPECT_EQ(strings.Add(""), 0u);
    const uint32_t title = strings.Add("书名");
    EXPECT_EQ(strings.Add("书名"), title);
    std::set<uint32_t> offsets;
    for (int i = 0; i < 2000; ++i) {
        const std::string text(static_cast<size_t>(1 + i * 37 % 300), static_cast<char>('a' + i % 26));
        const uint32_t offset = strings.Add(text + std::to_string(i));
        EXPECT_FALSE(CrossesBlock(offset, text.size() + std::to_string(i).size() + 1)) << i;
        EXPECT_EQ(CString(strings.bytes(), offset), text + std::to_string(i));
        offsets.insert(offset);
    }
    EXPECT_EQ(offsets.size(), 2000u);
    EXPECT_EQ(strings.bytes()[0], '\0');
}

TEST(TopicTablesTest, HashFollowsTheFormatsRule) {
    // hash = hash * 43 + value, value = c - 0x30 up to 'Z', c - 0x50 above, 0x2C for '/'.
    EXPECT_EQ(chm::UrlHash("a"), 0x11u);
    EXPECT_EQ(chm::UrlHash("aB"), 0x11u * 43 + 0x12);
    EXPECT_EQ(chm::UrlHash("/"), 0x2Cu);
    EXPECT_EQ(chm::UrlHash(""), 1u);  // zero is kept for "no hash"
}

TEST(TopicTablesTest, EveryTopicLeadsToItsAddressAndTitle) {
    std::vector<chm::Topic> topics;
    for (int i = 0; i < 800; ++i)
        topics.push_back({"page_" + std::to_string(i) + ".htm", i % 3 ? "标题" + std::to_string(i) : "", i % 2 == 0});
    chm::StringsTable strings;
    const chm::TopicTables tables = chm::BuildTopicTables(topics, strings);
    ASSERT_EQ(tables.topics.size(), topics.size() * 16);
    uint32_t last_hash = 0;
    size_t records = 0;
    for (size_t record = 0; record + 12 <= tables.urltbl.size(); record += 12, ++records) {
        if (CrossesBlock(record, 12))
            record = (record / 0x1000 + 1) * 0x1000;  // a block's end is padding
        const uint32_t hash = Le32(tables.urltbl, record);
        EXPECT_GE(hash, last_hash) << "#URLTBL is sorted by hash";
        last_hash = hash;
    }
    EXPECT_EQ(records, topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        const size_t at = i * 16;
        const uint32_t title = Le32(tables.topics, at + 4);
        if (topics[i].title.empty())
            EXPECT_EQ(title, 0xFFFFFFFFu);
        else
            EXPECT_EQ(CString(strings.bytes(), title), topics[i].title);
        const uint32_t urltbl = Le32(tables.topics, at + 8);
        ASSERT_FALSE(CrossesBlock(urltbl, 12));
        EXPECT_EQ(Le32(tables.urltbl, urltbl), chm::UrlHash(topics[i].url));
        EXPECT_EQ(Le32(tables.urltbl, urltbl + 4), i);
        const uint32_t urlstr = Le32(tables.urltbl, urltbl + 8);
        EXPECT_FALSE(CrossesBlock(urlstr, 8 + topics[i].url.size() + 1));
        EXPECT_EQ(CString(tables.urlstr, urlstr + 8), topics[i].url);
        EXPECT_EQ(Le16(tables.topics, at + 12), topics[i].in_contents ? 6 : 2);
    }
}

TEST(WindowsFileTest, RecordFieldsWhereTheViewersReadThem) {
    chm::WindowDefinition w;
    w.name = "chm_window";
    w.caption = "书";
    w.contents_file = "chm_hhc.hhc";
    w.index_file = "chm_hhk.hhk";
    w.default_file = "书_1.htm";
    w.home_file = "home.htm";
    w.properties = 0x2120;
    w.toolbar_flags = 0x8380e;
    w.position = std::array<int32_t, 4>{28, 28, 1020, 720};
    chm::WindowDefinition second;
    second.name = "other";
    chm::StringsTable strings;
    const std::string file = chm::BuildWindowsFile({w, second}, strings);
    ASSERT_EQ(file.size(), 8 + 2 * chm::kWindowRecordBytes);
    EXPECT_EQ(Le32(file, 0), 2u);
    EXPECT_EQ(Le32(file, 4), 0xC4u);
    const std::string record = file.substr(8, 0xC4);
    const std::string& s = strings.bytes();
    EXPECT_EQ(Le32(record, 0), 0xC4u);
    EXPECT_EQ(CString(s, Le32(record, 0x08)), "chm_window");
    EXPECT_EQ(Le32(record, 0x0C), (1u << 1) | (1u << 4) | (1u << 8));  // properties, position, buttons
    EXPECT_EQ(Le32(record, 0x10), 0x2120u);
    EXPECT_EQ(CString(s, Le32(record, 0x14)), "书");
    EXPECT_EQ(Le32(record, 0x20), 28u);
    EXPECT_EQ(Le32(record, 0x2C), 720u);
    EXPECT_EQ(CString(s, Le32(record, 0x60)), "chm_hhc.hhc");
    EXPECT_EQ(CString(s, Le32(record, 0x64)), "chm_hhk.hhk");
    EXPECT_EQ(CString(s, Le32(record, 0x68)), "书_1.htm");
    EXPECT_EQ(CString(s, Le32(record, 0x6C)), "home.htm");
    EXPECT_EQ(Le32(record, 0x70), 0x8380eu);
    const std::string other = file.substr(8 + 0xC4);
    EXPECT_EQ(CString(s, Le32(other, 0x08)), "other");
    EXPECT_EQ(Le32(other, 0x68), 0u);  // absent: offset 0, the empty string
}

TEST(SystemFileTest, RecordsTheViewersLookFor) {
    chm::SystemInfo info;
    info.title = "书名";
    info.default_topic = "书_1.htm";
    info.contents_file = "chm_hhc.hhc";
    info.index_file = "chm_hhk.hhk";
    info.default_window = "chm_window";
    info.compiled_file = "书";
    info.idxhdr = chm::BuildIdxHdr(12, true, 7);
    const std::string file = chm::BuildSystemFile(info);
    EXPECT_EQ(Le32(file, 0), 3u);
    const std::map<int, std::string> records = chm_test::SystemRecords(file);
    EXPECT_EQ(chm_test::RecordText(records, 3), "书名");
    EXPECT_EQ(chm_test::RecordText(records, 2), "书_1.htm");
    EXPECT_EQ(chm_test::RecordText(records, 0), "chm_hhc.hhc");
    EXPECT_EQ(chm_test::RecordText(records, 1), "chm_hhk.hhk");
    EXPECT_EQ(chm_test::RecordText(records, 5), "chm_window");
    EXPECT_EQ(chm_test::RecordText(records, 6), "书");
    EXPECT_EQ(records.count(16), 0u) << "no font named, no font record";
    ASSERT_EQ(records.at(4).size(), 36u);
    EXPECT_EQ(Le32(records.at(4), 0), 0x804u);
    EXPECT_EQ(Le32(records.at(4), 4), 1u) << "code page 936 is double-byte";
    ASSERT_EQ(records.at(13).size(), 4096u);
    EXPECT_EQ(records.at(13).substr(0, 4), "T#SM");
    EXPECT_EQ(Le32(records.at(13), 0x0C), 12u);
    EXPECT_EQ(Le32(records.at(13), 0x1C), 1u);
    EXPECT_EQ(chm::IsDoubleByteLocale(0x409), false);
    EXPECT_EQ(chm::IsDoubleByteLocale(0x404), true);
}

TEST(DataspaceFilesTest, ControlDataAgreesWithEveryReadersResetRule) {
    for (auto [bits, frames] : {std::pair{16, 1}, {16, 2}, {17, 2}, {18, 8}, {21, 32}}) {
        const std::string control = chm::ControlDataFile(bits, frames);
        ASSERT_EQ(control.size(), 28u);
        EXPECT_EQ(control.substr(4, 4), "LZXC");
        const uint32_t reset = Le32(control, 0x0C) * 0x8000;
        const uint32_t window = Le32(control, 0x10) * 0x8000;
        EXPECT_EQ(reset / 0x8000, static_cast<uint32_t>(frames));
        EXPECT_EQ(window, 1u << bits);
        // chmlib: frames between resets = reset / (window / 2) * the field at 0x14.
        EXPECT_EQ(reset / (window / 2) * Le32(control, 0x14), static_cast<uint32_t>(frames)) << bits;
    }
}

TEST(DataspaceFilesTest, ResetTableListsEveryFrameAndTheEndOfTheData) {
    // Three frames and the entry the compressor adds at the end of its data.
    const std::string table = chm::ResetTableFile({0, 100, 250, 400}, 3 * 0x8000, 400);
    EXPECT_EQ(Le32(table, 0), 2u);
    EXPECT_EQ(Le32(table, 4), 4u);
    EXPECT_EQ(Le32(table, 8), 8u);
    EXPECT_EQ(Le32(table, 12), 0x28u);
    EXPECT_EQ(Le32(table, 0x10), 3u * 0x8000);
    EXPECT_EQ(Le32(table, 0x18), 400u);
    EXPECT_EQ(Le32(table, 0x20), 0x8000u);
    EXPECT_EQ(Le32(table, 0x28 + 8), 100u);
    EXPECT_EQ(Le32(table, 0x28 + 24), 400u);
    EXPECT_EQ(table.size(), 0x28u + 4 * 8);
    const std::string names = chm::NameListFile();
    EXPECT_EQ(Le16(names, 0) * 2u, names.size());
    EXPECT_EQ(Le16(names, 2), 2u);
    EXPECT_EQ(Le16(names, 4), 12u);  // "Uncompressed"
}

class ZeroCounter : public lzx::ByteSink {
  public:
    void Put(std::string_view bytes) override { size += bytes.size(); }
    uint64_t size = 0;
};

TEST(LzxCompressorTest, OneOffsetPerFrameFromZero) {
    ZeroCounter sink;
    lzx::LzxCompressor compressor(lzx::LzxSettings{16, 2, false}, sink);
    std::string data;
    for (int i = 0; i < 7 * 0x4000 + 123; ++i)
        data.push_back(static_cast<char>("春眠不觉晓处处闻啼鸟"[i % 30]));
    for (size_t pos = 0; pos < data.size(); pos += 9999)
        compressor.Write(std::string_view(data).substr(pos, 9999));
    compressor.Finish();
    const std::vector<uint64_t>& offsets = compressor.FrameOffsets();
    ASSERT_EQ(offsets.size(), 4u);  // 3.5 frames, and the end of the data
    EXPECT_EQ(offsets[0], 0u);
    EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
    EXPECT_LT(offsets.back(), compressor.CompressedBytes());
    EXPECT_EQ(compressor.UncompressedBytes(), data.size());
    EXPECT_EQ(compressor.CompressedBytes(), sink.size);
}

TEST(ContentSectionTest, PadsToAWholeResetIntervalAndRecordsOffsets) {
    chm::ContentSection section(lzx::LzxSettings{16, 4, true});
    uint64_t first = 99;
    uint64_t second = 99;
    ASSERT_TRUE(section.Add(std::string(100, 'x'), nullptr, &first));
    ASSERT_TRUE(section.Add(std::string(), nullptr, &second));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(second, 100u);
    section.Finish();
    EXPECT_EQ(section.UncompressedBytes(), 4u * 0x8000);
    EXPECT_EQ(section.FrameOffsets().size(), 4u + 1) << "every frame and the end of the data";
    size_t stored = 0;
    for (const std::string& piece : section.Pieces())
        stored += piece.size();
    EXPECT_EQ(stored, section.CompressedBytes());
}

TEST(ContentSectionTest, StopsWhenCancelled) {
    chm::ContentSection section(lzx::LzxSettings{});
    std::atomic<bool> cancel{true};
    uint64_t offset = 0;
    EXPECT_FALSE(section.Add(std::string(300000, 'x'), &cancel, &offset));
    EXPECT_EQ(section.UncompressedBytes(), 0u);
}

}  // namespace
