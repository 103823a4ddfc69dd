// Telling a source's encoding from its bytes.
#include "builder/source_encoding.h"

#include "builder/common_hanzi.h"
#include "builder/source_chars.h"
#include "builder/source_text.h"
#include "builder/unicode_text.h"

namespace {

// Enough text to tell the encodings apart; larger samples only cost time.
constexpr size_t kSampleBytes = 64 * 1024;

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.size() >= mark.size() && bytes.compare(0, mark.size(), mark) == 0;
}

size_t FirstNonAscii(std::string_view bytes) {
    return AsciiRunLength(reinterpret_cast<const unsigned char*>(bytes.data()), 0, bytes.size());
}

// What UTF-8 sequences of more than one byte a stretch of text holds, and how many bytes start
// none. A sequence cut short by the end of the source (a truncated last character) is neither.
struct Utf8Census {
    size_t invalid = 0;
    size_t two_byte = 0;
    size_t longer = 0;

    // A UTF-8 text with a damaged byte here and there is still UTF-8; GBK text read as UTF-8
    // fails at nearly every character.
    bool MostlyValid() const { return invalid == 0 || (longer >= 16 && invalid * 100 <= longer + two_byte); }
};

Utf8Census TakeUtf8Census(std::string_view bytes, size_t from, size_t limit) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    Utf8Census census;
    size_t pos = from;
    while (pos < size && pos - from < limit) {
        if (p[pos] < 0x80) {
            ++pos;
            continue;
        }
        const size_t length = Utf8CharLength(p, pos, size);
        if (length == 1) {
            // Is it a sequence that only the end of the source cut short?
            size_t end = pos + 1;
            while (end < size && (p[end] & 0xC0) == 0x80)
                ++end;
            const size_t wanted = p[pos] >= 0xF0 ? 4 : p[pos] >= 0xE0 ? 3 : 2;
            if (end == size && p[pos] >= 0xC2 && p[pos] <= 0xF4 && end - pos < wanted)
                break;
            ++census.invalid;
            // Text that is not UTF-8 at all needs no further look.
            if (census.invalid > 8 && census.invalid > census.longer)
                break;
        } else if (length == 2) {
            ++census.two_byte;
        } else {
            ++census.longer;
        }
        pos += length;
    }
    return census;
}

// Full-width and CJK punctuation, and the dashes, quotation marks and ellipsis of Chinese text.
bool IsChinesePunctuation(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E) || c == 0x2014 || c == 0x2018 || c == 0x2019 ||
           c == 0x201C || c == 0x201D || c == 0x2026;
}

// How much a decoding looks like Chinese text: common characters count most, other CJK
// characters and Chinese punctuation a little; what a wrong decoding produces (U+FFFD, control
// characters, the Private Use Area, kana, Hangul and the like) counts against it. ASCII is
// neutral, so that only the Chinese in a text decides.
int CharScore(char32_t c) {
    if (c < 0x80) {
        if (c >= 0x20 && c < 0x7F)
            return 0;
        if (c == '\t' || c == '\n' || c == '\r' || c == '\f')
            return 0;
        return c == 0 ? -1 : -3;
    }
    if (c >= 0x4E00 && c <= 0x9FFF)
        return IsCommonHanzi(c) ? 4 : 1;
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F))
        return 1;
    if (IsChinesePunctuation(c))
        return 1;
    if (c == 0xFFFD)
        return -5;
    if (c < 0xA0 || (c >= 0xE000 && c <= 0xF8FF))
        return -3;
    return -1;
}

// How one decoding of a sample looks.
struct Reading {
    long score = 0;
    size_t non_ascii = 0;
    size_t chinese = 0;  // common Chinese characters and Chinese punctuation

    // Whether at least `share` of the characters other than ASCII are common Chinese characters
    // or Chinese punctuation.
    bool MostlyChinese(double share) const { return static_cast<double>(chinese) >= share * non_ascii; }
};

Reading Read(std::string_view bytes, SourceEncoding encoding) {
    std::string utf8;
    DecodeSourceText(bytes, encoding, utf8);
    // A U+0000 in a UTF-16 reading costs what its two zero bytes cost in the others.
    const bool utf16 = encoding == SourceEncoding::kUtf16Le || encoding == SourceEncoding::kUtf16Be;
    Reading reading;
    for (size_t pos = 0; pos < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[pos]);
        if (b < 0x80) {
            reading.score += CharScore(b) * (utf16 && b == 0 ? 2 : 1);
            ++pos;
            continue;
        }
        size_t length = 0;
        const char32_t c = NextCodePoint(utf8, pos, &length);
        reading.score += CharScore(c);
        ++reading.non_ascii;
        reading.chinese += IsCommonHanzi(c) || IsChinesePunctuation(c);
        pos += length;
    }
    return reading;
}

// At most kSampleBytes from `from` on, ending at a character of `encoding`, so that a
// character cut by the sample's end does not count against a reading.
std::string_view Sample(std::string_view bytes, size_t from, SourceEncoding encoding) {
    if (bytes.size() - from <= kSampleBytes)
        return bytes.substr(from);
    size_t passed = 0;
    const size_t end = AdvanceSourceChars(bytes, from, kSampleBytes / 2, encoding, &passed);
    return bytes.substr(from, end - from);
}

struct DoubleByteReadings {
    Reading gb18030;
    Reading big5;
    // Big5 only when its reading is the more Chinese one, and Chinese at all.
    bool big5_wins() const { return big5.score > gb18030.score && big5.score > 0; }
    const Reading& best() const { return big5_wins() ? big5 : gb18030; }
};

DoubleByteReadings ReadDoubleByte(std::string_view bytes, size_t from) {
    DoubleByteReadings readings;
    readings.gb18030 = Read(Sample(bytes, from, SourceEncoding::kGb18030), SourceEncoding::kGb18030);
    readings.big5 = Read(Sample(bytes, from, SourceEncoding::kBig5), SourceEncoding::kBig5);
    return readings;
}

// UTF-16 without a mark has zero bytes on one side wherever it holds ASCII (line ends,
// blanks, digits). Zero bytes alone do not decide: 一 (U+4E00) has one on the other side, other
// files can hold zero bytes too, and text without ASCII has none. The reading that looks most
// like Chinese text wins, and a UTF-16 reading must be recognisably Chinese.
bool ChooseUtf16(std::string_view bytes, SourceEncoding* encoding) {
    const std::string_view sample = bytes.substr(0, kSampleBytes);
    if (sample.size() < 2)
        return false;
    const bool zeros = sample.find('\0') != std::string_view::npos;
    long best = ReadDoubleByte(sample, 0).best().score;
    bool found = false;
    for (SourceEncoding order : {SourceEncoding::kUtf16Le, SourceEncoding::kUtf16Be}) {
        const Reading reading = Read(sample, order);
        if (reading.score > best && reading.MostlyChinese(zeros ? 0.25 : 0.5)) {
            best = reading.score;
            *encoding = order;
            found = true;
        }
    }
    return found;
}

}  // namespace

EncodingChoice DetectSourceEncoding(std::string_view bytes) {
    EncodingChoice choice;
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return {SourceEncoding::kUtf8, 3};
    if (StartsWith(bytes, "\xFF\xFE"))
        return {SourceEncoding::kUtf16Le, 2};
    if (StartsWith(bytes, "\xFE\xFF"))
        return {SourceEncoding::kUtf16Be, 2};
    if (StartsWith(bytes, "\x84\x31\x95\x33"))
        return {SourceEncoding::kGb18030, 4};

    const size_t first = FirstNonAscii(bytes);
    if (first < bytes.size()) {
        const Utf8Census census = TakeUtf8Census(bytes, first, kSampleBytes);
        if (census.MostlyValid() && census.longer > 0)
            return {SourceEncoding::kUtf8, 0};
        // Only two-byte sequences: in GBK many such pairs are Chinese characters too. European
        // text is UTF-8 then, Chinese text (in its double-byte reading) is not.
        if (census.invalid == 0 && census.two_byte > 0 && !ReadDoubleByte(bytes, first).best().MostlyChinese(0.5))
            return {SourceEncoding::kUtf8, 0};
    }
    if (ChooseUtf16(bytes, &choice.encoding))
        return choice;
    // ASCII reads alike in both, so the sample starts where the Chinese does.
    if (ReadDoubleByte(bytes, first).big5_wins())
        choice.encoding = SourceEncoding::kBig5;
    return choice;
}

bool DetectSourceEncoding(SourceText& text, EncodingChoice* choice, std::string& reason) {
    // A sample holds kSampleBytes / 2 characters of up to four bytes each.
    constexpr size_t kSampleRoom = 2 * kSampleBytes + 16;
    std::string_view head;
    if (!text.View(0, kSampleBytes + kSampleRoom, &head, reason))
        return false;
    const size_t first = FirstNonAscii(head);
    const bool whole = head.size() < kSampleBytes + kSampleRoom;
    if (whole || first < kSampleBytes) {
        // Everything looked at is in the head: the source's start and the sample after `first`.
        *choice = DetectSourceEncoding(whole ? head : head.substr(0, first + kSampleRoom));
        return true;
    }
    // The start is ASCII: what detection looks at is that start, then the sample from the first
    // other byte on, which this text of the two puts where the source has it for detection.
    std::string joined(head.substr(0, kSampleBytes));
    for (uint64_t pos = first;;) {
        std::string_view ahead;
        if (!text.View(pos, kSampleRoom, &ahead, reason))
            return false;
        const size_t ascii = FirstNonAscii(ahead);
        if (ascii < ahead.size()) {
            std::string_view sample;
            if (!text.View(pos + ascii, kSampleRoom, &sample, reason))
                return false;
            joined += sample.substr(0, kSampleRoom);
            break;
        }
        if (ahead.empty())
            break;
        pos += ahead.size();
    }
    *choice = DetectSourceEncoding(joined);
    return true;
}

std::string DescribeEncoding(const EncodingChoice& choice, bool four_byte_chars) {
    const std::string mark = choice.bom_length > 0 ? " (BOM)" : " (no BOM)";
    switch (choice.encoding) {
        case SourceEncoding::kUtf8:
            return "utf-8" + mark;
        case SourceEncoding::kUtf16Le:
            return "utf-16le" + mark;
        case SourceEncoding::kUtf16Be:
            return "utf-16be" + mark;
        case SourceEncoding::kBig5:
            return "big5";
        case SourceEncoding::kGb18030:
            break;
    }
    if (choice.bom_length > 0)
        return "gb18030 (BOM)";
    return four_byte_chars ? "gb18030" : "gbk";
}
