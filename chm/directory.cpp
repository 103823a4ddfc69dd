#include "chm/directory.h"

#include <algorithm>

#include "chm/little_endian.h"

namespace chm {

namespace {

constexpr uint32_t kQuickRefDensity = 2;
constexpr size_t kEntriesPerQuickRef = 1 + (1 << kQuickRefDensity);
constexpr size_t kListingHeaderBytes = 0x14;
constexpr size_t kIndexHeaderBytes = 0x08;
constexpr uint32_t kNone = 0xFFFFFFFF;

unsigned char FoldedByte(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// Space the quick-reference area needs at a chunk's end for `count` entries: the count, one
// offset for every fifth entry after the first, and one word more, which a reader checks for.
size_t QuickRefBytes(size_t count) {
    return 2 + 2 * ((count + kEntriesPerQuickRef - 1) / kEntriesPerQuickRef);
}

// Entries packed into chunks of one kind: each chunk's body, its first entry's name and its
// quick-reference offsets (from the first entry).
class ChunkPacker {
  public:
    explicit ChunkPacker(size_t header_bytes) : header_bytes_(header_bytes) {}

    bool Add(std::string_view name, const std::string& encoded) {
        if (chunks_.empty() || !Fits(chunks_.back(), encoded.size())) {
            chunks_.emplace_back();
            chunks_.back().first_name = std::string(name);
            if (!Fits(chunks_.back(), encoded.size()))
                return false;
        }
        Chunk& chunk = chunks_.back();
        if (chunk.count > 0 && chunk.count % kEntriesPerQuickRef == 0)
            chunk.quick_refs.push_back(static_cast<uint16_t>(chunk.body.size()));
        chunk.body += encoded;
        ++chunk.count;
        return true;
    }

    // The finished chunk: `head` (signature and kind-specific fields, without the free-space
    // field's value) + body + free space + quick references.
    std::string Finish(size_t index, std::string head) const {
        const Chunk& chunk = chunks_[index];
        std::string out = std::move(head);
        Set32(out, 4, static_cast<uint32_t>(kDirectoryChunkBytes - header_bytes_ - chunk.body.size()));
        out += chunk.body;
        out.resize(kDirectoryChunkBytes - 2 - 2 * chunk.quick_refs.size(), '\0');
        for (size_t q = chunk.quick_refs.size(); q-- > 0;)
            Put16(out, chunk.quick_refs[q]);
        Put16(out, static_cast<uint32_t>(chunk.count));
        return out;
    }

    size_t size() const { return chunks_.size(); }
    const std::string& FirstName(size_t index) const { return chunks_[index].first_name; }

  private:
    struct Chunk {
        std::string first_name;
        std::string body;
        std::vector<uint16_t> quick_refs;
        size_t count = 0;
    };

    bool Fits(const Chunk& chunk, size_t more) const {
        return header_bytes_ + chunk.body.size() + more + QuickRefBytes(chunk.count + 1) <= kDirectoryChunkBytes;
    }

    size_t header_bytes_;
    std::vector<Chunk> chunks_;
};

void PutName(std::string& out, std::string_view name) {
    PutEncInt(out, name.size());
    out.append(name);
}

}  // namespace

bool DirectoryNameLess(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = FoldedByte(a[i]);
        const unsigned char y = FoldedByte(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

std::string BuildDirectory(std::vector<DirectoryEntry> entries, uint32_t lcid) {
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return DirectoryNameLess(a.name, b.name); });

    ChunkPacker listing(kListingHeaderBytes);
    for (const DirectoryEntry& entry : entries) {
        std::string encoded;
        PutName(encoded, entry.name);
        PutEncInt(encoded, entry.section);
        PutEncInt(encoded, entry.offset);
        PutEncInt(encoded, entry.length);
        if (!listing.Add(entry.name, encoded))
            return {};
    }
    if (listing.size() == 0)
        return {};

    std::vector<std::string> chunks;
    const size_t listing_count = listing.size();
    for (size_t i = 0; i < listing_count; ++i) {
        std::string head = "PMGL";
        Put32(head, 0);  // free space, set by Finish
        Put32(head, 0);
        Put32(head, i == 0 ? kNone : static_cast<uint32_t>(i - 1));
        Put32(head, i + 1 == listing_count ? kNone : static_cast<uint32_t>(i + 1));
        chunks.push_back(listing.Finish(i, std::move(head)));
    }

    // Index levels, each naming the first entry of every chunk below it, until one chunk is left.
    uint32_t depth = 1;
    std::vector<std::pair<std::string, uint32_t>> level;
    for (size_t i = 0; i < listing_count; ++i)
        level.emplace_back(listing.FirstName(i), static_cast<uint32_t>(i));
    while (level.size() > 1) {
        ChunkPacker index(kIndexHeaderBytes);
        for (const auto& [name, chunk_number] : level) {
            std::string encoded;
            PutName(encoded, name);
            PutEncInt(encoded, chunk_number);
            if (!index.Add(name, encoded))
                return {};
        }
        std::vector<std::pair<std::string, uint32_t>> above;
        for (size_t i = 0; i < index.size(); ++i) {
            above.emplace_back(index.FirstName(i), static_cast<uint32_t>(chunks.size()));
            std::string head = "PMGI";
            Put32(head, 0);
            chunks.push_back(index.Finish(i, std::move(head)));
        }
        level = std::move(above);
        ++depth;
    }

    std::string out = "ITSP";
    Put32(out, 1);  // version
    Put32(out, kDirectoryHeaderBytes);
    Put32(out, 0x0A);
    Put32(out, kDirectoryChunkBytes);
    Put32(out, kQuickRefDensity);
    Put32(out, depth);
    Put32(out, depth == 1 ? kNone : static_cast<uint32_t>(chunks.size() - 1));  // the root index chunk
    Put32(out, 0);                                                              // first listing chunk
    Put32(out, static_cast<uint32_t>(listing_count - 1));                       // last listing chunk
    Put32(out, kNone);
    Put32(out, static_cast<uint32_t>(chunks.size()));
    Put32(out, lcid);
    static const unsigned char kTail[8] = {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    PutGuid(out, 0x5D02926A, 0x212E, 0x11D0, kTail);
    Put32(out, kDirectoryHeaderBytes);
    Put32(out, kNone);
    Put32(out, kNone);
    Put32(out, kNone);
    out.reserve(out.size() + chunks.size() * kDirectoryChunkBytes);
    for (const std::string& chunk : chunks)
        out += chunk;
    return out;
}

}  // namespace chm
