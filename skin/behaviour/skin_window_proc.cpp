#include "skin/behaviour/skin_window_proc.h"

#include "skin/behaviour/handlers.h"
#include "skin/engine/attach.h"
#include "skin/engine/control_kind.h"
#include "skin/engine/window_props.h"
#include "skin/paint/control_painters.h"

namespace {

// Dialog boxes whose owner enters idle and drop-down lists about to be drawn are skinned as
// they show up; the message itself is answered by the old procedure unchanged.
LRESULT PassOnThenAttach(WNDPROC oldProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (lParam != 0)
        AttachSkin(reinterpret_cast<HWND>(lParam));
    return result;
}

// A click may change the check state of any check box or option button beside the clicked
// window (option groups, or code run by the click), so all of them are drawn again.
void RefreshSiblings(HWND window) {
    HWND parent = GetParent(window);
    EnumChildWindows(parent ? parent : window, RefreshSiblingProc, 0);
}

}  // namespace

BOOL CALLBACK RefreshSiblingProc(HWND child, LPARAM) {
    if (GetSkinProp(child, prop::ProcAddr) == 0)
        return TRUE;
    switch (ControlKindOf(child)) {
        case CheckKind:
            PaintCheckBox(child, 0, true);
            break;
        case OptionKind:
            PaintOptionButton(child, 0, true);
            break;
        default:
            break;
    }
    return TRUE;
}

LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window)
        return 0;
    auto oldProc = reinterpret_cast<WNDPROC>(GetSkinProp(window, prop::ProcAddr));
    if (!oldProc)
        return DefWindowProcW(window, message, wParam, lParam);

    switch (message) {
        case WM_DESTROY:
            // The window's own procedure still sees its WM_DESTROY, after the skin is gone.
            DetachSkin(window);
            return PassOn(oldProc, window, message, wParam, lParam);
        case WM_SIZE:
            return OnSize(oldProc, window, message, wParam, lParam);
        case WM_ACTIVATE:
            return OnActivate(oldProc, window, message, wParam, lParam);
        case WM_SETFOCUS:
            return OnSetFocus(oldProc, window, message, wParam, lParam);
        case WM_KILLFOCUS:
            return OnKillFocus(oldProc, window, message, wParam, lParam);
        case WM_ENABLE:
            return OnEnable(oldProc, window, message, wParam, lParam);
        case WM_PAINT:
            return OnPaint(oldProc, window, message, wParam, lParam);
        case WM_WINDOWPOSCHANGING:
            return OnWindowPosChanging(oldProc, window, message, wParam, lParam);
        case WM_NCPAINT:
            return OnNcPaint(oldProc, window, message, wParam, lParam);
        case WM_KEYDOWN:
            return OnKeyDown(oldProc, window, message, wParam, lParam);
        case WM_KEYUP:
            return OnKeyUp(oldProc, window, message, wParam, lParam);
        case WM_TIMER:
            return OnTimer(oldProc, window, message, wParam, lParam);
        case WM_ENTERIDLE:
        case WM_CTLCOLORLISTBOX:
            return PassOnThenAttach(oldProc, window, message, wParam, lParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(oldProc, window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(oldProc, window, message, wParam, lParam);
        case WM_LBUTTONUP: {
            LRESULT result = OnLButtonUp(oldProc, window, message, wParam, lParam);
            RefreshSiblings(window);
            return result;
        }
        case WM_LBUTTONDBLCLK:
            return OnLButtonDblClk(oldProc, window, message, wParam, lParam);
        case WM_MOUSELEAVE:
            return OnMouseLeave(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}
