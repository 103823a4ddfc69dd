// The one window procedure of every skinned window.
#pragma once

#include <windows.h>

// Handles the messages that concern the whole skin (destruction, windows appearing beside the
// skinned one) and hands every other one, in one step, to the family of the window's kind.
// A window without a record is served by DefWindowProcW.
LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param);

// EnumChildWindows callback run after a left-button release: skinned check boxes and option
// buttons are drawn again in their normal look. Always TRUE.
BOOL CALLBACK RefreshSiblingProc(HWND child, LPARAM l_param);
