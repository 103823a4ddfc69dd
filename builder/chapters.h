// Chapter and volume headings in .txt sources.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class HeadingKind { kVolume, kChapter };
struct Heading {
    HeadingKind kind = HeadingKind::kChapter;
    std::string text;
};
std::optional<Heading> DetectHeading(std::string_view line);
inline constexpr size_t kMaxHeadingBytes = 160;
