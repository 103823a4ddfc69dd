// Decoding a source to UTF-8, and telling when its bytes can stand as code page 936 unchanged.
#include <cstring>
#include <vector>

#include "builder/source_chars.h"
#include "builder/unicode_text.h"

namespace {

bool IsAscii(std::string_view text) {
    size_t i = 0;
    uint64_t high = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i)
        high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ull) == 0;
}

void AppendUtf8Text(std::string_view text, std::string& utf8) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    utf8.reserve(utf8.size() + text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        // Valid stretches are copied whole.
        size_t end = pos;
        while (end < text.size()) {
            const size_t length = bytes[end] < 0x80 ? 1 : Utf8CharLength(bytes, end, text.size());
            if (length == 1 && bytes[end] >= 0x80)
                break;
            end += length;
        }
        utf8.append(text.data() + pos, end - pos);
        if (end < text.size()) {
            AppendUtf8(utf8, 0xFFFD);
            ++end;
        }
        pos = end;
    }
}

template <bool kBigEndian>
void AppendUtf16Text(std::string_view text, std::string& utf8) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    utf8.reserve(utf8.size() + size + size / 2);
    size_t pos = 0;
    while (pos < size) {
        const size_t length = Utf16CharLength<kBigEndian>(bytes, pos, size);
        char32_t c = 0xFFFD;
        if (length == 4) {
            c = 0x10000 + ((static_cast<char32_t>(Utf16UnitAt<kBigEndian>(bytes, pos)) - 0xD800) << 10) +
                (Utf16UnitAt<kBigEndian>(bytes, pos + 2) - 0xDC00);
        } else if (length == 2) {
            c = Utf16UnitAt<kBigEndian>(bytes, pos);  // an unpaired surrogate becomes U+FFFD
        }
        AppendUtf8(utf8, c);
        pos += length;
    }
}

// For each byte 0x80..0xFF and each byte pair: whether GB18030 reads it as a character that code
// page 936 writes with the same bytes.
struct Cp936AlikeTable {
    bool single[128] = {};
    std::vector<bool> pairs = std::vector<bool>(CodePageTable::kPairs, false);
};

Cp936AlikeTable BuildCp936Alike() {
    const CodePageTable& gb18030 = GetCodePageTable(CodePage::kGb18030);
    Cp936AlikeTable alike;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const char32_t c = gb18030.single[b - 0x80];
        alike.single[b - 0x80] = c != 0 && Cp936CodeFor(c) == b;
    }
    for (unsigned first = 0x81; first <= 0xFE; ++first) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            const size_t index = CodePageTable::PairIndex(first, second);
            const char32_t c = gb18030.pairs[index];
            alike.pairs[index] = c != 0 && Cp936CodeFor(c) == (first << 8 | second);
        }
    }
    return alike;
}

bool Gb18030WritableAsCp936(std::string_view text) {
    static const Cp936AlikeTable alike = BuildCp936Alike();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t pos = 0;
    while (pos < size) {
        const unsigned char b = bytes[pos];
        if (b < 0x80) {
            ++pos;
            continue;
        }
        const size_t length = CodePageCharLength(bytes, pos, size, CodePage::kGb18030);
        if (length == 1 ? !alike.single[b - 0x80]
                        : length != 2 || !alike.pairs[CodePageTable::PairIndex(b, bytes[pos + 1])])
            return false;
        pos += length;
    }
    return true;
}

}  // namespace

void DecodeSourceText(std::string_view bytes, SourceEncoding encoding, std::string& utf8) {
    switch (encoding) {
        case SourceEncoding::kGb18030:
            AppendCodePageText(bytes, CodePage::kGb18030, utf8);
            return;
        case SourceEncoding::kBig5:
            AppendCodePageText(bytes, CodePage::kBig5, utf8);
            return;
        case SourceEncoding::kUtf8:
            AppendUtf8Text(bytes, utf8);
            return;
        case SourceEncoding::kUtf16Le:
            AppendUtf16Text<false>(bytes, utf8);
            return;
        case SourceEncoding::kUtf16Be:
            AppendUtf16Text<true>(bytes, utf8);
            return;
    }
}

bool WritableAsCp936(std::string_view bytes, SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return Gb18030WritableAsCp936(bytes);
        case SourceEncoding::kBig5:
        case SourceEncoding::kUtf8:
            // Other characters than ASCII could only match code page 936 by chance.
            return IsAscii(bytes);
        case SourceEncoding::kUtf16Le:
        case SourceEncoding::kUtf16Be:
            break;
    }
    return bytes.empty();
}
