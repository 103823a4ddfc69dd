#include "chm/dataspace_files.h"

#include <string_view>

#include "chm/little_endian.h"

namespace chm {

namespace {

constexpr uint32_t kFrameBytes = 0x8000;

void PutUtf16Name(std::string& out, std::string_view ascii) {
    Put16(out, static_cast<uint32_t>(ascii.size()));
    for (char c : ascii)
        Put16(out, static_cast<unsigned char>(c));
    Put16(out, 0);
}

}  // namespace

std::string NameListFile() {
    std::string out;
    Put16(out, 0);  // length in 16-bit words, set below
    Put16(out, 2);  // section 0, then section 1
    PutUtf16Name(out, "Uncompressed");
    PutUtf16Name(out, "MSCompressed");
    out[0] = static_cast<char>((out.size() / 2) & 0xFF);
    out[1] = static_cast<char>((out.size() / 2) >> 8);
    return out;
}

std::string TransformListFile() {
    // The format's own compiler stores only the first half of the UTF-16 GUID text; readers take
    // the LZX transform for granted, and this keeps the file as they know it.
    std::string out;
    for (char c : std::string_view("{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}"))
        Put16(out, static_cast<unsigned char>(c));
    out.resize(out.size() / 2);
    return out;
}

std::string ControlDataFile(int window_bits, int frames_per_reset) {
    std::string out;
    Put32(out, 6);  // DWORDs after this one
    out += "LZXC";
    Put32(out, 2);  // version 2: sizes in 32 KB units
    Put32(out, static_cast<uint32_t>(frames_per_reset));
    Put32(out, 1u << (window_bits - 15));
    // Some readers find the reset interval in frames as (reset interval / half the window) times
    // this field, so it is the number of frames in half a window.
    Put32(out, 1u << (window_bits - 16));
    Put32(out, 0);
    return out;
}

std::string SpanInfoFile(uint64_t uncompressed_bytes) {
    std::string out;
    Put64(out, uncompressed_bytes);
    return out;
}

std::string ResetTableFile(const std::vector<uint64_t>& frame_offsets,
                           uint64_t uncompressed_bytes,
                           uint64_t compressed_bytes) {
    // The compressor lists every frame and one more entry at the end of its data, as 7-Zip counts
    // them (uncompressed length / 0x8000 + 1).
    std::string out;
    Put32(out, 2);  // version
    Put32(out, static_cast<uint32_t>(frame_offsets.size()));
    Put32(out, 8);     // entry size
    Put32(out, 0x28);  // where the entries start
    Put64(out, uncompressed_bytes);
    Put64(out, compressed_bytes);
    Put64(out, kFrameBytes);
    for (uint64_t offset : frame_offsets)
        Put64(out, offset);
    return out;
}

}  // namespace chm
