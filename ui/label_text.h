// Label text as the forms draw it: wrapped inside the label's rectangle, clipped to it.
// Chinese text has no blanks between words, so lines may break between any two wide
// characters, except before closing and after opening punctuation.
#pragma once

#include "ui/win32.h"

#include <string>
#include <string_view>
#include <vector>

// True when a line may end between `before` and `after`.
bool CanBreakBetween(wchar_t before, wchar_t after);

// Splits text into lines no wider than `width` pixels with the font selected into dc. Blanks
// at a break are dropped; a word wider than the line is cut where it stops fitting. Line
// feeds always break.
std::vector<std::wstring> WrapLabelText(HDC dc, std::wstring_view text, int width);

// Draws the wrapped text in `colour` with a transparent background, clipped to `rect`.
void DrawLabelText(HDC dc, const RECT& rect, std::wstring_view text, COLORREF colour);
