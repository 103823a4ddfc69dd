#include "skin/skin.h"

#include "engine/attach.h"
#include "engine/engine.h"

int SkinWindow(HWND window) {
    SetUpEngine();
    return AttachSkin(window);
}

int UnskinWindow(HWND window) {
    return DetachSkin(window);
}
