// Whether a file that a compiler left is a whole compiled help book, judged by its header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "" when `head` (the first bytes of a file of `file_size` bytes) starts a sound book: the
// "ITSF" signature, and header sections and directory that lie inside the file, with the size
// the header records equal to the file's. Otherwise the reason, for people.
std::string CheckBookHead(std::string_view head, uint64_t file_size);
// The same for a file on disk; also fails when it cannot be read.
std::string CheckBookFile(const std::string& path);
