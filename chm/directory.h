// The container's directory: every stored file's name, content section, offset and length, in
// PMGL listing chunks, with PMGI index chunks above them once there is more than one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace chm {

inline constexpr size_t kDirectoryChunkBytes = 0x1000;
inline constexpr size_t kDirectoryHeaderBytes = 0x54;

struct DirectoryEntry {
    std::string name;      // UTF-8: "/page.htm", "/#SYSTEM", "::DataSpace/NameList", "/" for the root
    uint32_t section = 0;  // 0 uncompressed, 1 compressed
    uint64_t offset = 0;
    uint64_t length = 0;
};

// The directory's order: names compared byte by byte after ASCII lower-casing, so '_' comes
// before every letter, as the readers' binary searches expect.
bool DirectoryNameLess(std::string_view a, std::string_view b);

// The header and chunks, entries sorted. Empty when a name is too long for a chunk.
std::string BuildDirectory(std::vector<DirectoryEntry> entries, uint32_t lcid);

}  // namespace chm
