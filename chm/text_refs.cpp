#include "chm/text_refs.h"

namespace chm {

namespace {

struct NamedEntity {
    std::string_view name;
    uint32_t code_point;
};
constexpr NamedEntity kNamedEntities[] = {
    {"quot", '"'}, {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}, {"nbsp", 0xA0},
};

// The character a numeric reference at `text` (just after "&#") stands for, and its length up
// to and with the ';'. Zero length when it is no valid reference.
size_t ParseNumericRef(std::string_view text, uint32_t* code_point) {
    size_t i = 0;
    int base = 10;
    if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    }
    uint32_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && digits < 8; ++i, ++digits) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    if (digits == 0 || i >= text.size() || text[i] != ';')
        return 0;
    // Surrogates and values past Unicode cannot be written as UTF-8.
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code_point = value;
    return i + 1;
}

std::string Decode(std::string_view text, bool named) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t amp = text.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, amp - pos));
        std::string_view rest = text.substr(amp + 1);
        uint32_t code_point = 0;
        size_t length = 0;
        if (!rest.empty() && rest[0] == '#') {
            length = ParseNumericRef(rest.substr(1), &code_point);
            if (length != 0)
                ++length;
        } else if (named) {
            for (const NamedEntity& entity : kNamedEntities) {
                if (rest.size() > entity.name.size() && rest.substr(0, entity.name.size()) == entity.name &&
                    rest[entity.name.size()] == ';') {
                    code_point = entity.code_point;
                    length = entity.name.size() + 1;
                    break;
                }
            }
        }
        if (length == 0) {
            out.push_back('&');
            pos = amp + 1;
            continue;
        }
        AppendUtf8(out, code_point);
        pos = amp + 1 + length;
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string DecodeCharRefs(std::string_view utf8) {
    return Decode(utf8, false);
}

std::string DecodeHtmlText(std::string_view utf8) {
    return Decode(utf8, true);
}

std::string_view TrimBlanks(std::string_view text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace chm
