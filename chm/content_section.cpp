#include "chm/content_section.h"

#include <algorithm>

namespace chm {

namespace {

constexpr size_t kPieceBytes = 1 << 20;
constexpr uint64_t kFrameBytes = 0x8000;
// How much is handed to the compressor between two looks at the cancel flag: four frames.
constexpr size_t kSliceBytes = 4 * kFrameBytes;

}  // namespace

class ContentSection::Store : public lzx::ByteSink {
  public:
    void Put(std::string_view bytes) override {
        while (!bytes.empty()) {
            if (pieces_.empty() || pieces_.back().size() == kPieceBytes) {
                pieces_.emplace_back();
                pieces_.back().reserve(kPieceBytes);
            }
            std::string& piece = pieces_.back();
            const size_t take = std::min(kPieceBytes - piece.size(), bytes.size());
            piece.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
        }
    }
    const std::vector<std::string>& pieces() const { return pieces_; }

  private:
    std::vector<std::string> pieces_;
};

ContentSection::ContentSection(const lzx::LzxSettings& settings)
    : settings_(settings),
      store_(std::make_unique<Store>()),
      compressor_(std::make_unique<lzx::LzxCompressor>(settings, *store_)) {}

ContentSection::~ContentSection() = default;

bool ContentSection::Add(std::string_view bytes, const std::atomic<bool>* cancel, uint64_t* offset) {
    *offset = written_;
    while (!bytes.empty()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        const size_t take = std::min(kSliceBytes, bytes.size());
        compressor_->Write(bytes.substr(0, take));
        written_ += take;
        bytes.remove_prefix(take);
    }
    return true;
}

void ContentSection::Finish() {
    const uint64_t interval = kFrameBytes * static_cast<uint64_t>(settings_.frames_per_reset);
    const uint64_t padded = (written_ + interval - 1) / interval * interval;
    const std::string zeros(static_cast<size_t>(std::min<uint64_t>(padded - written_, kSliceBytes)), '\0');
    while (written_ < padded) {
        const size_t take = static_cast<size_t>(std::min<uint64_t>(padded - written_, zeros.size()));
        compressor_->Write(std::string_view(zeros).substr(0, take));
        written_ += take;
    }
    compressor_->Finish();
}

uint64_t ContentSection::UncompressedBytes() const {
    return written_;
}

uint64_t ContentSection::CompressedBytes() const {
    return compressor_->CompressedBytes();
}

const std::vector<uint64_t>& ContentSection::FrameOffsets() const {
    return compressor_->FrameOffsets();
}

const std::vector<std::string>& ContentSection::Pieces() const {
    return store_->pieces();
}

}  // namespace chm
