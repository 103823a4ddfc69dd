// The compressed content section: the book's files stream one after another through the LZX
// compressor, and the compressed bytes wait in memory (in 1 MB pieces, so a 32-bit process
// needs no large contiguous block) until the container around them is written.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chm/lzx/lzx_compressor.h"

namespace chm {

class ContentSection {
  public:
    explicit ContentSection(const lzx::LzxSettings& settings);
    ~ContentSection();
    ContentSection(const ContentSection&) = delete;
    ContentSection& operator=(const ContentSection&) = delete;

    // Appends a file and sets `offset` to where it starts in the section. Polls `cancel` every
    // few frames; false when it was set.
    bool Add(std::string_view bytes, const std::atomic<bool>* cancel, uint64_t* offset);
    // Pads the section with zeros to a whole reset interval, since readers decode whole
    // intervals, and flushes the compressor.
    void Finish();

    uint64_t UncompressedBytes() const;  // padding included, once finished
    uint64_t CompressedBytes() const;
    const std::vector<uint64_t>& FrameOffsets() const;
    // The compressed bytes, piece by piece, in order.
    const std::vector<std::string>& Pieces() const;

  private:
    class Store;
    lzx::LzxSettings settings_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<lzx::LzxCompressor> compressor_;
    uint64_t written_ = 0;
};

}  // namespace chm
