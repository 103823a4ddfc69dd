// Searching code page 936 text for ASCII markers. In that code page a double-byte character
// starts with 0x81..0xFE and its second byte is 0x40..0xFE (not 0x7F), so ASCII bytes below 0x40
// never occur inside a character and a marker that starts with one can be searched for directly.
#pragma once

#include <cstddef>
#include <string_view>

// Position of `needle` (ASCII) in `text`, ignoring the case of ASCII letters, or npos. The
// needle's first byte is matched exactly and must be below 0x40 (such as "<"): then a match
// never starts inside a code page 936 character.
size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle, size_t from = 0);
