#include "chm/strings_table.h"

#include <algorithm>

namespace chm {

namespace {

// Viewers read #STRINGS in blocks of this size and look a string up inside its block.
constexpr size_t kBlockBytes = 0x1000;

}  // namespace

StringsTable::StringsTable() : bytes_(1, '\0') {
    offsets_.emplace(std::string(), 0);
}

uint32_t StringsTable::Add(std::string_view text) {
    // A NUL would end the string early, and a string longer than a block cannot be read whole.
    text = text.substr(0, std::min(text.find('\0'), kBlockBytes - 1));
    auto found = offsets_.find(std::string(text));
    if (found != offsets_.end())
        return found->second;
    const size_t size = text.size() + 1;
    if (bytes_.size() / kBlockBytes != (bytes_.size() + size - 1) / kBlockBytes)
        bytes_.resize((bytes_.size() / kBlockBytes + 1) * kBlockBytes, '\0');
    const auto offset = static_cast<uint32_t>(bytes_.size());
    bytes_.append(text);
    bytes_.push_back('\0');
    offsets_.emplace(std::string(text), offset);
    return offset;
}

}  // namespace chm
