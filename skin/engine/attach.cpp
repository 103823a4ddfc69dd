#include "skin/engine/attach.h"

#include "skin/behaviour/skin_window_proc.h"
#include "skin/engine/control_kind.h"
#include "skin/engine/engine_state.h"
#include "skin/engine/hover_tracking.h"
#include "skin/engine/window_props.h"
#include "skin/paint/button_faces.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_bitmaps.h"

namespace {

// The button-type bits of a button style (BS_PUSHBUTTON ... BS_OWNERDRAW).
constexpr LONG_PTR ButtonTypeMask = 0x0F;

// Types 0, 1, 8 and 9 have (style AND 6) = 0; those are drawn by the skin from now on.
bool SkinDrawsFace(LONG_PTR style) {
    return (style & 6) == 0;
}

void AttachPushButton(HWND window) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    {
        ScopedWindowDC screen(window);
        for (int i = 0; i < 4; ++i) {
            HDC face = CreateCompatibleDC(screen.get());
            HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), bounds.width, bounds.height);
            if (face)
                DeleteObject(SelectObject(face, bitmap));
            SetSkinProp(window, prop::FaceDc[i], reinterpret_cast<INT_PTR>(face));
            SetSkinProp(window, prop::FaceBitmap[i], reinterpret_cast<INT_PTR>(bitmap));
        }
        RenderButtonFaces(window);
    }

    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (SkinDrawsFace(style))
        SendMessageW(window, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    SetSkinProp(window, prop::OldStyle, style);
    SetSkinProp(window, prop::MouseFlag, 0);
    SetSkinProp(window, prop::TimerId, 0);
    SetSkinProp(window, prop::OldState, IsWindowEnabled(window) ? 0 : 3);
    SetSkinProp(window, prop::AlphaLevel, 0);

    // Right and bottom edges of a region are exclusive, hence one pixel more each way.
    ScopedRegion region(CreateRoundRectRgn(0, 0, bounds.width + 1, bounds.height + 1, 3, 3));
    if (SetWindowRgn(window, region.get(), TRUE))
        region.release();
}

void DetachPushButton(HWND window) {
    for (int i = 0; i < 4; ++i) {
        auto face = reinterpret_cast<HDC>(GetSkinProp(window, prop::FaceDc[i]));
        auto bitmap = reinterpret_cast<HBITMAP>(GetSkinProp(window, prop::FaceBitmap[i]));
        // The bitmap can only be deleted once no DC holds it.
        if (face)
            DeleteDC(face);
        if (bitmap)
            DeleteObject(bitmap);
        RemoveSkinProp(window, prop::FaceDc[i]);
        RemoveSkinProp(window, prop::FaceBitmap[i]);
    }
    StopFadeTimer(window);

    // Only the button type was changed by the attach. Writing back the whole old style would
    // also undo what happened to the window while it was skinned: a button disabled or hidden
    // in the meantime would come back enabled or marked visible.
    LONG_PTR oldStyle = GetSkinProp(window, prop::OldStyle);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LONG_PTR restored = (style & ~ButtonTypeMask) | (oldStyle & ButtonTypeMask);
    if (restored != style)
        SetWindowLongPtrW(window, GWL_STYLE, restored);

    RemoveSkinProp(window, prop::OldStyle);
    RemoveSkinProp(window, prop::MouseFlag);
    RemoveSkinProp(window, prop::TimerId);
    RemoveSkinProp(window, prop::OldState);
    RemoveSkinProp(window, prop::AlphaLevel);
    SetWindowRgn(window, nullptr, TRUE);
}

// Frame and client area are drawn again at once, by whichever procedure now owns the window.
void RedrawWhole(HWND window) {
    SendMessageW(window, WM_NCPAINT, 1, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
}

}  // namespace

int AttachSkin(HWND window) {
    if (!window || GetSkinProp(window, prop::ProcAddr) != 0)
        return 0;
    // The engine and its state belong to this thread. A window of another thread or program
    // (another program's dialog box that takes the activation, say) is left alone: its buttons
    // would be switched to owner-drawn with nobody to draw them, and a subclassing that cannot
    // happen would leave it counted for ever.
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return 0;

    switch (ControlKindOf(window)) {
        case FormKind:
            EnumChildWindows(window, AttachChildProc, 0);
            break;
        case PushButtonKind:
            AttachPushButton(window);
            break;
        case ComboKind:
        case CheckKind:
        case OptionKind:
            SetSkinProp(window, prop::MouseFlag, 0);
            SetSkinProp(window, prop::OldState, 0);
            break;
        case HeaderKind:
            SetSkinProp(window, prop::MouseFlag, 0);
            SetSkinProp(window, prop::HdIndex, -1);
            SetSkinProp(window, prop::HmIndex, -1);
            break;
        case ProgressKind:
        case PlainKind:
            break;
    }

    ++SkinnedWindowCount;
    LONG_PTR oldProc = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinWindowProc));
    SetSkinProp(window, prop::ProcAddr, oldProc);
    RedrawWhole(window);
    return 1;
}

int DetachSkin(HWND window) {
    if (!window)
        return 0;
    INT_PTR oldProc = GetSkinProp(window, prop::ProcAddr);
    if (oldProc == 0)
        return 0;

    switch (ControlKindOf(window)) {
        case FormKind:
            EnumChildWindows(window, DetachChildProc, 0);
            break;
        case PushButtonKind:
            DetachPushButton(window);
            break;
        case ComboKind:
        case CheckKind:
        case OptionKind:
            RemoveSkinProp(window, prop::MouseFlag);
            RemoveSkinProp(window, prop::OldState);
            break;
        case HeaderKind:
            RemoveSkinProp(window, prop::MouseFlag);
            RemoveSkinProp(window, prop::HdIndex);
            RemoveSkinProp(window, prop::HmIndex);
            break;
        case ProgressKind:
        case PlainKind:
            break;
    }

    RemoveSkinProp(window, prop::ProcAddr);
    SetWindowLongPtrW(window, GWLP_WNDPROC, oldProc);
    RedrawWhole(window);

    if (--SkinnedWindowCount <= 0) {
        SkinnedWindowCount = 0;
        ReleaseSkinBitmaps();
        SkinInitialised = false;
    }
    return 1;
}

BOOL CALLBACK AttachChildProc(HWND child, LPARAM) {
    AttachSkin(child);
    return TRUE;
}

BOOL CALLBACK DetachChildProc(HWND child, LPARAM) {
    DetachSkin(child);
    return TRUE;
}
