// Attaching the skin to one window (and a form's whole tree) and removing it again.
#pragma once

#include <windows.h>

// 1 when this call skinned the window; 0 for a null handle, a window already skinned or a
// window of another thread.
int AttachSkin(HWND window);
// 1 when the skin was removed; 0 for a null handle or a window that is not skinned.
// Tears the engine down when the last skinned window goes.
int DetachSkin(HWND window);

// EnumChildWindows callbacks; they always let the enumeration run to the end.
BOOL CALLBACK AttachChildProc(HWND child, LPARAM l_param);
BOOL CALLBACK DetachChildProc(HWND child, LPARAM l_param);
