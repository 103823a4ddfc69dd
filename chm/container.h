// The ITSF container around the files: its header, header section 0 (the book's length), the
// directory, and content section 0, which holds the uncompressed files and, last, the
// compressed section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chm/directory.h"

namespace chm {

inline constexpr size_t kItsfHeaderBytes = 0x60;
inline constexpr size_t kHeaderSection0Bytes = 0x18;

struct StoredFile {
    std::string name;
    std::string bytes;
};

// Everything in front of the compressed section's bytes, which follow it to end the book.
// `entries`: the compressed files and folder entries, with their offsets; `stored`: the files
// kept in section 0. Empty when a name is too long for a directory chunk.
std::string BuildContainerHead(std::vector<DirectoryEntry> entries,
                               const std::vector<StoredFile>& stored,
                               uint64_t compressed_bytes,
                               uint32_t lcid,
                               uint32_t timestamp);

}  // namespace chm
