#include "builder/text_bytes.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "builder/byte_blocks.h"
#include "builder/unicode_text.h"

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of every zero byte of v is set, and possibly of bytes above the first zero.
uint64_t ZeroByteFlags(uint64_t v) {
    return (v - kOnes) & ~v & kHighBits;
}

// One code page 936 character from `pos` (pos + 1 < size), without branches: mixed Chinese
// and ASCII text defeats branch prediction.
size_t Cp936Step(const unsigned char* bytes, size_t pos) {
    unsigned lead = bytes[pos];
    unsigned trail = bytes[pos + 1];
    unsigned is_lead = (lead - 0x81u) < 0x7Eu;
    unsigned is_trail = ((trail - 0x40u) < 0xBFu) & (trail != 0x7Fu);
    return 1 + (is_lead & is_trail);
}

}  // namespace

size_t AdvanceChars(std::string_view text, size_t pos, size_t chars, TextEncoding encoding, size_t* passed) {
    size_t count = 0;
    const size_t size = text.size();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (encoding == TextEncoding::kCp936) {
        // Whole blocks while the budget reaches past them; the block where it ends, and the
        // text's last bytes, are stepped through below.
        uint64_t carry = 0;
        while (pos < size && size - pos >= kBlockBytes) {
            Cp936Masks masks = ClassifyCp936Block(bytes + pos);
            carry &= masks.trail;
            uint64_t open = 0;
            const size_t block_chars = kBlockBytes - CountBits(Cp936SecondBytes(masks, carry, &open));
            if (block_chars >= chars - count)
                break;
            count += block_chars;
            pos += kBlockBytes;
            carry = open;
        }
        // A character counted already may end with this block's first byte.
        if (carry && pos < size && CharLengthAt(text, pos - 1, encoding) == 2)
            ++pos;
        // Eight bytes at a time: a leading run of ASCII bytes is that many characters, and a
        // leading run of bytes 0x81..0xFE holds a valid double-byte character in each pair.
        // Whatever else comes first is stepped over one character at a time.
        while (pos + 8 <= size && count < chars) {
            uint64_t word;
            std::memcpy(&word, bytes + pos, 8);  // little-endian: byte 0 is the lowest
            const size_t left = chars - count;
            if ((word & 0x80) == 0) {
                uint64_t high = word & kHighBits;
                size_t run = high ? static_cast<size_t>(std::countr_zero(high)) / 8 : 8;
                size_t take = run < left ? run : left;
                pos += take;
                count += take;
                continue;
            }
            // Bytes that end a run of 0x81..0xFE: ASCII bytes, 0x80 and 0xFF. Flags after the
            // first true one may be spurious, which does not matter for the leading run.
            uint64_t stop = (~word & kHighBits) | ZeroByteFlags(word ^ kHighBits) | ZeroByteFlags(~word);
            size_t run = stop ? static_cast<size_t>(std::countr_zero(stop)) / 8 : 8;
            size_t pairs = run / 2;
            if (pairs > 0) {
                size_t take = pairs < left ? pairs : left;
                pos += 2 * take;
                count += take;
            } else {
                pos += Cp936Step(bytes, pos);
                ++count;
            }
        }
        while (count < chars && pos + 1 < size) {
            pos += Cp936Step(bytes, pos);
            ++count;
        }
        if (count < chars && pos < size) {
            ++pos;
            ++count;
        }
    } else {
        while (count < chars && pos < size) {
            pos += bytes[pos] < 0x80 ? 1 : CharLengthAt(text, pos, encoding);
            ++count;
        }
    }
    if (passed)
        *passed = count;
    return pos;
}

size_t CountChars(std::string_view text, TextEncoding encoding) {
    size_t count = 0;
    AdvanceChars(text, 0, static_cast<size_t>(-1), encoding, &count);
    return count;
}

bool LineReader::Next(std::string_view& line) {
    if (pos_ >= text_.size())
        return false;
    // The next CR and LF are remembered: searching for each afresh on every line would scan
    // the rest of a file that has only one kind of line end again and again.
    if (next_cr_ < pos_)
        next_cr_ = Find('\r');
    if (next_lf_ < pos_)
        next_lf_ = Find('\n');
    size_t end = next_cr_ < next_lf_ ? next_cr_ : next_lf_;
    if (end >= text_.size()) {
        line = text_.substr(pos_);
        pos_ = text_.size();
        return true;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return true;
}

size_t LineReader::Find(char c) const {
    const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
}

size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    while (from + needle.size() <= text.size()) {
        const void* hit = std::memchr(text.data() + from, needle[0], text.size() - from);
        if (!hit)
            break;
        size_t pos = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        if (pos + needle.size() > text.size())
            break;
        if (CompareIgnoringAsciiCase(text.substr(pos, needle.size()), needle) == 0)
            return pos;
        from = pos + 1;
    }
    return std::string_view::npos;
}
