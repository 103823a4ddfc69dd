// Byte-level work on code page 936 text. In that code page a double-byte character starts
// with 0x81..0xFE and its second byte is 0x40..0xFE (not 0x7F), so the ASCII bytes below 0x40
// (CR, LF, "&", "<", ">") never occur inside a character and can be searched for directly.
// The same helpers count UTF-8 text by code points.
#pragma once

#include <cstddef>
#include <string_view>

enum class TextEncoding { kCp936, kUtf8 };

// Byte length of the character that starts at `pos` (pos < text.size()).
inline size_t CharLengthAt(std::string_view text, size_t pos, TextEncoding encoding) {
    unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80)
        return 1;
    if (encoding == TextEncoding::kCp936) {
        if (b == 0x80 || b == 0xFF || pos + 1 >= text.size())
            return 1;
        unsigned char t = static_cast<unsigned char>(text[pos + 1]);
        return (t >= 0x40 && t <= 0xFE && t != 0x7F) ? 2 : 1;
    }
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    size_t end = pos + 1;
    while (end < text.size() && end < pos + n && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - pos;
}

// Moves forward by up to `chars` characters from `pos`; returns the new byte position and
// stores how many characters were passed in `passed` (fewer at the end of the text).
size_t AdvanceChars(std::string_view text, size_t pos, size_t chars, TextEncoding encoding, size_t* passed);
size_t CountChars(std::string_view text, TextEncoding encoding);

// Reads lines that end at CR LF, at CR or at a bare LF. A line end at the very end of the
// text does not start another line.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text), next_cr_(Find('\r')), next_lf_(Find('\n')) {}
    bool Next(std::string_view& line);

  private:
    size_t Find(char c) const;

    std::string_view text_;
    size_t pos_ = 0;
    size_t next_cr_;
    size_t next_lf_;
};

// Position of `needle` (ASCII) in `text`, ignoring the case of ASCII letters, or npos. The
// needle's first byte is matched exactly and must be below 0x40 (such as "<"): then a match
// never starts inside a code page 936 character.
size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle, size_t from = 0);
