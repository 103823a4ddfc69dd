#include "builder/text_bytes.h"

#include <cstring>

#include "builder/unicode_text.h"

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
