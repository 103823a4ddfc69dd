// The contract of every message handler of the skin window procedure.
#pragma once

#include <windows.h>

#include "skin/engine/window_props.h"

// old window procedure, window, message, wParam, lParam -> the message result.
using SkinHandler = LRESULT (*)(WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the replaced window procedure with the message exactly as received. The wide entry
// point keeps text messages in Unicode whatever the system's ANSI code page is.
inline LRESULT PassOn(WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(oldProc, window, message, wParam, lParam);
}

// The window's own procedure may take the skin off while it handles a message: a click whose
// code unskins or destroys the form. Whatever a handler does after passing a message on is
// skipped then, so that no property, fade timer or drawing of the skin is left behind on a
// window that no longer carries it.
inline bool StillSkinned(HWND window) {
    return GetSkinProp(window, prop::ProcAddr) != 0;
}

#define SKIN_HANDLER_ARGS WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam
