// Colours of the skin, as COLORREF 0x00BBGGRR.
#pragma once

#include <windows.h>

inline constexpr COLORREF KeyColour = 0x00FF00FF;
inline constexpr COLORREF FrameColour = 0x00D5A554;
inline constexpr COLORREF DisabledFrameColour = 0x00E9CFA4;
inline constexpr COLORREF PressedFrameColour = 0x00C48639;
inline constexpr COLORREF DisabledTextColour = 0x00968A79;
inline constexpr COLORREF ProgressFillColour = 0x00F6D64C;
inline constexpr COLORREF White = 0x00FFFFFF;
