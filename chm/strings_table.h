// #STRINGS: the NUL-terminated strings (in the book's code page) that #WINDOWS, #TOPICS and
// #IDXHDR point at by offset. Offset 0 is the empty string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace chm {

class StringsTable {
  public:
    StringsTable();
    // The offset of `text` (code page bytes, no NUL), adding it once. "" is offset 0.
    uint32_t Add(std::string_view text);
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
    std::unordered_map<std::string, uint32_t> offsets_;
};

}  // namespace chm
