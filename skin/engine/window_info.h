// Small queries on windows and values that the families share.
#pragma once

#include <windows.h>

#include <string>

// The window's text as UTF-8 (read through the wide entry point, so any script survives).
std::string GetWindowCaption(HWND window);
// Offset of the client area inside the window per axis, scroll bars not counted. Returns 1.
int GetBorderOffsets(HWND window, int& x, int& y);
// n / 2 to the nearest integer, an exact half going to the even neighbour (5 -> 2, 7 -> 4).
int HalveToEven(int n);
// Whether the library (loaded or loadable) exports the function.
bool ApiExists(const char* function_name, const char* library_name);
// The low and high 16 bits of the low 32 bits of value, read as signed numbers, so that a
// client coordinate of 65535 in a mouse message reads as -1.
short LoWord(LONG_PTR value);
short HiWord(LONG_PTR value);
