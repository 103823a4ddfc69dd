// The skin's public face. Skinned windows carry their state in window properties under fixed
// ANSI names ("PROCADDR", "OLDSTYLE", "MOUSEFLAG", "TIMERID", "OLDSTATE", "ALPHALEVEL",
// "HDINDEX", "HMINDEX", "HDC0".."HDC3", "BMP0".."BMP3"), each holding an INT_PTR.
#pragma once

#include <windows.h>

// Skins the window and its whole tree; sets the engine up on first use. 1 when this call skinned it.
int SkinWindow(HWND window);
// Removes the skin from the window and its tree; the engine is torn down with the last
// skinned window. 1 when the skin was removed.
int UnskinWindow(HWND window);
