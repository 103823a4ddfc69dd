// Combo boxes and drive lists: a flat two-colour frame and a skinned drop button with normal,
// hover and pressed looks (0, 1, 2). The list and edit parts stay the system's.
#pragma once

#include <windows.h>

#include "engine/family.h"

extern const Family kComboFamily;

// The drop button in window coordinates (right and bottom exclusive) of a window width x height.
RECT DropButtonRect(int width, int height);

// Draws the button in the state onto dc (the window's own DC when none is given). A dropped-down
// list forces state 2 (the caller sees it). Skipped when "OLDSTATE" holds the state already and
// force is not set, and for simple combo boxes, which keep their own look; otherwise the state
// is stored in "OLDSTATE".
void RedrawComboButton(HWND window, HDC dc, int& state, bool force);

// The painter: the button's face in the state and the arrow (pale when disabled), into the
// button rectangle of dc, for a window window_height pixels high.
void PaintComboButton(HDC dc, const RECT& button, int window_height, int state, bool enabled);
