#include "engine/window_proc.h"

#include "engine/attach.h"
#include "engine/family.h"
#include "families/check_option/check_option.h"
#include "families/frames/frames.h"

namespace {

// Dialog boxes whose owner enters idle and drop-down lists about to be drawn are skinned as
// they show up; the message itself is answered by the old procedure unchanged.
LRESULT PassOnThenAttach(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    LRESULT result = PassOn(window, message, w_param, l_param);
    if (StillSkinned(window) && l_param != 0)
        AttachSkin(reinterpret_cast<HWND>(l_param));
    return result;
}

// lParam is the window that takes (or gives up) the activation in exchange. Windows owned by
// this one and forms or dialog boxes of any owner are skinned before they are drawn.
LRESULT AttachOnActivate(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    auto other = reinterpret_cast<HWND>(l_param);
    if (other && (GetParent(other) == window.hwnd || ControlKindOf(other) == ControlKind::kForm))
        AttachSkin(other);
    return PassOn(window, message, w_param, l_param);
}

// A click may change the check state of any check box or option button beside the clicked
// window (option groups, or code run by the click), so all of them are drawn again. GetParent
// would name the owner of a pop-up (a dialog box), whose controls the click cannot touch; a
// top-level window refreshes its own children.
void RefreshSiblings(HWND window) {
    HWND parent = GetAncestor(window, GA_PARENT);
    if (!parent || parent == GetDesktopWindow())
        parent = window;
    EnumChildWindows(parent, RefreshSiblingProc, 0);
}

}  // namespace

BOOL CALLBACK RefreshSiblingProc(HWND child, LPARAM) {
    SkinnedWindow* record = FindSkinnedWindow(child);
    if (record && StillSkinned(*record))
        RedrawCheckOptionBox(child, record->kind, 0, true);
    return TRUE;
}

LRESULT CALLBACK SkinWindowProc(HWND hwnd, UINT message, WPARAM w_param, LPARAM l_param) {
    if (!hwnd)
        return 0;
    SkinnedWindow* record = FindSkinnedWindow(hwnd);
    if (!record)
        return DefWindowProcW(hwnd, message, w_param, l_param);
    SkinnedWindow& window = *record;
    CallOnWindow call(window);

    if (window.link != SkinLink::kAttached) {
        LRESULT result = PassOn(window, message, w_param, l_param);
        if (message == WM_NCDESTROY)
            window.link = SkinLink::kDetached;
        return result;
    }
    switch (message) {
        case WM_DESTROY:
            // The window's own procedure still sees its WM_DESTROY, after the skin is gone.
            DetachSkin(hwnd);
            return PassOn(window, message, w_param, l_param);
        case WM_ACTIVATE:
            return AttachOnActivate(window, message, w_param, l_param);
        case WM_NCPAINT:
            // The border of a client edge is the same on every kind of window.
            return DrawFramesOnNcPaint(window, message, w_param, l_param);
        case WM_ENTERIDLE:
        case WM_CTLCOLORLISTBOX:
            return PassOnThenAttach(window, message, w_param, l_param);
        case WM_LBUTTONUP: {
            LRESULT result = window.family->handle(window, message, w_param, l_param);
            RefreshSiblings(hwnd);
            return result;
        }
        default:
            return window.family->handle(window, message, w_param, l_param);
    }
}
