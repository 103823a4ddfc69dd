// Deciding how a source's bytes are to be read, and reading them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class SourceEncoding { kGb18030, kBig5, kUtf8, kUtf16Le, kUtf16Be };
struct EncodingChoice {
    SourceEncoding encoding = SourceEncoding::kGb18030;
    size_t bom_length = 0;  // bytes of a byte-order mark at the start, skipped when reading
};
EncodingChoice DetectSourceEncoding(std::string_view bytes);
std::string DescribeEncoding(const EncodingChoice& choice, std::string_view bytes);
size_t AdvanceSourceChars(std::string_view bytes, size_t pos, size_t chars, SourceEncoding encoding, size_t* passed);
void DecodeSourceText(std::string_view bytes, SourceEncoding encoding, std::string& utf8);
bool WritableAsCp936(std::string_view bytes, SourceEncoding encoding);
