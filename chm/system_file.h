// #SYSTEM, the file viewers read first (contents, index, default topic, title, locale, default
// window), and #IDXHDR, which #SYSTEM carries a copy of.
#pragma once

#include <cstdint>
#include <string>

namespace chm {

// Texts are in the book's code page, without NUL; empty ones are left out.
struct SystemInfo {
    uint32_t lcid = 0x0804;
    std::string contents_file;
    std::string index_file;
    std::string default_topic;
    std::string title;
    std::string default_window;
    std::string compiled_file;  // the book's file name without ".chm", lower case
    std::string default_font;
    uint32_t timestamp = 0;  // seconds since 1970
    std::string idxhdr;      // the #IDXHDR file
};

std::string BuildSystemFile(const SystemInfo& info);

// `topic_count` counts the pages and the contents and index files.
std::string BuildIdxHdr(uint32_t topic_count, bool folder_images, uint32_t timestamp);

// Whether the locale's code page needs two bytes for some characters (Chinese, Japanese, Korean).
bool IsDoubleByteLocale(uint32_t lcid);

}  // namespace chm
