// Small helpers of the encoding tests, written independently of the builder's own converters.
#pragma once

#include <string>
#include <string_view>

#include "builder/source_encoding.h"

// UTF-16 bytes of UTF-8 text (valid UTF-8 only).
std::string Utf16Of(std::string_view utf8, bool big_endian);
// Code points of valid UTF-8 text.
size_t CodePointsOf(std::string_view utf8);
std::string Decoded(std::string_view bytes, SourceEncoding encoding);
const char* EncodingName(SourceEncoding encoding);

// The replacement character U+FFFD in UTF-8.
inline constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
