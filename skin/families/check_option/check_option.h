// Check boxes and option buttons: they keep the system's caption and background, and the skin
// draws only the box (a square with a check mark, or a circle with a dot) over them.
// Box state: 0 normal, 1 hover, 2 pressed.
#pragma once

#include <windows.h>

#include "engine/family.h"

extern const Family kCheckOptionFamily;

// Draws the box of a check box or option button in the state; does nothing for any other kind.
// Skips the drawing (and returns 0) when "OLDSTATE" already holds the state and force is not
// set; otherwise stores the state in "OLDSTATE", draws and returns 1.
int RedrawCheckOptionBox(HWND window, ControlKind kind, int state, bool force);

// The painters, for a mark size cw x ch, onto the window's own DC (origin at the window's
// outer corner) of a window window_height pixels high. check_state is the BM_GETCHECK answer.
// The family passes the system's menu-check size.
void DrawCheckBoxMark(HDC window_dc, int window_height, int cw, int ch, int state, bool enabled, LRESULT check_state);
void DrawOptionMark(HDC window_dc, int window_height, int cw, int ch, int state, bool enabled, LRESULT check_state);
