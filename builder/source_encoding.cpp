// Stand-in until the detector lands: byte-order marks only, everything else code page 936.
#include "builder/source_encoding.h"

#include "builder/platform.h"
#include "builder/text_bytes.h"
#include "builder/unicode_text.h"

EncodingChoice DetectSourceEncoding(std::string_view bytes) {
    EncodingChoice c;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        c = {SourceEncoding::kUtf8, 3};
    else if (bytes.substr(0, 2) == "\xFF\xFE")
        c = {SourceEncoding::kUtf16Le, 2};
    else if (bytes.substr(0, 2) == "\xFE\xFF")
        c = {SourceEncoding::kUtf16Be, 2};
    return c;
}

std::string DescribeEncoding(const EncodingChoice& choice, std::string_view) {
    switch (choice.encoding) {
        case SourceEncoding::kUtf8:
            return "utf-8 (BOM)";
        case SourceEncoding::kUtf16Le:
            return "utf-16le (BOM)";
        case SourceEncoding::kUtf16Be:
            return "utf-16be (BOM)";
        default:
            return "gbk";
    }
}

size_t AdvanceSourceChars(std::string_view bytes, size_t pos, size_t chars, SourceEncoding encoding, size_t* passed) {
    if (encoding == SourceEncoding::kUtf16Le || encoding == SourceEncoding::kUtf16Be) {
        size_t n = 0;
        while (n < chars && pos + 1 < bytes.size()) {
            unsigned hi = static_cast<unsigned char>(bytes[pos + (encoding == SourceEncoding::kUtf16Le ? 1 : 0)]);
            pos += (hi >= 0xD8 && hi <= 0xDB && pos + 3 < bytes.size()) ? 4 : 2;
            ++n;
        }
        if (n < chars && pos < bytes.size()) {
            ++pos;
            ++n;
        }
        *passed = n;
        return pos;
    }
    return AdvanceChars(bytes, pos, chars,
                        encoding == SourceEncoding::kUtf8 ? TextEncoding::kUtf8 : TextEncoding::kCp936, passed);
}

void DecodeSourceText(std::string_view bytes, SourceEncoding encoding, std::string& utf8) {
    switch (encoding) {
        case SourceEncoding::kUtf8:
            utf8.append(bytes);
            return;
        case SourceEncoding::kUtf16Le:
        case SourceEncoding::kUtf16Be:
            utf8 += Utf16BytesToUtf8(bytes, encoding == SourceEncoding::kUtf16Be);
            return;
        default:
            utf8 += platform::DecodeCp936(bytes);
    }
}

bool WritableAsCp936(std::string_view, SourceEncoding encoding) {
    return encoding == SourceEncoding::kGb18030;
}
