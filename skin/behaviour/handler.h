// The contract of every message handler of the skin window procedure.
#pragma once

#include <windows.h>

// old window procedure, window, message, wParam, lParam -> the message result.
using SkinHandler = LRESULT (*)(WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the replaced window procedure with the message exactly as received. The wide entry
// point keeps text messages in Unicode whatever the system's ANSI code page is.
inline LRESULT PassOn(WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(oldProc, window, message, wParam, lParam);
}

#define SKIN_HANDLER_ARGS WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam
