#include "builder/book_check.h"

#include "builder/platform.h"

namespace {

// The container header: signature, version, header length, ..., then the offsets and lengths of
// header section 0 (which records the file size) and of the directory, and from version 3 on
// the offset of the first content section.
constexpr size_t kVersionAt = 4;
constexpr size_t kHeaderLengthAt = 8;
constexpr size_t kSection0At = 0x38;
constexpr size_t kDirectoryAt = 0x48;
constexpr size_t kContentAt = 0x58;
constexpr size_t kVersion2Length = 0x58;
constexpr size_t kFileSizeInSection0 = 8;
// Enough for the header, header section 0 and the directory's own header in every book seen.
constexpr size_t kHeadBytes = 4096;

// Little-endian numbers of `width` bytes.
uint64_t ReadLe(std::string_view bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

uint64_t Read64(std::string_view bytes, size_t at) {
    return ReadLe(bytes, at, 8);
}

uint32_t Read32(std::string_view bytes, size_t at) {
    return static_cast<uint32_t>(ReadLe(bytes, at, 4));
}

bool Inside(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace

std::string CheckBookHead(std::string_view head, uint64_t file_size) {
    if (file_size == 0)
        return "书是空文件（0 字节）";
    if (head.size() < 4 || head.substr(0, 4) != "ITSF")
        return "文件不是 CHM 书（开头没有 ITSF 标记）";
    if (head.size() < kVersion2Length)
        return "书的文件头不完整";
    const uint32_t version = Read32(head, kVersionAt);
    const uint32_t header_length = Read32(head, kHeaderLengthAt);
    if (version < 2 || version > 3 || header_length < kVersion2Length || header_length > head.size())
        return "书的文件头损坏（版本 " + std::to_string(version) + "）";
    const uint64_t section0 = Read64(head, kSection0At);
    const uint64_t section0_length = Read64(head, kSection0At + 8);
    const uint64_t directory = Read64(head, kDirectoryAt);
    const uint64_t directory_length = Read64(head, kDirectoryAt + 8);
    if (!Inside(section0, section0_length, file_size) || !Inside(directory, directory_length, file_size))
        return "书不完整：文件头记录的内容超出了文件的 " + std::to_string(file_size) + " 字节";
    if (version == 3 && header_length >= kContentAt + 8 && Read64(head, kContentAt) > file_size)
        return "书不完整：内容区起点在文件末尾之后";
    if (section0_length >= kFileSizeInSection0 + 8 && Inside(section0, kFileSizeInSection0 + 8, head.size())) {
        const uint64_t recorded = Read64(head, static_cast<size_t>(section0 + kFileSizeInSection0));
        if (recorded != file_size)
            return "书不完整：文件头记录 " + std::to_string(recorded) + " 字节，文件只有 " + std::to_string(file_size) +
                   " 字节";
    }
    if (Inside(directory, 4, head.size()) && head.substr(static_cast<size_t>(directory), 4) != "ITSP")
        return "书的目录损坏（没有 ITSP 标记）";
    return "";
}

std::string CheckBookFile(const std::string& path) {
    std::string head;
    uint64_t size = 0;
    if (!platform::ReadFileHead(path, kHeadBytes, head, &size))
        return "编译器没有写出书 " + path;
    return CheckBookHead(head, size);
}
