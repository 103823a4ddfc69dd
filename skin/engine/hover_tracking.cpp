#include "engine/hover_tracking.h"

#include "engine/engine.h"
#include "engine/window_props.h"

namespace {

using TrackMouseEventFunction = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// Looked up at run time rather than imported: the program must still start on a user32
// without TrackMouseEvent, where comctl32's emulation does the work.
TrackMouseEventFunction UserTrackMouseEvent() {
    static TrackMouseEventFunction function = reinterpret_cast<TrackMouseEventFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), "TrackMouseEvent")));
    return function;
}

// comctl32 stays loaded once found: the process keeps using it for every leave request.
TrackMouseEventFunction CommonControlsTrackMouseEvent() {
    static TrackMouseEventFunction function = [] {
        HMODULE module = GetModuleHandleA("comctl32");
        if (!module)
            module = LoadLibraryA("comctl32");
        return module ? reinterpret_cast<TrackMouseEventFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, "_TrackMouseEvent")))
                      : nullptr;
    }();
    return function;
}

}  // namespace

void TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    request.dwHoverTime = 0;
    TrackMouseEventFunction track = UsesUserTrackMouseEvent() ? UserTrackMouseEvent() : CommonControlsTrackMouseEvent();
    if (track)
        track(&request);
}

bool BeginMouseStay(HWND window) {
    if (GetSkinProp(window, prop::kMouseFlag) != 0)
        return false;
    SetSkinProp(window, prop::kMouseFlag, 1);
    TrackMouseLeave(window);
    return true;
}

void AddMouseLookProps(HWND window) {
    SetSkinProp(window, prop::kMouseFlag, 0);
    SetSkinProp(window, prop::kOldState, 0);
}

void RemoveMouseLookProps(HWND window) {
    RemoveSkinProp(window, prop::kMouseFlag);
    RemoveSkinProp(window, prop::kOldState);
}
