// Column headers are painted entirely by the skin. "HDINDEX" holds the item the left button
// went down on and "HMINDEX" the item last drawn in the hover look (-1 for none); the mouse
// handlers redraw only the items whose look changes.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <string>

#include "skin/behaviour/families.h"
#include "skin/engine/hover_tracking.h"
#include "skin/engine/window_info.h"
#include "skin/engine/window_props.h"
#include "skin/paint/control_painters.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_bitmaps.h"

namespace {

enum ItemLook { NormalLook = 0, HoverLook = 1, PressedLook = 2 };

int ItemCount(HWND header) {
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

RECT ItemRect(HWND header, int index) {
    RECT rect{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// Only x counts; the first item whose left <= x <= right wins, so a point on the boundary
// between two items belongs to the left-hand one.
int HitTestItem(HWND header, LPARAM lParam) {
    const int x = LoWord(lParam);
    const int count = ItemCount(header);
    for (int i = 0; i < count; ++i) {
        RECT rect = ItemRect(header, i);
        if (rect.left <= x && x <= rect.right)
            return i;
    }
    return -1;
}

int ReadIndex(HWND header, const char* name) {
    return static_cast<int>(GetSkinProp(header, name));
}

void DrawItem(HWND header, int index, ItemLook look) {
    PaintHeaderItem(header, nullptr, index, look);
}

}  // namespace

LRESULT HeaderOnLButtonDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (ItemCount(window) > 0) {
        const int hit = HitTestItem(window, lParam);
        SetSkinProp(window, prop::HdIndex, hit);
        if (hit >= 0)
            DrawItem(window, hit, PressedLook);
    }
    return result;
}

LRESULT HeaderOnLButtonUp(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    const int pressed = ReadIndex(window, prop::HdIndex);
    SetSkinProp(window, prop::HdIndex, -1);
    if (pressed >= 0) {
        POINT cursor{};
        GetCursorPos(&cursor);
        DrawItem(window, pressed, WindowFromPoint(cursor) == window ? HoverLook : NormalLook);
    }
    return result;
}

LRESULT HeaderOnMouseMove(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    BeginMouseStay(window);
    const int hit = HitTestItem(window, lParam);
    const int hover = ReadIndex(window, prop::HmIndex);
    const int pressed = ReadIndex(window, prop::HdIndex);
    if (hit == hover)
        return result;
    if (hover >= 0 && hover != pressed)
        DrawItem(window, hover, NormalLook);
    if ((wParam & MK_LBUTTON) == 0) {
        SetSkinProp(window, prop::HmIndex, hit);
        DrawItem(window, hit, HoverLook);
    } else if (hit == pressed) {
        // While a press is held the hover look does not follow the mouse; only the pressed
        // item shows pressed again when the mouse comes back onto it.
        DrawItem(window, hit, PressedLook);
    }
    return result;
}

LRESULT HeaderOnMouseLeave(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    const int hover = ReadIndex(window, prop::HmIndex);
    SetSkinProp(window, prop::MouseFlag, 0);
    SetSkinProp(window, prop::HdIndex, -1);
    SetSkinProp(window, prop::HmIndex, -1);
    if (hover >= 0)
        DrawItem(window, hover, NormalLook);
    return result;
}

// The whole strip is composed in one surface and reaches the screen in one blit, never passed
// on: the background stretched from the header skin's column 1, then every item's face and
// caption, pressed for "HDINDEX" and hover for "HMINDEX".
LRESULT HeaderOnPaint(SKIN_HANDLER_ARGS) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const int w = bounds.width, h = bounds.height;
    ScopedSurface surface(w, h);
    HDC s = surface.get();
    StretchBlt(s, 0, 0, w, h, SkinBitmaps.HeaderSkin, 1, 0, 1, 20, SRCCOPY);

    const int count = ItemCount(window);
    if (count > 0) {
        const int pressed = ReadIndex(window, prop::HdIndex);
        const int hover = ReadIndex(window, prop::HmIndex);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const RECT rect = ItemRect(window, i);
            const std::string caption = GetHeaderItemCaption(window, i);
            const ItemLook look = i == pressed ? PressedLook : i == hover ? HoverLook : NormalLook;
            BlitSkinPiece(s, rect.left, 0, rect.right - rect.left, h, SkinBitmaps.HeaderSkin, HeaderFaceSourceX(look),
                          0, 3, 20, 1, 1, 1, 1);
            if (!caption.empty()) {
                ScopedSelect fontSelect(s, font);
                SetBkMode(s, TRANSPARENT);
                DrawTextBox(s, caption, rect.left, 0, rect.right - rect.left, rect.bottom, HeaderCaptionFormat);
            }
        }
    }

    ScopedPaint paint(window);
    BitBlt(paint.get(), 0, 0, w, h, s, 0, 0, SRCCOPY);
    return 0;
}
