// Constant-opacity blending of 32-bit pixels in place, with the rounding of the system's
// AlphaBlend: each channel becomes (source * level + target * (255 - level) + 127) / 255.
// The fourth byte of every word is blended alike.
#pragma once

#include <cstddef>
#include <cstdint>

// Uses SSE2 where the processor has it; the same result either way.
void BlendPixels(uint32_t* target, const uint32_t* source, size_t count, int level);
// The plain loop, kept callable so that tests can hold the fast path against it.
void BlendPixelsPlain(uint32_t* target, const uint32_t* source, size_t count, int level);
