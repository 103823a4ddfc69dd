#include "chm/container.h"

#include "chm/dataspace_files.h"
#include "chm/little_endian.h"

namespace chm {

std::string BuildContainerHead(std::vector<DirectoryEntry> entries,
                               const std::vector<StoredFile>& stored,
                               uint64_t compressed_bytes,
                               uint32_t lcid,
                               uint32_t timestamp) {
    std::string section0;
    for (const StoredFile& file : stored) {
        entries.push_back({file.name, 0, section0.size(), file.bytes.size()});
        section0 += file.bytes;
    }
    entries.push_back({kContentName, 0, section0.size(), compressed_bytes});
    // Folder entries let storage readers list the root and reach the transform's data.
    entries.push_back({"/", 0, 0, 0});
    entries.push_back({kInstanceDataName, 0, 0, 0});

    const std::string directory = BuildDirectory(std::move(entries), lcid);
    if (directory.empty())
        return {};

    const uint64_t directory_offset = kItsfHeaderBytes + kHeaderSection0Bytes;
    const uint64_t content_offset = directory_offset + directory.size();
    const uint64_t book_bytes = content_offset + section0.size() + compressed_bytes;

    std::string out = "ITSF";
    Put32(out, 3);  // version
    Put32(out, kItsfHeaderBytes);
    Put32(out, 1);
    // The time, most significant byte first as the format has it.
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((timestamp >> shift) & 0xFF));
    Put32(out, lcid);
    static const unsigned char kTail[8] = {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    PutGuid(out, 0x7C01FD10, 0x7BAA, 0x11D0, kTail);
    PutGuid(out, 0x7C01FD11, 0x7BAA, 0x11D0, kTail);
    Put64(out, kItsfHeaderBytes);
    Put64(out, kHeaderSection0Bytes);
    Put64(out, directory_offset);
    Put64(out, directory.size());
    Put64(out, content_offset);

    Put32(out, 0x01FE);
    Put32(out, 0);
    Put64(out, book_bytes);
    Put32(out, 0);
    Put32(out, 0);

    out.reserve(content_offset + section0.size());
    out += directory;
    out += section0;
    return out;
}

}  // namespace chm
