// 32-bit top-down DIB sections: pictures whose pixels code reads and writes directly, one word
// a pixel (0xAARRGGBB), top row first.
#pragma once

#include <windows.h>

#include <cstdint>

// Null (and *bits null) when the system refuses, or for a width or height below 1.
HBITMAP CreateTopDownDib32(int width, int height, uint32_t** bits);
