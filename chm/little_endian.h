// Appending and reading the little-endian integers and ENCINTs the CHM format is made of.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chm {

inline void PutLe(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
inline void Put16(std::string& out, uint32_t value) {
    PutLe(out, value, 2);
}
inline void Put32(std::string& out, uint32_t value) {
    PutLe(out, value, 4);
}
inline void Put64(std::string& out, uint64_t value) {
    PutLe(out, value, 8);
}

// Overwrites four bytes at `at`, for fields known only after what follows them is written.
inline void Set32(std::string& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline uint64_t GetLe(std::string_view bytes, size_t at, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
inline uint32_t Get32(std::string_view bytes, size_t at) {
    return static_cast<uint32_t>(GetLe(bytes, at, 4));
}
inline uint64_t Get64(std::string_view bytes, size_t at) {
    return GetLe(bytes, at, 8);
}

// A directory's variable-length integer: 7 bits per byte, most significant group first, the
// high bit set on every byte but the last.
inline void PutEncInt(std::string& out, uint64_t value) {
    char groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.push_back(static_cast<char>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}
inline size_t EncIntSize(uint64_t value) {
    size_t n = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++n;
    }
    return n;
}

// A GUID in its stored form: the first three fields little-endian, the last eight bytes as written.
inline void PutGuid(std::string& out, uint32_t a, uint16_t b, uint16_t c, const unsigned char (&d)[8]) {
    Put32(out, a);
    Put16(out, b);
    Put16(out, c);
    out.append(reinterpret_cast<const char*>(d), 8);
}

}  // namespace chm
