// The system's mouse-leave tracking (TrackMouseEvent), seen from tests.
#pragma once

#include <windows.h>

// Whether the system is tracking the mouse's leave for this window.
bool LeaveTracked(HWND window);
// Stops the leave tracking of this window, so no WM_MOUSELEAVE arrives later.
void CancelLeaveTracking(HWND window);
