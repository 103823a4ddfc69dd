// Painters of the small skinned controls: the check-box square, the option circle, the combo
// drop button and one column-header item. Each draws over what the control drew itself.
// Button state: 0 normal, 1 hover, 2 pressed. Positions are in window-DC coordinates.
#pragma once

#include <windows.h>

#include <string>

#include "skin/paint/primitives.h"

// Both skip the drawing (and return 0) when "OLDSTATE" already holds state and force is not
// set; otherwise they store state in "OLDSTATE", draw and return 1.
int PaintCheckBox(HWND window, int state, bool force);
int PaintOptionButton(HWND window, int state, bool force);

// The drawing of the two painters above for a given mark size cw x ch, onto the window's own
// DC (origin at the window's outer corner) of a window windowHeight pixels high. checkState is
// the BM_GETCHECK answer. The painters pass the system's menu-check size.
void DrawCheckBoxMark(HDC windowDC, int windowHeight, int cw, int ch, int state, bool enabled, LRESULT checkState);
void DrawOptionMark(HDC windowDC, int windowHeight, int cw, int ch, int state, bool enabled, LRESULT checkState);

// A dropped-down list forces state to 2 (the caller sees it). dc 0 means the window's own DC.
// Simple combo boxes keep their own drawing.
void PaintComboButton(HWND window, HDC dc, int& state, bool force);

// One item (face and caption); nothing for a negative index. dc 0 means the window's own DC.
int PaintHeaderItem(HWND window, HDC dc, int index, int state);

// Shared with the header's whole-strip paint, so both draw an item the same way.
// Source x of the HeaderSkin face for a look: 3 hover, 6 pressed, 0 anything else.
int HeaderFaceSourceX(int state);
// The item's caption as UTF-8, at most 255 characters; empty when the item has none.
std::string GetHeaderItemCaption(HWND header, int index);
// The caption format: centred on one line, ending in an ellipsis when it does not fit.
inline constexpr UINT HeaderCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
