// Every handler passes the message on first, so the control has updated its check state and
// painted itself before the box is drawn on top.
#include "families/check_option/check_option.h"

#include "engine/hover_tracking.h"
#include "engine/window_info.h"
#include "engine/window_props.h"
#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win/gdi_handles.h"

namespace {

void Attach(SkinnedWindow& window) {
    AddMouseLookProps(window.hwnd);
}

void Detach(SkinnedWindow& window) {
    RemoveMouseLookProps(window.hwnd);
}

LRESULT Handle(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    HWND hwnd = window.hwnd;
    const ControlKind kind = window.kind;
    switch (message) {
        case WM_PAINT:
            return PassOnThen(window, message, w_param, l_param,
                              [&] { RedrawCheckOptionBox(hwnd, kind, kNormalLook, true); });
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // A focus change repaints an option button's circle in the system's look; a check
            // box keeps the skinned one.
            return PassOnThen(window, message, w_param, l_param, [&] {
                if (kind == ControlKind::kOption)
                    RedrawCheckOptionBox(hwnd, kind, kNormalLook, true);
            });
        case WM_KEYDOWN:
        case WM_KEYUP:
            return PassOnThen(window, message, w_param, l_param, [&] {
                if (w_param == VK_SPACE)
                    RedrawCheckOptionBox(hwnd, kind, message == WM_KEYDOWN ? kPressedLook : kNormalLook, false);
            });
        case WM_MOUSEMOVE:
            return PassOnThen(window, message, w_param, l_param, [&] {
                BeginMouseStay(hwnd);
                RedrawCheckOptionBox(hwnd, kind, (w_param & MK_LBUTTON) ? kPressedLook : kHoverLook, true);
            });
        case WM_LBUTTONDOWN:
            return PassOnThen(window, message, w_param, l_param,
                              [&] { RedrawCheckOptionBox(hwnd, kind, kPressedLook, false); });
        case WM_LBUTTONUP:
            return PassOnThen(window, message, w_param, l_param,
                              [&] { RedrawCheckOptionBox(hwnd, kind, kNormalLook, false); });
        case WM_MOUSELEAVE:
            return PassOnThen(window, message, w_param, l_param, [&] {
                SetSkinProp(hwnd, prop::kMouseFlag, 0);
                RedrawCheckOptionBox(hwnd, kind, kNormalLook, false);
            });
        default:
            return PassOn(window, message, w_param, l_param);
    }
}

}  // namespace

const Family kCheckOptionFamily = {Attach, Detach, Handle};

int RedrawCheckOptionBox(HWND hwnd, ControlKind kind, int state, bool force) {
    if (kind != ControlKind::kCheck && kind != ControlKind::kOption)
        return 0;
    if (!force && GetSkinProp(hwnd, prop::kOldState) == state)
        return 0;
    SetSkinProp(hwnd, prop::kOldState, state);
    WindowBounds bounds;
    GetWindowBounds(hwnd, bounds);
    const LRESULT check_state = SendMessageW(hwnd, BM_GETCHECK, 0, 0);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const int cw = GetSystemMetrics(SM_CXMENUCHECK);
    const int ch = GetSystemMetrics(SM_CYMENUCHECK);
    ScopedWindowDC window_dc(hwnd);
    if (kind == ControlKind::kOption)
        DrawOptionMark(window_dc.get(), bounds.height, cw, ch, state, enabled, check_state);
    else
        DrawCheckBoxMark(window_dc.get(), bounds.height, cw, ch, state, enabled, check_state);
    return 1;
}

void DrawCheckBoxMark(HDC window_dc, int window_height, int cw, int ch, int state, bool enabled, LRESULT check_state) {
    ScopedSurface surface(cw, ch);
    HDC s = surface.get();
    if (!s)
        return;
    FillSolid(s, 0, 0, cw, ch, kWhite);
    // The disabled look keeps the inside white and takes the pale marks from the columns to
    // the right of the enabled ones.
    if (enabled) {
        FrameSolid(s, 0, 0, cw, ch, state == kPressedLook ? kPressedFrameColour : kFrameColour);
        if (state == kHoverLook)
            StretchBlt(s, 1, 1, cw - 2, ch - 2, SkinBitmaps().option_skin, 1, 17, 11, 5, SRCCOPY);
        if (state == kPressedLook)
            StretchBlt(s, 1, 1, cw - 2, ch - 2, SkinBitmaps().option_skin, 1, 30, 11, 5, SRCCOPY);
    } else {
        FrameSolid(s, 0, 0, cw, ch, kDisabledFrameColour);
    }
    const int column = enabled ? 0 : 9;
    if (check_state == BST_CHECKED)
        TransparentBlit(s, HalveToEven(cw - 9), HalveToEven(ch - 8), 9, 8, SkinBitmaps().glyph_skin, column, 0,
                        kKeyColour);
    if (check_state == BST_INDETERMINATE)
        TransparentBlit(s, HalveToEven(cw - 7), HalveToEven(ch - 7), 7, 7, SkinBitmaps().glyph_skin, column + 1, 9,
                        kKeyColour);
    BitBlt(window_dc, 0, HalveToEven(window_height - ch), cw, ch, s, 0, 0, SRCCOPY);
}

// Straight onto the window (no surface of its own): the window's background shows through the
// key-coloured corners of the circle.
void DrawOptionMark(HDC window_dc, int window_height, int cw, int ch, int state, bool enabled, LRESULT check_state) {
    const int top = HalveToEven(window_height - ch);
    if (!enabled || (state >= kNormalLook && state <= kPressedLook))
        BlitSkinPiece(window_dc, 0, top, cw, ch, SkinBitmaps().option_skin, 0, 13 * (enabled ? state : 3), 13, 13, 5, 5,
                      5, 5, kKeyColour);
    if (check_state == BST_CHECKED) {
        // top + (ch - 5) / 2 rounded as a whole: rounding (ch - 5) / 2 alone and adding top
        // would differ when top is odd.
        const int dot_y = HalveToEven(2 * top + ch - 5);
        TransparentBlit(window_dc, HalveToEven(cw - 5), dot_y, 5, 5, SkinBitmaps().glyph_skin, enabled ? 2 : 11, 18,
                        kKeyColour);
    }
}
