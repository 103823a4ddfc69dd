#include "skin/behaviour/handlers.h"

#include "skin/behaviour/families.h"
#include "skin/engine/attach.h"
#include "skin/engine/control_kind.h"

// Families without a branch in a handler do not react to that message: the message goes to
// the window's own procedure unchanged.

LRESULT OnActivate(SKIN_HANDLER_ARGS) {
    // lParam is the window that takes (or gives up) the activation in exchange. Windows owned by
    // this one and forms or dialog boxes of any owner are skinned before they are drawn.
    auto other = reinterpret_cast<HWND>(lParam);
    if (other) {
        if (GetParent(other) == window || ControlKindOf(other) == FormKind)
            AttachSkin(other);
    }
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnSize(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == PushButtonKind)
        return PushButtonOnSize(oldProc, window, message, wParam, lParam);
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnSetFocus(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnSetFocus(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnFocus(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnKillFocus(SKIN_HANDLER_ARGS) {
    // Gaining and losing the focus are the same work: the faces or marks are drawn again.
    return OnSetFocus(oldProc, window, message, wParam, lParam);
}

LRESULT OnEnable(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == PushButtonKind)
        return PushButtonOnEnable(oldProc, window, message, wParam, lParam);
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnPaint(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnPaint(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnPaint(oldProc, window, message, wParam, lParam);
        case ComboKind:
            return ComboOnPaint(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnPaint(oldProc, window, message, wParam, lParam);
        case FormKind:
        case ProgressKind:
        case PlainKind:
            return FramesOnPaint(oldProc, window, message, wParam, lParam);
    }
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnWindowPosChanging(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == ComboKind)
        return ComboOnWindowPosChanging(oldProc, window, message, wParam, lParam);
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnNcPaint(SKIN_HANDLER_ARGS) {
    // Every kind: the frames family decides from the window's styles and class what to draw.
    return FramesOnNcPaint(oldProc, window, message, wParam, lParam);
}

LRESULT OnKeyDown(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnKeyDown(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnKeyDown(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnKeyUp(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnKeyUp(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnKeyUp(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnTimer(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == PushButtonKind)
        return PushButtonOnTimer(oldProc, window, message, wParam, lParam);
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT OnMouseMove(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnMouseMove(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnMouseMove(oldProc, window, message, wParam, lParam);
        case ComboKind:
            return ComboOnMouseMove(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnMouseMove(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnLButtonDown(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnLButtonDown(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnLButtonDown(oldProc, window, message, wParam, lParam);
        case ComboKind:
            return ComboOnLButtonDown(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnLButtonDown(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnLButtonUp(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnLButtonUp(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnLButtonUp(oldProc, window, message, wParam, lParam);
        case ComboKind:
            return ComboOnLButtonUp(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnLButtonUp(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnLButtonDblClk(SKIN_HANDLER_ARGS) {
    // A double click is a press for push buttons and headers; the others let it through.
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnLButtonDown(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnLButtonDown(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}

LRESULT OnMouseLeave(SKIN_HANDLER_ARGS) {
    switch (ControlKindOf(window)) {
        case PushButtonKind:
            return PushButtonOnMouseLeave(oldProc, window, message, wParam, lParam);
        case CheckKind:
        case OptionKind:
            return CheckOptionOnMouseLeave(oldProc, window, message, wParam, lParam);
        case ComboKind:
            return ComboOnMouseLeave(oldProc, window, message, wParam, lParam);
        case HeaderKind:
            return HeaderOnMouseLeave(oldProc, window, message, wParam, lParam);
        default:
            return PassOn(oldProc, window, message, wParam, lParam);
    }
}
