#include "win_support/mouse_tracking.h"

bool LeaveTracked(HWND window) {
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof(query);
    query.dwFlags = TME_QUERY;
    if (!TrackMouseEvent(&query))
        return false;
    return (query.dwFlags & TME_LEAVE) && query.hwndTrack == window;
}

void CancelLeaveTracking(HWND window) {
    TRACKMOUSEEVENT cancel{};
    cancel.cbSize = sizeof(cancel);
    cancel.dwFlags = TME_CANCEL | TME_LEAVE;
    cancel.hwndTrack = window;
    TrackMouseEvent(&cancel);
}
