// The bytes of a source, read a window at a time: a book of any size needs only the window's
// memory, and the bytes a page is made from are still in the processor's cache when it is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "builder/platform.h"

class SourceText {
  public:
    static constexpr size_t kDefaultWindowBytes = 1 << 18;

    // Reads through `file`, which must outlive this, `window_bytes` (or what a View wants, when
    // more) at a time.
    explicit SourceText(platform::SourceFile& file, size_t window_bytes = kDefaultWindowBytes);
    // Bytes in memory, which must outlive this: every view is a part of them.
    explicit SourceText(std::string_view bytes);

    // The bytes from `pos` on: at least `want` of them, fewer only where the source ends. Valid
    // until the next call. Moving forward keeps what was read already; going back reads again.
    // False, with the system's reason, when reading fails.
    bool View(uint64_t pos, size_t want, std::string_view* view, std::string& reason);

    // The size of the source when it was opened, for telling how far a run is.
    uint64_t size_hint() const;

  private:
    platform::SourceFile* file_ = nullptr;
    std::string_view memory_;
    size_t window_bytes_ = 0;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    uint64_t start_ = 0;   // the source offset of buffer_[0]
    size_t filled_ = 0;    // bytes of buffer_ that hold the source
    bool at_end_ = false;  // the source ends at start_ + filled_
};
