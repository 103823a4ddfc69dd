// Made-up text that a compressor sees much as it sees a Chinese novel saved in GBK: GB2312 characters
// with skewed frequencies, a vocabulary of recurring words, full-width punctuation, indented
// paragraphs, cut into HTML pages. The same seed gives the same text on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lzx_test {

// Pages of about `page_bytes` each, `total_bytes` in all.
std::vector<std::string> GbkPages(size_t total_bytes, size_t page_bytes, uint64_t seed);
// The pages joined: what a book's content section holds.
std::string GbkCorpus(size_t total_bytes, uint64_t seed);

}  // namespace lzx_test
