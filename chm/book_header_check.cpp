// The check a finished book gets whoever compiled it: a truncated or half-written file shows
// as sizes that disagree.
#include <string>

#include "chm/chm_compiler.h"
#include "chm/container.h"
#include "chm/directory.h"
#include "chm/little_endian.h"

namespace chm {

namespace {

std::string Bytes(uint64_t n) {
    return std::to_string(n) + " 字节";
}

}  // namespace

std::string CheckBookHeader(std::string_view head, uint64_t file_size) {
    if (head.size() < 4 || head.substr(0, 4) != "ITSF")
        return "不是 CHM 文件：开头没有 ITSF 标记";
    if (head.size() < kItsfHeaderBytes || file_size < kItsfHeaderBytes)
        return "CHM 文件不完整：文件头不全";
    const uint32_t version = Get32(head, 4);
    const uint32_t header_bytes = Get32(head, 8);
    if ((version != 2 && version != 3) || header_bytes != (version == 3 ? 0x60u : 0x58u))
        return "CHM 文件头的版本（" + std::to_string(version) + "）或长度（" + Bytes(header_bytes) + "）不对";
    const uint64_t section0_offset = Get64(head, 0x38);
    const uint64_t section0_bytes = Get64(head, 0x40);
    const uint64_t directory_offset = Get64(head, 0x48);
    const uint64_t directory_bytes = Get64(head, 0x50);
    if (section0_bytes < kHeaderSection0Bytes || section0_offset > file_size ||
        section0_bytes > file_size - section0_offset)
        return "CHM 文件头指向的第 0 头部节超出了文件（文件只有 " + Bytes(file_size) + "）";
    if (directory_offset > file_size || directory_bytes > file_size - directory_offset)
        return "CHM 文件的目录超出了文件末尾：目录到 " + Bytes(directory_offset + directory_bytes) + "，文件只有 " +
               Bytes(file_size);
    if (version == 3 && Get64(head, 0x58) > file_size)
        return "CHM 文件的内容节起点超出了文件末尾";
    if (head.size() < section0_offset + kHeaderSection0Bytes)
        return "CHM 文件头不全：看不到记录文件长度的部分";
    if (Get32(head, section0_offset) != 0x01FE)
        return "CHM 文件的第 0 头部节标记不对";
    const uint64_t recorded = Get64(head, section0_offset + 8);
    if (recorded != file_size)
        return "CHM 文件头记录的长度（" + Bytes(recorded) + "）与文件实际长度（" + Bytes(file_size) + "）不符";
    if (head.size() >= directory_offset + kDirectoryHeaderBytes) {
        if (head.substr(directory_offset, 4) != "ITSP")
            return "CHM 文件的目录头没有 ITSP 标记";
        const uint64_t listed =
            Get32(head, directory_offset + 8) +
            static_cast<uint64_t>(Get32(head, directory_offset + 0x10)) * Get32(head, directory_offset + 0x2C);
        if (listed != directory_bytes)
            return "CHM 文件的目录长度（" + Bytes(directory_bytes) + "）与目录块数不符（应为 " + Bytes(listed) + "）";
    }
    return {};
}

}  // namespace chm
