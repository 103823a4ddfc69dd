#include "builder/codepages.h"

#include <cstring>

#include "builder/unicode_text.h"

namespace {

CodePageTable LoadTable(CodePage page) {
    CodePageTable table;
    // A system without the code page leaves the table empty: its text then reads as U+FFFD
    // rather than as some other code page's characters.
    LoadSystemCodePage(page, table);
    // 0x80 is the euro sign in code page 936, which most texts that read as GB18030 were saved in.
    if (page == CodePage::kGb18030)
        table.single[0] = 0x20AC;
    return table;
}

std::vector<uint16_t> BuildCp936Codes() {
    const CodePageTable& table = GetCodePageTable(CodePage::kCp936);
    std::vector<uint16_t> codes(0x10000, 0);
    for (unsigned c = 0; c < 0x80; ++c)
        codes[c] = static_cast<uint16_t>(c);
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        char32_t c = table.single[b - 0x80];
        if (c > 0 && c < 0x10000 && codes[c] == 0)
            codes[c] = static_cast<uint16_t>(b);
    }
    for (unsigned first = 0x81; first <= 0xFE; ++first) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            char32_t c = table.pairs[CodePageTable::PairIndex(first, second)];
            if (c > 0 && c < 0x10000 && codes[c] == 0)
                codes[c] = static_cast<uint16_t>(first << 8 | second);
        }
    }
    return codes;
}

// Length of the run of ASCII bytes from `pos`.
size_t AsciiRun(const unsigned char* bytes, size_t pos, size_t size) {
    size_t end = pos;
    while (end + 8 <= size) {
        uint64_t word;
        std::memcpy(&word, bytes + end, 8);
        if (word & 0x8080808080808080ull)
            break;
        end += 8;
    }
    while (end < size && bytes[end] < 0x80)
        ++end;
    return end - pos;
}

}  // namespace

const CodePageTable& GetCodePageTable(CodePage page) {
    switch (page) {
        case CodePage::kGb18030: {
            static const CodePageTable gb18030 = LoadTable(CodePage::kGb18030);
            return gb18030;
        }
        case CodePage::kBig5: {
            static const CodePageTable big5 = LoadTable(CodePage::kBig5);
            return big5;
        }
        case CodePage::kCp936:
            break;
    }
    static const CodePageTable cp936 = LoadTable(CodePage::kCp936);
    return cp936;
}

uint16_t Cp936CodeFor(char32_t c) {
    static const std::vector<uint16_t> codes = BuildCp936Codes();
    return c < 0x10000 ? codes[c] : 0;
}

void AppendCodePageText(std::string_view text, CodePage page, std::string& utf8) {
    const CodePageTable& table = GetCodePageTable(page);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    utf8.reserve(utf8.size() + size + size / 2);
    size_t pos = 0;
    while (pos < size) {
        size_t ascii = AsciiRun(bytes, pos, size);
        utf8.append(text.data() + pos, ascii);
        pos += ascii;
        while (pos < size && bytes[pos] >= 0x80) {
            const size_t length = CodePageCharLength(bytes, pos, size, page);
            char32_t c;
            if (length == 2)
                c = table.pairs[CodePageTable::PairIndex(bytes[pos], bytes[pos + 1])];
            else if (length == 4)
                c = Gb18030FourByteChar(bytes + pos);
            else
                c = table.single[bytes[pos] - 0x80];
            AppendUtf8(utf8, c ? c : 0xFFFD);
            pos += length;
        }
    }
}

namespace platform {

std::string DecodeCp936(std::string_view bytes) {
    std::string out;
    AppendCodePageText(bytes, CodePage::kCp936, out);
    return out;
}

std::string EncodeCp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t ascii = AsciiRun(bytes, pos, utf8.size());
        out.append(utf8.data() + pos, ascii);
        pos += ascii;
        if (pos >= utf8.size())
            break;
        size_t length = 0;
        const char32_t c = NextCodePoint(utf8, pos, &length);
        pos += length;
        const uint16_t code = Cp936CodeFor(c);
        if (code >= 0x100)
            out += static_cast<char>(code >> 8);
        if (code != 0)
            out += static_cast<char>(code & 0xFF);
        else
            AppendCharReference(out, c);
    }
    return out;
}

}  // namespace platform
