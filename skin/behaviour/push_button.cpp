// Push buttons are drawn entirely by the skin: the face of the current state is blended onto
// the window, and a 15 ms timer raises the opacity so that each change of state fades in.
#include "skin/behaviour/families.h"
#include "skin/engine/hover_tracking.h"
#include "skin/engine/window_props.h"
#include "skin/paint/button_faces.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"

namespace {

enum ButtonState : INT_PTR { NormalState = 0, HoverState = 1, PressedState = 2, DisabledState = 3 };

constexpr INT_PTR OpaqueLevel = 255;
constexpr INT_PTR ReleaseStartLevel = 60;
constexpr INT_PTR LeaveBlendLevel = 140;

void SetState(HWND window, INT_PTR state) {
    SetSkinProp(window, prop::OldState, state);
}
void SetLevel(HWND window, INT_PTR level) {
    SetSkinProp(window, prop::AlphaLevel, level);
}

// A press shows the pressed face at once, without a fade.
void PressStep(HWND window) {
    StopFadeTimer(window);
    SetState(window, PressedState);
    SetLevel(window, OpaqueLevel);
    BlendButtonFace(window, nullptr);
    SetLevel(window, 0);
}

void StartFade(HWND window, INT_PTR state, INT_PTR fromLevel) {
    SetState(window, state);
    SetLevel(window, fromLevel);
    StartFadeTimer(window);
}

}  // namespace

LRESULT PushButtonOnPaint(SKIN_HANDLER_ARGS) {
    if (GetSkinProp(window, prop::OldStyle) & 6)
        return PassOn(oldProc, window, message, wParam, lParam);
    // An exposed button shows its final face at once; a fade in progress would only show
    // a half-blended picture over the freshly erased area.
    StopFadeTimer(window);
    SetLevel(window, OpaqueLevel);
    ScopedPaint paint(window);
    BlendButtonFace(window, paint.get());
    return 0;
}

LRESULT PushButtonOnSize(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    WindowBounds bounds;
    {
        ScopedWindowDC screen(window);
        GetWindowBounds(window, bounds);
        for (int n = 0; n < 4; ++n) {
            auto face = reinterpret_cast<HDC>(GetSkinProp(window, prop::FaceDc[n]));
            if (!face)
                continue;
            ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), bounds.width, bounds.height));
            // Without a new bitmap the face keeps its old one, still named by "BMPn".
            HGDIOBJ replaced = bitmap ? SelectObject(face, bitmap.get()) : nullptr;
            if (!replaced)
                continue;
            DeleteObject(replaced);
            SetSkinProp(window, prop::FaceBitmap[n], reinterpret_cast<INT_PTR>(bitmap.release()));
        }
        RenderButtonFaces(window);
    }
    ScopedRegion region(CreateRoundRectRgn(0, 0, bounds.width + 1, bounds.height + 1, 3, 3));
    if (SetWindowRgn(window, region.get(), TRUE))
        region.release();
    return result;
}

LRESULT PushButtonOnLButtonDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    PressStep(window);
    return result;
}

LRESULT PushButtonOnKeyDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (wParam == VK_SPACE)
        PressStep(window);
    return result;
}

LRESULT PushButtonOnLButtonUp(SKIN_HANDLER_ARGS) {
    // The button's own procedure turns the release into a click, and the click's code runs
    // inside this call; the fade back to normal starts after it.
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    SetSkinProp(window, prop::MouseFlag, 0);
    StartFade(window, NormalState, ReleaseStartLevel);
    return result;
}

LRESULT PushButtonOnKeyUp(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (wParam != VK_SPACE)
        return result;
    SetSkinProp(window, prop::MouseFlag, 0);
    StartFade(window, NormalState, 0);
    return result;
}

LRESULT PushButtonOnMouseMove(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (BeginMouseStay(window)) {
        StartFade(window, HoverState, 0);
        return result;
    }
    // With the mouse captured, moves keep coming while the pointer is outside the button; the
    // current face is then shown as it is, without a fade.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != window) {
        StopFadeTimer(window);
        SetLevel(window, OpaqueLevel);
        BlendButtonFace(window, nullptr);
    }
    return result;
}

LRESULT PushButtonOnMouseLeave(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    SetSkinProp(window, prop::MouseFlag, 0);
    SetState(window, HoverState);
    SetLevel(window, LeaveBlendLevel);
    BlendButtonFace(window, nullptr);
    StartFade(window, NormalState, 0);
    return result;
}

LRESULT PushButtonOnTimer(SKIN_HANDLER_ARGS) {
    // Every tick blends the target face over the previous picture with a growing opacity; the
    // tick at full opacity is the last one. The timer id is not examined: the button's own
    // procedure gets every WM_TIMER as well.
    INT_PTR level = GetSkinProp(window, prop::AlphaLevel);
    BlendButtonFace(window, nullptr);
    level += FadeStep;
    if (level > OpaqueLevel) {
        StopFadeTimer(window);
        level = 0;
    }
    SetLevel(window, level);
    return PassOn(oldProc, window, message, wParam, lParam);
}

LRESULT PushButtonOnSetFocus(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    RenderButtonFaces(window);
    SetLevel(window, 0);
    StartFadeTimer(window);
    return result;
}

LRESULT PushButtonOnEnable(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    SetState(window, wParam ? NormalState : DisabledState);
    BlendButtonFace(window, nullptr);
    return result;
}
