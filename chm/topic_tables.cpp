#include "chm/topic_tables.h"

#include <algorithm>

#include "chm/little_endian.h"

namespace chm {

namespace {

// Like #STRINGS, these files are read in blocks of this size; no record crosses a block.
constexpr size_t kBlockBytes = 0x1000;
constexpr size_t kUrlTblRecordBytes = 12;
constexpr uint16_t kInContents = 6;
constexpr uint16_t kNotInContents = 2;

void PadForRecord(std::string& file, size_t record_bytes) {
    if (file.size() / kBlockBytes != (file.size() + record_bytes - 1) / kBlockBytes)
        file.resize((file.size() / kBlockBytes + 1) * kBlockBytes, '\0');
}

}  // namespace

uint32_t UrlHash(std::string_view url) {
    uint32_t hash = 0;
    for (char c : url) {
        const int byte = static_cast<signed char>(c);
        const int value = c == '/' ? 0x2C : byte <= 'Z' ? byte - 0x30 : byte - 0x50;
        hash = hash * 43 + static_cast<uint32_t>(value);
    }
    return hash == 0 ? 1 : hash;
}

TopicTables BuildTopicTables(const std::vector<Topic>& topics, StringsTable& strings) {
    TopicTables out;
    out.urlstr.push_back('\0');  // offset 0: no address

    struct UrlRecord {
        uint32_t hash;
        uint32_t topic;
        uint32_t urlstr_offset;
    };
    std::vector<UrlRecord> records;
    for (size_t i = 0; i < topics.size(); ++i) {
        const Topic& topic = topics[i];
        const std::string url = topic.url.substr(0, std::min(topic.url.find('\0'), kBlockBytes - 9));
        PadForRecord(out.urlstr, 8 + url.size() + 1);
        records.push_back({UrlHash(url), static_cast<uint32_t>(i), static_cast<uint32_t>(out.urlstr.size())});
        Put32(out.urlstr, 0);  // a full URL: none, the page is inside the book
        Put32(out.urlstr, 0);  // a frame name: none
        out.urlstr += url;
        out.urlstr.push_back('\0');
    }

    std::stable_sort(records.begin(), records.end(),
                     [](const UrlRecord& a, const UrlRecord& b) { return a.hash < b.hash; });
    std::vector<uint32_t> urltbl_offset(topics.size());
    for (const UrlRecord& record : records) {
        PadForRecord(out.urltbl, kUrlTblRecordBytes);
        urltbl_offset[record.topic] = static_cast<uint32_t>(out.urltbl.size());
        Put32(out.urltbl, record.hash);
        Put32(out.urltbl, record.topic);
        Put32(out.urltbl, record.urlstr_offset);
    }

    for (size_t i = 0; i < topics.size(); ++i) {
        Put32(out.topics, 0);  // no binary contents entry
        Put32(out.topics, topics[i].title.empty() ? 0xFFFFFFFF : strings.Add(topics[i].title));
        Put32(out.topics, urltbl_offset[i]);
        Put16(out.topics, topics[i].in_contents ? kInContents : kNotInContents);
        Put16(out.topics, 0);
    }
    return out;
}

}  // namespace chm
