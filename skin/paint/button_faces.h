// The four pre-rendered faces of a skinned push button and their blend onto the window.
#pragma once

#include <windows.h>

// Renders the faces of states 0-3 into the surfaces "HDC0".."HDC3": ButtonSkin frame, the
// caption in the window's font and, while the window has the focus, the focus box.
void RenderButtonFaces(HWND window);

// Blends the face of "OLDSTATE" over the whole window with "ALPHALEVEL" as constant opacity.
// dc 0 means the window's own DC, taken and given back here. A disabled window is switched to
// state 3 first; windows that keep the system's drawing ("OLDSTYLE" AND 6) get nothing.
void BlendButtonFace(HWND window, HDC dc);
