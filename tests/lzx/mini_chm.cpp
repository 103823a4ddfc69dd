#include "tests/lzx/mini_chm.h"

namespace lzx_test {
namespace {

void U16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void U32(std::string& out, uint32_t v) {
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}
void U64(std::string& out, uint64_t v) {
    U32(out, static_cast<uint32_t>(v));
    U32(out, static_cast<uint32_t>(v >> 32));
}
// Big-endian groups of seven bits, the high bit set on all but the last.
void EncInt(std::string& out, uint64_t v) {
    std::string groups(1, static_cast<char>(v & 0x7F));
    for (v >>= 7; v != 0; v >>= 7) {
        groups.insert(groups.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    }
    out += groups;
}
void Guid(std::string& out, uint32_t a, uint32_t b, uint32_t c, uint64_t d) {
    U32(out, a);
    U16(out, b);
    U16(out, c);
    for (int i = 7; i >= 0; --i) {
        out.push_back(static_cast<char>((d >> (8 * i)) & 0xFF));
    }
}

struct Entry {
    std::string name;
    uint32_t section;
    uint64_t offset;
    uint64_t length;
};

constexpr uint32_t kChunkSize = 0x1000;

std::string DirectoryChunk(const std::vector<Entry>& entries) {
    std::string chunk = "PMGL";
    U32(chunk, 0);  // free space, set below
    U32(chunk, 0);
    U32(chunk, 0xFFFFFFFF);
    U32(chunk, 0xFFFFFFFF);
    const size_t first = chunk.size();
    std::vector<uint32_t> quick_refs;  // every fifth entry (density 2), from the first entry's offset
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i != 0 && i % 5 == 0) {
            quick_refs.push_back(static_cast<uint32_t>(chunk.size() - first));
        }
        EncInt(chunk, entries[i].name.size());
        chunk += entries[i].name;
        EncInt(chunk, entries[i].section);
        EncInt(chunk, entries[i].offset);
        EncInt(chunk, entries[i].length);
    }
    const uint32_t free_space = kChunkSize - static_cast<uint32_t>(chunk.size());
    chunk[4] = static_cast<char>(free_space & 0xFF);
    chunk[5] = static_cast<char>(free_space >> 8);
    std::string tail;
    for (auto it = quick_refs.rbegin(); it != quick_refs.rend(); ++it) {
        U16(tail, *it);
    }
    U16(tail, static_cast<uint32_t>(entries.size()));
    chunk.resize(kChunkSize - tail.size(), '\0');
    return chunk + tail;
}

}  // namespace

std::string MiniChm(const Stream& stream, const std::vector<SectionFile>& files, uint32_t windows_per_reset) {
    std::string section0;
    std::vector<Entry> entries;
    for (const SectionFile& f : files) {
        entries.push_back({f.name, 1, f.offset, f.length});
    }
    auto add = [&](const std::string& name, const std::string& bytes) {
        entries.push_back({name, 0, section0.size(), bytes.size()});
        section0 += bytes;
    };

    std::string names;
    U16(names, 0);  // length in 16-bit words, set below
    U16(names, 2);
    for (const std::string name : {"Uncompressed", "MSCompressed"}) {
        U16(names, static_cast<uint32_t>(name.size()));
        for (char c : name) {
            U16(names, static_cast<uint8_t>(c));
        }
        U16(names, 0);
    }
    names[0] = static_cast<char>(names.size() / 2);
    add("::DataSpace/NameList", names);

    const std::string prefix = "::DataSpace/Storage/MSCompressed/";
    add(prefix + "Content", stream.bytes);

    std::string control;
    U32(control, 6);
    control += "LZXC";
    U32(control, 2);  // counts in frames
    U32(control, static_cast<uint32_t>(stream.layout.frames_per_reset));
    U32(control, (1u << stream.layout.window_bits) / 0x8000);
    U32(control, windows_per_reset);
    U32(control, 0);
    add(prefix + "ControlData", control);

    std::string span;
    U64(span, stream.uncompressed);
    add(prefix + "SpanInfo", span);

    std::string list;
    for (char c : std::string("{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}")) {
        U16(list, static_cast<uint8_t>(c));
    }
    add(prefix + "Transform/List", list);

    std::string reset_table;
    U32(reset_table, 2);
    U32(reset_table, static_cast<uint32_t>(stream.frame_offsets.size()));
    U32(reset_table, 8);
    U32(reset_table, 0x28);
    U64(reset_table, stream.uncompressed);
    U64(reset_table, stream.bytes.size());
    U64(reset_table, 0x8000);
    for (uint64_t offset : stream.frame_offsets) {
        U64(reset_table, offset);
    }
    add(prefix + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable", reset_table);

    std::string directory = "ITSP";
    U32(directory, 1);
    U32(directory, 0x54);
    U32(directory, 0x0A);
    U32(directory, kChunkSize);
    U32(directory, 2);  // quick reference density
    U32(directory, 1);  // depth: one listing chunk, no index chunks
    U32(directory, 0xFFFFFFFF);
    U32(directory, 0);
    U32(directory, 0);
    U32(directory, 0xFFFFFFFF);
    U32(directory, 1);
    U32(directory, 0x409);
    Guid(directory, 0x5D02926A, 0x212E, 0x11D0, 0x9DF900A0C922E6ECull);
    U32(directory, 0x54);
    U32(directory, 0xFFFFFFFF);
    U32(directory, 0xFFFFFFFF);
    U32(directory, 0xFFFFFFFF);
    directory += DirectoryChunk(entries);

    const uint64_t header_section = 0x60;
    const uint64_t directory_offset = header_section + 0x18;
    const uint64_t content_offset = directory_offset + directory.size();
    const uint64_t file_size = content_offset + section0.size();
    std::string file = "ITSF";
    U32(file, 3);
    U32(file, 0x60);
    U32(file, 1);
    U32(file, 0x12345678);
    U32(file, 0x804);
    Guid(file, 0x7C01FD10, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
    Guid(file, 0x7C01FD11, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
    U64(file, header_section);
    U64(file, 0x18);
    U64(file, directory_offset);
    U64(file, directory.size());
    U64(file, content_offset);
    U32(file, 0x1FE);
    U32(file, 0);
    U64(file, file_size);
    U32(file, 0);
    U32(file, 0);
    return file + directory + section0;
}

}  // namespace lzx_test
