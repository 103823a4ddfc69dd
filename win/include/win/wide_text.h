// UTF-8 in the program's data, UTF-16 at the wide Win32 calls (window texts, drawing, file
// names, command lines). Ill-formed input becomes U+FFFD, as the system converts it.
#pragma once

#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
