// The Chinese characters that make up most of any Chinese text, simplified and traditional.
#pragma once

// True for the about 840 most frequent characters (see common_hanzi.cpp).
bool IsCommonHanzi(char32_t c);
