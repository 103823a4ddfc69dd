// The mouse-leave requests and the looks of every family that follows the mouse.
#pragma once

#include <windows.h>

// The looks of the controls that follow the mouse: normal, under the mouse, pressed.
inline constexpr int kNormalLook = 0;
inline constexpr int kHoverLook = 1;
inline constexpr int kPressedLook = 2;

// Asks for one WM_MOUSELEAVE when the mouse leaves the window's client area.
void TrackMouseLeave(HWND window);
// The first mouse move of a stay over the window: sets "MOUSEFLAG" and asks for one
// WM_MOUSELEAVE. True when this move began the stay; later moves request nothing until the
// flag is cleared again (by the leave, or for push buttons by a release).
bool BeginMouseStay(HWND window);

// "MOUSEFLAG" and "OLDSTATE" (0) of a family whose look follows the mouse, and their removal.
void AddMouseLookProps(HWND window);
void RemoveMouseLookProps(HWND window);
