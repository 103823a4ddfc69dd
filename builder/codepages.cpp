#include "builder/codepages.h"

#include "builder/char_lengths.h"
#include "builder/text_sink.h"
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

namespace {

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

const std::vector<uint16_t>& Cp936Codes() {
    static const std::vector<uint16_t> codes = BuildCp936Codes();
    return codes;
}

}  // namespace

uint16_t Cp936CodeFor(char32_t c) {
    return c < 0x10000 ? Cp936Codes()[c] : 0;
}

void AppendCodePageText(std::string_view text, CodePage page, std::string& utf8) {
    const CodePageTable& table = GetCodePageTable(page);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    TextSink sink(utf8, size + size / 2);
    size_t pos = 0;
    while (pos < size) {
        const size_t ascii = AsciiRunLength(bytes, pos, size);
        sink.Append(text.data() + pos, ascii);
        pos += ascii;
        // Up to 64 characters at a time, of 4 bytes at most.
        char* out = sink.Reserve(64 * 4);
        for (int i = 0; i < 64 && pos < size && bytes[pos] >= 0x80; ++i) {
            const size_t length = CodePageCharLength(bytes, pos, size, page);
            char32_t c;
            if (length == 2)
                c = table.pairs[CodePageTable::PairIndex(bytes[pos], bytes[pos + 1])];
            else if (length == 4)
                c = Gb18030FourByteChar(bytes + pos);
            else
                c = table.single[bytes[pos] - 0x80];
            out = PutUtf8(out, c ? c : 0xFFFD);
            pos += length;
        }
        sink.Commit(out);
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
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t size = utf8.size();
    TextSink sink(out, size);
    const std::vector<uint16_t>& codes = Cp936Codes();
    size_t pos = 0;
    while (pos < size) {
        const size_t ascii = AsciiRunLength(bytes, pos, size);
        sink.Append(utf8.data() + pos, ascii);
        pos += ascii;
        // Up to 64 characters at a time, each written as two bytes or a reference of at most 10;
        // the rest of the text is guessed to grow as the text so far did.
        char* p = sink.Reserve(64 * 10, static_cast<size_t>(static_cast<double>(size - pos) *
                                                            static_cast<double>(sink.used() + 1) / (pos + 1)));
        for (int i = 0; i < 64 && pos < size; ++i) {
            // Blanks and punctuation between words: copied here rather than as runs of their own.
            if (bytes[pos] < 0x80) {
                *p++ = static_cast<char>(bytes[pos++]);
                continue;
            }
            const size_t length = Utf8CharLength(bytes, pos, size);
            char32_t c = 0xFFFD;
            if (length == 3)
                c = (bytes[pos] & 0x0Fu) << 12 | (bytes[pos + 1] & 0x3Fu) << 6 | (bytes[pos + 2] & 0x3Fu);
            else if (length == 2)
                c = (bytes[pos] & 0x1Fu) << 6 | (bytes[pos + 1] & 0x3Fu);
            else if (length == 4)
                c = (bytes[pos] & 0x07u) << 18 | (bytes[pos + 1] & 0x3Fu) << 12 | (bytes[pos + 2] & 0x3Fu) << 6 |
                    (bytes[pos + 3] & 0x3Fu);
            pos += length;
            const uint16_t code = c < 0x10000 ? codes[c] : 0;
            if (code >= 0x100) {
                *p++ = static_cast<char>(code >> 8);
                *p++ = static_cast<char>(code & 0xFF);
            } else if (code != 0) {
                *p++ = static_cast<char>(code);
            } else {
                p = PutCharReference(p, c);
            }
        }
        sink.Commit(p);
    }
    return out;
}

namespace {

// Calls `each` with every code point of the text and its code page 936 code (0 where it has none).
template <typename Each>
void ForEachCp936Code(std::string_view utf8, Each each) {
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 0;
        const char32_t c = NextCodePoint(utf8, pos, &length);
        each(c, Cp936CodeFor(c));
        pos += length;
    }
}

}  // namespace

std::string EncodeCp936Replacing(std::string_view utf8, char replacement) {
    std::string out;
    ForEachCp936Code(utf8, [&](char32_t c, uint16_t code) {
        if (code >= 0x100)
            out += static_cast<char>(code >> 8);
        out += code != 0 || c == 0 ? static_cast<char>(code & 0xFF) : replacement;
    });
    return out;
}

bool Cp936Holds(std::string_view utf8) {
    bool holds = true;
    ForEachCp936Code(utf8, [&](char32_t c, uint16_t code) { holds = holds && (code != 0 || c == 0); });
    return holds;
}

}  // namespace platform
