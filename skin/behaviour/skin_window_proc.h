// The one window procedure of every skinned window.
#pragma once

#include <windows.h>

// Routes the messages the skin cares about to their handlers and passes every other one on
// to the procedure kept in "PROCADDR" (DefWindowProcW when there is none).
LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// EnumChildWindows callback run after a left-button release: skinned check boxes and option
// buttons are drawn again in their normal look. Always TRUE.
BOOL CALLBACK RefreshSiblingProc(HWND child, LPARAM lParam);
