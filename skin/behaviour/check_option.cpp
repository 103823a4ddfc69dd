// Check boxes and option buttons keep the system's caption and background; the skin draws only
// the box over them. Every handler passes the message on first, so the control has updated
// its check state and painted itself before the box is drawn on top.
#include "skin/behaviour/families.h"
#include "skin/engine/control_kind.h"
#include "skin/engine/hover_tracking.h"
#include "skin/engine/window_props.h"
#include "skin/paint/control_painters.h"

namespace {

void DrawBox(HWND window, int state, bool force) {
    if (ControlKindOf(window) == OptionKind)
        PaintOptionButton(window, state, force);
    else
        PaintCheckBox(window, state, force);
}

}  // namespace

LRESULT CheckOptionOnPaint(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    DrawBox(window, 0, true);
    return result;
}

LRESULT CheckOptionOnFocus(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    // A focus change repaints an option button's circle in the system's look; a check box
    // keeps the skinned one.
    if (ControlKindOf(window) == OptionKind)
        PaintOptionButton(window, 0, true);
    return result;
}

LRESULT CheckOptionOnKeyDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (wParam == VK_SPACE)
        DrawBox(window, 2, false);
    return result;
}

LRESULT CheckOptionOnKeyUp(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (wParam == VK_SPACE)
        DrawBox(window, 0, false);
    return result;
}

LRESULT CheckOptionOnMouseMove(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    BeginMouseStay(window);
    DrawBox(window, (wParam & MK_LBUTTON) ? 2 : 1, true);
    return result;
}

LRESULT CheckOptionOnLButtonDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    DrawBox(window, 2, false);
    return result;
}

LRESULT CheckOptionOnLButtonUp(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    DrawBox(window, 0, false);
    return result;
}

LRESULT CheckOptionOnMouseLeave(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    SetSkinProp(window, prop::MouseFlag, 0);
    DrawBox(window, 0, false);
    return result;
}
