// The published state of a push button is "OLDSTATE" (the face it shows or fades to) and
// "ALPHALEVEL" (the opacity of the next fade step); handlers read them, so a state that a
// caller stores is honoured at the next message. The fade tick alone works from the copies kept
// with the window and writes only "ALPHALEVEL": a property access is a round trip to the
// server under Wine, and the tick runs every 15 ms.
#include "families/push_button/push_button.h"

#include <memory>

#include "engine/hover_tracking.h"
#include "engine/window_props.h"
#include "families/push_button/button_faces.h"
#include "paint/primitives.h"
#include "win/gdi_handles.h"

namespace {

constexpr INT_PTR kNormalState = 0;
constexpr INT_PTR kHoverState = 1;
constexpr INT_PTR kPressedState = 2;
constexpr INT_PTR kDisabledState = 3;

constexpr INT_PTR kOpaqueLevel = 255;
constexpr INT_PTR kReleaseStartLevel = 60;
constexpr INT_PTR kLeaveBlendLevel = 140;

// The button-type bits of a button style (BS_PUSHBUTTON ... BS_OWNERDRAW).
constexpr LONG_PTR kButtonTypeMask = 0x0F;

// Types 0, 1, 8 and 9 have (style AND 6) = 0; those are drawn by the skin.
bool SkinDrawsFace(LONG_PTR style) {
    return (style & 6) == 0;
}

struct PushButtonData : FamilyData {
    ButtonFaces faces;
    bool draws_face = false;
    INT_PTR state = kNormalState;
    INT_PTR level = 0;
};

PushButtonData& Data(const SkinnedWindow& window) {
    return *DataOf<PushButtonData>(window);
}

void SetState(const SkinnedWindow& window, INT_PTR state) {
    Data(window).state = state;
    SetSkinProp(window.hwnd, prop::kOldState, state);
}

void SetLevel(const SkinnedWindow& window, INT_PTR level) {
    Data(window).level = level;
    SetSkinProp(window.hwnd, prop::kAlphaLevel, level);
}

void LoadPublishedState(const SkinnedWindow& window) {
    PushButtonData& data = Data(window);
    data.state = GetSkinProp(window.hwnd, prop::kOldState);
    data.level = GetSkinProp(window.hwnd, prop::kAlphaLevel);
}

// Blends the face of the state over the shown picture with the level as opacity, onto dc (the
// window's own DC when none is given). A disabled window always shows face 3.
void BlendFace(const SkinnedWindow& window, HDC dc) {
    PushButtonData& data = Data(window);
    if (!IsWindowEnabled(window.hwnd))
        SetState(window, kDisabledState);
    if (!data.draws_face)
        return;
    ScopedTargetDC target(window.hwnd, dc);
    data.faces.BlendOnto(target.get(), static_cast<int>(data.state), static_cast<int>(data.level));
}

void ResetRegion(HWND hwnd, const WindowBounds& bounds) {
    // Right and bottom edges of a region are exclusive, hence one pixel more each way.
    ScopedRegion region(CreateRoundRectRgn(0, 0, bounds.width + 1, bounds.height + 1, 3, 3));
    if (SetWindowRgn(hwnd, region.get(), TRUE))
        region.release();
}

// Faces for the window's present size, rendered, published, and shown as the current state.
void MakeFaces(const SkinnedWindow& window) {
    PushButtonData& data = Data(window);
    WindowBounds bounds;
    GetWindowBounds(window.hwnd, bounds);
    data.faces.Resize(bounds.width, bounds.height);
    data.faces.Render(window.hwnd);
    data.faces.Publish(window.hwnd);
    data.faces.ShowFace(static_cast<int>(data.state));
    ResetRegion(window.hwnd, bounds);
}

// A press shows the pressed face at once, without a fade.
void PressStep(const SkinnedWindow& window) {
    StopFadeTimer(window.hwnd);
    SetState(window, kPressedState);
    SetLevel(window, kOpaqueLevel);
    BlendFace(window, nullptr);
    SetLevel(window, 0);
}

void StartFade(const SkinnedWindow& window, INT_PTR state, INT_PTR from_level) {
    SetState(window, state);
    SetLevel(window, from_level);
    StartFadeTimer(window.hwnd);
}

void Attach(SkinnedWindow& window) {
    HWND hwnd = window.hwnd;
    auto data = std::make_unique<PushButtonData>();
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    data->draws_face = SkinDrawsFace(style);
    data->state = IsWindowEnabled(hwnd) ? kNormalState : kDisabledState;
    window.data = std::move(data);
    MakeFaces(window);

    if (SkinDrawsFace(style))
        SendMessageW(hwnd, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    SetSkinProp(hwnd, prop::kOldStyle, style);
    SetSkinProp(hwnd, prop::kMouseFlag, 0);
    SetSkinProp(hwnd, prop::kTimerId, 0);
    SetState(window, Data(window).state);
    SetLevel(window, 0);
}

void Detach(SkinnedWindow& window) {
    HWND hwnd = window.hwnd;
    PushButtonData& data = Data(window);
    data.faces.Release();
    ButtonFaces::Withdraw(hwnd);
    StopFadeTimer(hwnd);

    // Only the button type was changed by the attach. Writing back the whole old style would
    // also undo what happened to the window while it was skinned: a button disabled or hidden
    // in the meantime would come back enabled or marked visible.
    const LONG_PTR old_style = GetSkinProp(hwnd, prop::kOldStyle);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const LONG_PTR restored = (style & ~kButtonTypeMask) | (old_style & kButtonTypeMask);
    if (restored != style)
        SetWindowLongPtrW(hwnd, GWL_STYLE, restored);

    for (const char* name : {prop::kOldStyle, prop::kMouseFlag, prop::kTimerId, prop::kOldState, prop::kAlphaLevel})
        RemoveSkinProp(hwnd, name);
    SetWindowRgn(hwnd, nullptr, TRUE);
}

// A paint outside a fade shows the final face of the state; during a fade it shows the blend
// reached so far and lets the fade run on. A control that repaints itself in the middle of a
// fade (Common Controls 6 buttons do so when the mouse leaves) then does not cut it short.
LRESULT OnPaint(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    if (!Data(window).draws_face)
        return PassOn(window, message, w_param, l_param);
    ScopedPaint paint(window.hwnd);
    if (GetSkinProp(window.hwnd, prop::kTimerId) != 0) {
        Data(window).faces.Present(paint.get());
        return 0;
    }
    LoadPublishedState(window);
    SetLevel(window, kOpaqueLevel);
    BlendFace(window, paint.get());
    return 0;
}

void OnFocus(const SkinnedWindow& window) {
    // The faces gain or lose the focus box; the shown picture fades over to the new face.
    Data(window).faces.Render(window.hwnd);
    SetLevel(window, 0);
    StartFadeTimer(window.hwnd);
}

void OnEnable(const SkinnedWindow& window, bool enabled) {
    LoadPublishedState(window);
    SetState(window, enabled ? kNormalState : kDisabledState);
    BlendFace(window, nullptr);
}

// The button's own procedure turns the release into a click, and the click's code runs inside
// the pass-on; the fade back to normal starts after it, from 60 after a mouse release and from
// 0 after the space bar.
void OnRelease(const SkinnedWindow& window, INT_PTR from_level) {
    SetSkinProp(window.hwnd, prop::kMouseFlag, 0);
    StartFade(window, kNormalState, from_level);
}

void OnMouseMove(const SkinnedWindow& window) {
    if (BeginMouseStay(window.hwnd)) {
        StartFade(window, kHoverState, 0);
        return;
    }
    // With the mouse captured, moves keep coming while the pointer is outside the button; the
    // current face is then shown as it is, without a fade.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != window.hwnd) {
        StopFadeTimer(window.hwnd);
        LoadPublishedState(window);
        SetLevel(window, kOpaqueLevel);
        BlendFace(window, nullptr);
    }
}

void OnMouseLeave(const SkinnedWindow& window) {
    SetSkinProp(window.hwnd, prop::kMouseFlag, 0);
    SetState(window, kHoverState);
    SetLevel(window, kLeaveBlendLevel);
    BlendFace(window, nullptr);
    StartFade(window, kNormalState, 0);
}

// Every tick blends the target face over the shown picture with a growing opacity; the tick at
// full opacity is the last one. The timer id is not examined: the button's own procedure gets
// every WM_TIMER as well.
LRESULT OnTimer(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    PushButtonData& data = Data(window);
    BlendFace(window, nullptr);
    INT_PTR level = data.level + kFadeStep;
    if (level > kOpaqueLevel) {
        StopFadeTimer(window.hwnd);
        level = 0;
    }
    SetLevel(window, level);
    return PassOn(window, message, w_param, l_param);
}

LRESULT Handle(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    switch (message) {
        case WM_TIMER:
            return OnTimer(window, message, w_param, l_param);
        case WM_PAINT:
            return OnPaint(window, message, w_param, l_param);
        case WM_SIZE:
            return PassOnThen(window, message, w_param, l_param, [&] { MakeFaces(window); });
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            return PassOnThen(window, message, w_param, l_param, [&] { OnFocus(window); });
        case WM_ENABLE:
            return PassOnThen(window, message, w_param, l_param, [&] { OnEnable(window, w_param != 0); });
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return PassOnThen(window, message, w_param, l_param, [&] { PressStep(window); });
        case WM_KEYDOWN:
            return PassOnThen(window, message, w_param, l_param, [&] {
                if (w_param == VK_SPACE)
                    PressStep(window);
            });
        case WM_LBUTTONUP:
            return PassOnThen(window, message, w_param, l_param, [&] { OnRelease(window, kReleaseStartLevel); });
        case WM_KEYUP:
            return PassOnThen(window, message, w_param, l_param, [&] {
                if (w_param == VK_SPACE)
                    OnRelease(window, 0);
            });
        case WM_MOUSEMOVE:
            return PassOnThen(window, message, w_param, l_param, [&] { OnMouseMove(window); });
        case WM_MOUSELEAVE:
            return PassOnThen(window, message, w_param, l_param, [&] { OnMouseLeave(window); });
        default:
            return PassOn(window, message, w_param, l_param);
    }
}

}  // namespace

const Family kPushButtonFamily = {Attach, Detach, Handle};

UINT_PTR StartFadeTimer(HWND window) {
    if (GetSkinProp(window, prop::kTimerId) != 0)
        return 0;
    UINT_PTR id = SetTimer(window, kFadeTimerId, kFadeTimerPeriod, nullptr);
    SetSkinProp(window, prop::kTimerId, static_cast<INT_PTR>(id));
    return id;
}

BOOL StopFadeTimer(HWND window) {
    auto id = static_cast<UINT_PTR>(GetSkinProp(window, prop::kTimerId));
    if (id == 0)
        return 0;
    BOOL result = KillTimer(window, id);
    SetSkinProp(window, prop::kTimerId, 0);
    return result;
}
