// Push buttons ("Button" and the command-button classes): drawn entirely by the skin from four
// faces, each change of state fading in on a 15 ms timer. Buttons of the check-box and option
// types keep the system's drawing and only run through the same state keeping.
#pragma once

#include <windows.h>

#include "engine/family.h"

extern const Family kPushButtonFamily;

inline constexpr UINT_PTR kFadeTimerId = 1;
inline constexpr UINT kFadeTimerPeriod = 15;  // ms
inline constexpr int kFadeStep = 3;

// Starts timer kFadeTimerId unless "TIMERID" says one runs already; returns the new id, or 0
// when one was running (a handler that changes the state then redirects the running fade).
UINT_PTR StartFadeTimer(HWND window);
// Kills the running fade timer and stores 0 in "TIMERID"; 0 when none was running.
BOOL StopFadeTimer(HWND window);
