// Pictures as files: uncompressed 24-bit Windows bitmaps and PNGs.
// `pixels` holds width * height words 0x00RRGGBB, top row first (PixelCanvas::bits()).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bottom-up rows padded to four bytes, as every BMP reader expects.
std::vector<uint8_t> EncodeBmp(int width, int height, const uint32_t* pixels);
// 8-bit RGB in stored (uncompressed) deflate blocks.
std::vector<uint8_t> EncodePng(int width, int height, const uint32_t* pixels);

// False when the file cannot be written.
bool WriteBmpFile(const std::wstring& path, int width, int height, const uint32_t* pixels);
bool WritePngFile(const std::wstring& path, int width, int height, const uint32_t* pixels);
