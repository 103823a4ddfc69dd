// Chapter and volume headings in the lines of a .txt novel.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class HeadingKind { kVolume, kChapter };

struct Heading {
    HeadingKind kind = HeadingKind::kChapter;
    // The heading line trimmed of blanks (ASCII blanks and U+3000), UTF-8, characters unchanged.
    std::string text;
    // The heading proper without decorations: "第十二章", "番外一", "Chapter XII".
    std::string label;
    // What follows the label, without separators, brackets and decorations; may be empty.
    std::string title;
};

// Whether one line of a .txt source (UTF-8, without its line end) is a chapter or volume heading.
// A line that names a volume and its first chapter ("第一卷 第一章 风起") is a volume heading.
std::optional<Heading> DetectHeading(std::string_view line);

// Whether a chapter heading belongs after all volumes rather than inside the last one: an
// epilogue, an afterword, extra stories (尾声, 后记, 番外, Epilogue).
bool StandsAfterVolumes(const Heading& heading);

// Whether a line that begins with `start` (UTF-8) can be a heading, told from `start` alone when
// it ends with the first character that MayBeInHeadingStart refuses: the label every heading
// begins with is decided by then, and false means no rest of the line could change that. When
// its last character is not refused, `start` tells nothing and the answer is true. Callers decode
// that much of a line for this, and the whole line only when it may be a heading.
bool MayBeHeadingStart(std::string_view start);
// Whether a heading's start can hold the character (see MayBeHeadingStart). Callers that see raw
// bytes make a table of it.
bool MayBeInHeadingStart(char32_t c);

// Every character a heading can start with (after blanks): callers that see raw bytes use it to
// skip the lines that cannot be headings without decoding them.
std::u32string_view HeadingFirstCharacters();

// Longer lines are never headings, so callers need to decode and test only lines of at most
// this many bytes. Room for indentation, brackets, a long number and a 30-character title.
inline constexpr size_t kMaxHeadingBytes = 256;

// The number in a heading's label: 第一百零三章 -> 103, 第12回 -> 12, CHAPTER XII -> 12, 番外二 -> 2.
// None for labels without a number (楔子) or with a malformed one (第一二十章).
std::optional<long> HeadingNumber(const Heading& heading);
