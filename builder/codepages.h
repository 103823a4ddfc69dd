// The double-byte code pages the builder reads and writes: code page 936 (GBK as Windows has it),
// GB18030 and Big5 (in the code page 950 flavour). Each is a table filled once, on first use,
// from the system's own converter; GB18030 adds its four-byte sequences from a table of ours.
// Tables rather than converter calls per text: every system handles bad bytes its own way, and
// one lookup per character keeps converting a book linear however many characters are foreign.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Code page 936 (GBK) bytes to UTF-8. A byte that starts no valid character, and a byte pair
// that code page 936 leaves empty, becomes U+FFFD.
std::string DecodeCp936(std::string_view bytes);
// UTF-8 to code page 936. A character that code page 936 cannot hold is written as an HTML
// numeric character reference (&#NNNN;).
std::string EncodeCp936(std::string_view utf8);
// The same for texts that are not HTML (window titles, file names): such a character becomes
// `replacement`.
std::string EncodeCp936Replacing(std::string_view utf8, char replacement);
// Whether code page 936 holds every character of the text.
bool Cp936Holds(std::string_view utf8);

}  // namespace platform

enum class CodePage { kCp936, kGb18030, kBig5 };

// What one code page maps its bytes 0x80..0xFF and its byte pairs to; 0 where it maps nothing.
// Pairs are indexed by a first byte 0x81..0xFE and a second byte 0x40..0xFE.
struct CodePageTable {
    static constexpr size_t kSecondBytes = 0xFF - 0x40;
    static constexpr size_t kPairs = (0xFF - 0x81) * kSecondBytes;
    static size_t PairIndex(unsigned char first, unsigned char second) {
        return (first - 0x81u) * kSecondBytes + (second - 0x40u);
    }

    char32_t single[128] = {};
    std::vector<char32_t> pairs = std::vector<char32_t>(kPairs, 0);
};

// Byte length of the character at `pos` (pos < size): 2 for a first byte 0x81..0xFE followed by a
// second byte the code page allows, 4 for a GB18030 four-byte sequence, 1 otherwise (ASCII, or a
// byte that starts no character, which then reads as U+FFFD on its own).
inline size_t CodePageCharLength(const unsigned char* bytes, size_t pos, size_t size, CodePage page) {
    const unsigned lead = bytes[pos];
    if (lead - 0x81u > 0xFEu - 0x81u || pos + 1 >= size)
        return 1;
    const unsigned second = bytes[pos + 1];
    if (page == CodePage::kBig5)
        return (second - 0x40u <= 0x7Eu - 0x40u || second - 0xA1u <= 0xFEu - 0xA1u) ? 2 : 1;
    if (page == CodePage::kGb18030 && second - 0x30u <= 9u) {
        return (pos + 3 < size && bytes[pos + 2] - 0x81u <= 0xFEu - 0x81u && bytes[pos + 3] - 0x30u <= 9u) ? 4 : 1;
    }
    return (second - 0x40u <= 0xFEu - 0x40u && second != 0x7F) ? 2 : 1;
}

// Appends code page text as UTF-8; characters the code page does not map become U+FFFD.
void AppendCodePageText(std::string_view bytes, CodePage page, std::string& utf8);

// Loaded on first use; safe to call from any thread.
const CodePageTable& GetCodePageTable(CodePage page);

// The code page 936 bytes for a code point: a single byte (below 0x100) or first byte * 256 +
// second byte; 0 when code page 936 cannot hold it. ASCII other than NUL maps to itself.
uint16_t Cp936CodeFor(char32_t c);

// The code point of a GB18030 four-byte sequence (first and third byte 0x81..0xFE, second and
// fourth 0x30..0x39); 0 for the sequences that map nothing.
char32_t Gb18030FourByteChar(const unsigned char* bytes);

// Fills `table` from the system's converter; false when the system has no such code page.
// One implementation per system (codepages_posix.cpp, codepages_win.cpp).
bool LoadSystemCodePage(CodePage page, CodePageTable& table);

// Where GB18030's two-byte characters differ from code page 936: `count` consecutive second
// bytes from `code` on map to consecutive code points from `first_char` on. For systems that
// have code page 936 but no GB18030.
struct Gb18030Difference {
    uint16_t code;
    char32_t first_char;
    uint8_t count;
};
extern const Gb18030Difference kGb18030Differences[];
extern const size_t kGb18030DifferenceCount;
