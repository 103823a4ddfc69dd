#include "engine/engine.h"

#include "engine/window_info.h"
#include "paint/skin_bitmaps.h"

namespace {

struct EngineState {
    bool initialised = false;
    bool user_track_mouse_event = false;
    int skinned_windows = 0;
};

EngineState& Engine() {
    static EngineState engine;
    return engine;
}

}  // namespace

bool SkinInitialised() {
    return Engine().initialised;
}

int SkinnedWindowCount() {
    return Engine().skinned_windows;
}

bool UsesUserTrackMouseEvent() {
    return Engine().user_track_mouse_event;
}

void SetUsesUserTrackMouseEvent(bool use) {
    Engine().user_track_mouse_event = use;
}

void CountAttachedWindow() {
    ++Engine().skinned_windows;
}

void CountDetachedWindow() {
    EngineState& engine = Engine();
    if (--engine.skinned_windows > 0)
        return;
    engine.skinned_windows = 0;
    ReleaseSkinBitmaps();
    engine.initialised = false;
}

void SetUpEngine() {
    EngineState& engine = Engine();
    if (engine.initialised)
        return;
    engine.initialised = true;
    engine.user_track_mouse_event = ApiExists("TrackMouseEvent", "User32");
    BuildSkinBitmaps();
}
