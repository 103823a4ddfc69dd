// UTF-8 / UTF-16 helpers that do not depend on the platform.
#pragma once

#include <string>
#include <string_view>

void AppendUtf8(std::string& out, char32_t c);
// The code point starting at byte `pos`; an invalid sequence yields U+FFFD and length 1.
char32_t NextCodePoint(std::string_view utf8, size_t pos, size_t* length);

// UTF-16 in little- or big-endian bytes to UTF-8; unpaired surrogates become U+FFFD and an
// odd last byte is dropped.
std::string Utf16BytesToUtf8(std::string_view bytes, bool big_endian);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

// Lower-cases the ASCII letters only.
std::string AsciiLower(std::string_view text);
// Compares ignoring the case of ASCII letters: <0, 0 or >0.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);
bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view ending);
