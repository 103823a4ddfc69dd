// HTML character references in project and sitemap texts. The builder writes characters that
// code page 936 cannot hold as &#NNNN;; the book stores them as the characters they stand for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chm {

void AppendUtf8(std::string& out, uint32_t code_point);

// Replaces &#NNNN; and &#xHHHH; with the characters (UTF-8). Anything else stays as it is.
std::string DecodeCharRefs(std::string_view utf8);

// DecodeCharRefs plus the named entities a sitemap value may carry (&quot; &amp; &lt; &gt;
// &apos; &nbsp;).
std::string DecodeHtmlText(std::string_view utf8);

// ASCII-only lower case, as the CHM directory compares names.
std::string AsciiLower(std::string_view text);

// `text` without blanks, tabs and line ends at either end.
std::string_view TrimBlanks(std::string_view text);

// The value of digit `c` in base 10 or 16, or -1.
int DigitValue(char c, int base);

}  // namespace chm
