#include "builder/source_text.h"

#include <algorithm>
#include <cstring>

SourceText::SourceText(platform::SourceFile& file, size_t window_bytes)
    : file_(&file), window_bytes_(std::max<size_t>(window_bytes, 1)) {}

SourceText::SourceText(std::string_view bytes) : memory_(bytes) {}

uint64_t SourceText::size_hint() const {
    return file_ ? file_->size() : memory_.size();
}

bool SourceText::View(uint64_t pos, size_t want, std::string_view* view, std::string& reason) {
    if (!file_) {
        *view = pos < memory_.size() ? memory_.substr(static_cast<size_t>(pos)) : std::string_view();
        return true;
    }
    if (pos >= start_ && pos - start_ <= filled_) {
        const size_t offset = static_cast<size_t>(pos - start_);
        const size_t have = filled_ - offset;
        if (have >= want || at_end_) {
            *view = std::string_view(buffer_.get() + offset, have);
            return true;
        }
        // The bytes still ahead move to the front, and the rest of the window is read after them.
        if (have > 0)
            std::memmove(buffer_.get(), buffer_.get() + offset, have);
        filled_ = have;
    } else {
        filled_ = 0;
    }
    start_ = pos;
    at_end_ = false;
    if (capacity_ < want || !buffer_) {
        const size_t capacity = std::max(want, window_bytes_);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (filled_ > 0)
            std::memcpy(grown.get(), buffer_.get(), filled_);
        buffer_ = std::move(grown);
        capacity_ = capacity;
    }
    while (filled_ < want) {
        size_t got = 0;
        if (!file_->ReadAt(start_ + filled_, buffer_.get() + filled_, capacity_ - filled_, &got, reason)) {
            filled_ = 0;
            return false;
        }
        if (got == 0) {
            at_end_ = true;
            break;
        }
        filled_ += got;
    }
    *view = std::string_view(buffer_.get(), filled_);
    return true;
}
