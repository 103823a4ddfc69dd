#include "skin/engine/skin.h"

#include "skin/engine/attach.h"
#include "skin/engine/engine_state.h"
#include "skin/engine/window_info.h"
#include "skin/paint/skin_bitmaps.h"

bool SkinInitialised = false;
bool HasUserTrackMouseEvent = false;
int SkinnedWindowCount = 0;

int SkinWindow(HWND window) {
    if (!SkinInitialised) {
        SkinInitialised = true;
        HasUserTrackMouseEvent = ApiExists("TrackMouseEvent", "User32");
        BuildSkinBitmaps();
    }
    return AttachSkin(window);
}

int UnskinWindow(HWND window) {
    return DetachSkin(window);
}
