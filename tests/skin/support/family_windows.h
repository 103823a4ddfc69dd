// Test windows that carry the class names of the skinned control kinds.
#pragma once

#include <windows.h>

// The host form's background (WM_CTLCOLOR* brush and class brush): distinct from every skin
// colour, so a pixel that shows it was left to the window's own background.
inline constexpr COLORREF FormBackground = RGB(200, 230, 190);
// What the test grid window paints over its whole client area.
inline constexpr COLORREF GridFill = RGB(120, 130, 140);

// Registers, once per process: "ThunderRT6FormDC" (the host form), superclasses of the
// system's controls under the kinds' names ("ThunderRT6CheckBox", "ThunderRT6OptionButton" from
// Button; "ThunderRT6ComboBox", "ThunderRT6DriveListBox" from ComboBox; "DataListWndClass" from
// ListBox; "ProgressBar20WndClass" from the progress bar) and "ApexGridTest", a window that
// fills itself with GridFill. Also initialises the common controls.
void RegisterFamilyClasses();

// A visible top-level form at screen (left, top), client size width x height, no frame.
HWND CreateHostForm(int left, int top, int width, int height);

// A pixel of a skin bitmap surface.
COLORREF SkinPixel(HDC skin, int x, int y);
