#include "chm/system_file.h"

#include "chm/little_endian.h"

namespace chm {

namespace {

constexpr size_t kIdxHdrBytes = 0x1000;
constexpr uint32_t kNone = 0xFFFFFFFF;

void PutRecord(std::string& out, uint16_t code, const std::string& data) {
    Put16(out, code);
    Put16(out, static_cast<uint32_t>(data.size()));
    out += data;
}

void PutText(std::string& out, uint16_t code, const std::string& text) {
    if (!text.empty())
        PutRecord(out, code, text + '\0');
}

void PutNumber(std::string& out, uint16_t code, uint32_t value) {
    std::string data;
    Put32(data, value);
    PutRecord(out, code, data);
}

}  // namespace

bool IsDoubleByteLocale(uint32_t lcid) {
    const uint32_t primary = lcid & 0x3FF;
    return primary == 0x04 || primary == 0x11 || primary == 0x12;
}

std::string BuildSystemFile(const SystemInfo& info) {
    std::string out;
    Put32(out, 3);  // the version that carries #IDXHDR and the 36-byte locale record
    // The records in the order the format's own compiler writes them.
    PutNumber(out, 10, info.timestamp);
    // Readers that look at the version expect the HTML Help compiler's form of it.
    PutText(out, 9, "HHA Version 4.74.8702");

    std::string locale;
    Put32(locale, info.lcid);
    Put32(locale, IsDoubleByteLocale(info.lcid) ? 1 : 0);
    Put32(locale, 0);  // no full-text search
    Put32(locale, 0);  // no keyword links
    Put32(locale, 0);  // no associative links
    const uint64_t filetime = (static_cast<uint64_t>(info.timestamp) + 11644473600ull) * 10000000ull;
    Put64(locale, filetime);
    Put32(locale, 0);
    Put32(locale, 0);
    PutRecord(out, 4, locale);

    PutText(out, 2, info.default_topic);
    PutText(out, 3, info.title);
    PutText(out, 16, info.default_font);
    PutText(out, 6, info.compiled_file);
    PutText(out, 0, info.contents_file);
    PutText(out, 1, info.index_file);
    PutText(out, 5, info.default_window);
    PutNumber(out, 12, 0);  // no information types
    if (!info.idxhdr.empty())
        PutRecord(out, 13, info.idxhdr);
    PutNumber(out, 15, 0);  // their checksum
    return out;
}

std::string BuildIdxHdr(uint32_t topic_count, bool folder_images, uint32_t timestamp) {
    std::string out = "T#SM";
    Put32(out, timestamp);
    Put32(out, 1);
    Put32(out, topic_count);
    Put32(out, 0);
    Put32(out, kNone);  // no image list
    Put32(out, 0);
    Put32(out, folder_images ? 1 : 0);
    Put32(out, kNone);  // background colour: the viewer's own
    Put32(out, kNone);  // foreground colour
    Put32(out, kNone);  // font
    Put32(out, kNone);  // window style
    Put32(out, kNone);  // extended window style
    Put32(out, kNone);
    Put32(out, kNone);  // frame name
    Put32(out, kNone);  // window name
    Put32(out, 0);      // no information types
    Put32(out, 1);
    Put32(out, 0);  // no merged files
    Put32(out, 0);
    out.resize(kIdxHdrBytes, '\0');
    return out;
}

}  // namespace chm
