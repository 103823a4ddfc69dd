#include "tests/builder/encoding_test_support.h"

std::string Utf16Of(std::string_view utf8, bool big_endian) {
    std::string out;
    auto unit = [&](unsigned u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out += big_endian ? high : low;
        out += big_endian ? low : high;
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unsigned c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        for (size_t k = 1; k < length; ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
        i += length;
    }
    return out;
}

size_t CodePointsOf(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string Decoded(std::string_view bytes, SourceEncoding encoding) {
    std::string utf8;
    DecodeSourceText(bytes, encoding, utf8);
    return utf8;
}

const char* EncodingName(SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::kGb18030:
            return "GB18030";
        case SourceEncoding::kBig5:
            return "Big5";
        case SourceEncoding::kUtf8:
            return "UTF-8";
        case SourceEncoding::kUtf16Le:
            return "UTF-16LE";
        case SourceEncoding::kUtf16Be:
            return "UTF-16BE";
    }
    return "?";
}
