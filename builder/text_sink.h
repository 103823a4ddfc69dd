// Writing converted text into a string through a pointer: the converters write a few bytes per
// character, and growing the string for each of them costs more than the conversion itself.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

class TextSink {
  public:
    // Appends to `out`; `expected` is a guess of the bytes to come.
    TextSink(std::string& out, size_t expected) : out_(out), used_(out.size()) { out_.resize(used_ + expected + 16); }
    ~TextSink() { out_.resize(used_); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    // Room for `n` more bytes; Commit with the end of what was written there. `more` is a guess
    // of the bytes still to come after these, for growing the string once rather than often.
    char* Reserve(size_t n, size_t more = 0) {
        if (out_.size() - used_ < n)
            out_.resize(used_ + n + (more > used_ ? more : used_));
        return out_.data() + used_;
    }
    size_t used() const { return used_; }
    void Commit(const char* end) { used_ = static_cast<size_t>(end - out_.data()); }
    void Append(const char* bytes, size_t n) {
        std::memcpy(Reserve(n), bytes, n);
        used_ += n;
    }

  private:
    std::string& out_;
    size_t used_;
};

// Writes the UTF-8 form of `c` (U+FFFD for surrogates and values above U+10FFFF); 4 bytes at most.
inline char* PutUtf8(char* p, char32_t c) {
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000 && (c < 0xD800 || c > 0xDFFF)) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0x10000 && c <= 0x10FFFF) {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        p = PutUtf8(p, 0xFFFD);
    }
    return p;
}

namespace text_sink {

// "000" .. "999", and "00" .. "99" at the start of each triple's last two digits.
struct DecimalDigits {
    char triples[3000] = {};
    constexpr DecimalDigits() {
        for (int i = 0; i < 1000; ++i) {
            triples[3 * i] = static_cast<char>('0' + i / 100);
            triples[3 * i + 1] = static_cast<char>('0' + i / 10 % 10);
            triples[3 * i + 2] = static_cast<char>('0' + i % 10);
        }
    }
    const char* Pair(unsigned n) const { return triples + 3 * n + 1; }
};
inline constexpr DecimalDigits kDigits;

}  // namespace text_sink

// Writes "&#N;" with N the decimal code point; 10 bytes at most. Pages of Korean or Thai text
// are mostly such references: the five digits of most of them take one division.
inline char* PutCharReference(char* p, char32_t c) {
    using text_sink::kDigits;
    *p++ = '&';
    *p++ = '#';
    if (c >= 10000 && c < 100000) {
        std::memcpy(p, kDigits.triples + 3 * (c / 100), 3);
        std::memcpy(p + 3, kDigits.Pair(c % 100), 2);
        p[5] = ';';
        return p + 6;
    }
    char digits[8];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + c % 10);
        c /= 10;
    } while (c > 0 && n < 8);
    while (n > 0)
        *p++ = digits[--n];
    *p++ = ';';
    return p;
}
