// Colours of the skin, as COLORREF 0x00BBGGRR.
#pragma once

#include <windows.h>

inline constexpr COLORREF kKeyColour = 0x00FF00FF;
inline constexpr COLORREF kFrameColour = 0x00D5A554;
inline constexpr COLORREF kDisabledFrameColour = 0x00E9CFA4;
inline constexpr COLORREF kPressedFrameColour = 0x00C48639;
inline constexpr COLORREF kDisabledTextColour = 0x00968A79;
inline constexpr COLORREF kProgressFillColour = 0x00F6D64C;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
