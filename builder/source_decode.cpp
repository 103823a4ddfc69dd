// Decoding a source to UTF-8.
#include "builder/source_chars.h"
#include "builder/text_sink.h"

namespace {

void AppendUtf8Text(std::string_view text, std::string& utf8) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    TextSink sink(utf8, size);
    size_t pos = 0;
    while (pos < size) {
        // Valid stretches are copied whole.
        size_t end = pos;
        while (end < size) {
            const size_t length = bytes[end] < 0x80 ? 1 : Utf8CharLength(bytes, end, size);
            if (length == 1 && bytes[end] >= 0x80)
                break;
            end += length;
        }
        sink.Append(text.data() + pos, end - pos);
        if (end < size) {
            sink.Commit(PutUtf8(sink.Reserve(3), 0xFFFD));
            ++end;
        }
        pos = end;
    }
}

template <bool kBigEndian>
void AppendUtf16Text(std::string_view text, std::string& utf8) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    TextSink sink(utf8, size + size / 2);
    size_t pos = 0;
    while (pos < size) {
        // Up to 64 characters at a time, of 4 bytes at most.
        char* out = sink.Reserve(64 * 4);
        for (int i = 0; i < 64 && pos < size; ++i) {
            const size_t length = Utf16CharLength<kBigEndian>(bytes, pos, size);
            char32_t c = 0xFFFD;
            if (length == 4) {
                c = 0x10000 + ((static_cast<char32_t>(Utf16UnitAt<kBigEndian>(bytes, pos)) - 0xD800) << 10) +
                    (Utf16UnitAt<kBigEndian>(bytes, pos + 2) - 0xDC00);
            } else if (length == 2) {
                c = Utf16UnitAt<kBigEndian>(bytes, pos);  // an unpaired surrogate becomes U+FFFD
            }
            out = PutUtf8(out, c);
            pos += length;
        }
        sink.Commit(out);
    }
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
