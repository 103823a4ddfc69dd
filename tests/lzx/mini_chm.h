// The smallest CHM that real readers accept around an LZX stream, for tests only: the given files
// cut out of the compressed section. The built-in compiler's container is written elsewhere; this
// only lets chmlib, libmspack and 7-Zip read the compressor's output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/lzx/lzx_test_support.h"

namespace lzx_test {

struct SectionFile {
    std::string name;  // "/name", in the order CHM directories sort (lower case ASCII here)
    uint64_t offset;   // in the uncompressed section
    uint64_t length;
};

// `windows_per_reset`: the LZXC field chmlib multiplies its reset count by; it reads
// resetInterval / (windowSize / 2) * windowsPerReset frames per reset.
std::string MiniChm(const Stream& stream, const std::vector<SectionFile>& files, uint32_t windows_per_reset = 1);

}  // namespace lzx_test
