// Writes a picture as an uncompressed 24-bit Windows bitmap file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// `pixels` holds width * height words 0x00RRGGBB, top row first. The file gets bottom-up
// rows padded to four bytes, as every BMP reader expects. False when the file cannot be
// written.
bool WriteBmpFile(const std::wstring& path, int width, int height, const uint32_t* pixels);

// The file's bytes, for writing and for tests.
std::vector<uint8_t> EncodeBmp(int width, int height, const uint32_t* pixels);
