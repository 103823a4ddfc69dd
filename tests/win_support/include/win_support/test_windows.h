// Window classes and child windows for tests.
#pragma once

#include <windows.h>

// Registers a class of this module with an arrow cursor; a class that exists already is kept.
void RegisterTestClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);

// A visible child at (x, y) in the parent's client area, using the GUI font.
inline HWND CreateChild(HWND parent,
                        const wchar_t* className,
                        DWORD style,
                        int x,
                        int y,
                        int width,
                        int height,
                        const wchar_t* text = L"",
                        DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}
