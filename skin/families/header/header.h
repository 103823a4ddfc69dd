// Column headers, painted entirely by the skin. "HDINDEX" holds the item the left button went
// down on and "HMINDEX" the item last drawn in the hover look (-1 for none); the mouse handlers
// redraw only the items whose look changes. Looks: 0 normal, 1 hover, 2 pressed.
#pragma once

#include <windows.h>

#include <string>

#include "engine/family.h"

extern const Family kHeaderFamily;

// The caption format: centred on one line, ending in an ellipsis when it does not fit.
inline constexpr UINT kHeaderCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

// Source x of the HeaderSkin face for a look: 3 hover, 6 pressed, 0 anything else.
int HeaderFaceSourceX(int look);
// The item's caption as UTF-8, at most 255 characters; empty when the item has none.
std::string GetHeaderItemCaption(HWND header, int index);

// The painter of one item: its face from x over width x face_height, and the caption in the
// font, centred in width x text_height. Both the whole-strip paint and the single-item redraw
// use it, so an item looks the same either way.
void PaintHeaderItem(HDC dc,
                     int x,
                     int width,
                     int face_height,
                     int text_height,
                     const std::string& caption,
                     HFONT font,
                     int look);

// Draws one item of the header in the look onto dc (the window's own DC when none is given);
// nothing for a negative index.
void RedrawHeaderItem(HWND header, HDC dc, int index, int look);
