#include "families/header/header.h"

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <algorithm>

#include "engine/hover_tracking.h"
#include "engine/window_info.h"
#include "engine/window_props.h"
#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "win/gdi_handles.h"
#include "win/wide_text.h"

namespace {

int ItemCount(HWND header) {
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

RECT ItemRect(HWND header, int index) {
    RECT rect{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// Only x counts; the first item whose left <= x <= right wins, so a point on the boundary
// between two items belongs to the left-hand one.
int HitTestItem(HWND header, LPARAM l_param) {
    const int x = LoWord(l_param);
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

void DrawItem(HWND header, int index, int look) {
    RedrawHeaderItem(header, nullptr, index, look);
}

void Attach(SkinnedWindow& window) {
    SetSkinProp(window.hwnd, prop::kMouseFlag, 0);
    SetSkinProp(window.hwnd, prop::kHdIndex, -1);
    SetSkinProp(window.hwnd, prop::kHmIndex, -1);
}

void Detach(SkinnedWindow& window) {
    for (const char* name : {prop::kMouseFlag, prop::kHdIndex, prop::kHmIndex})
        RemoveSkinProp(window.hwnd, name);
}

void OnLButtonDown(HWND header, LPARAM l_param) {
    if (ItemCount(header) <= 0)
        return;
    const int hit = HitTestItem(header, l_param);
    SetSkinProp(header, prop::kHdIndex, hit);
    if (hit >= 0)
        DrawItem(header, hit, kPressedLook);
}

void OnLButtonUp(HWND header) {
    const int pressed = ReadIndex(header, prop::kHdIndex);
    SetSkinProp(header, prop::kHdIndex, -1);
    if (pressed >= 0) {
        POINT cursor{};
        GetCursorPos(&cursor);
        DrawItem(header, pressed, WindowFromPoint(cursor) == header ? kHoverLook : kNormalLook);
    }
}

void OnMouseMove(HWND header, WPARAM w_param, LPARAM l_param) {
    BeginMouseStay(header);
    const int hit = HitTestItem(header, l_param);
    const int hover = ReadIndex(header, prop::kHmIndex);
    const int pressed = ReadIndex(header, prop::kHdIndex);
    if (hit == hover)
        return;
    if (hover >= 0 && hover != pressed)
        DrawItem(header, hover, kNormalLook);
    if ((w_param & MK_LBUTTON) == 0) {
        SetSkinProp(header, prop::kHmIndex, hit);
        DrawItem(header, hit, kHoverLook);
    } else if (hit == pressed) {
        // While a press is held the hover look does not follow the mouse; only the pressed
        // item shows pressed again when the mouse comes back onto it.
        DrawItem(header, hit, kPressedLook);
    }
}

void OnMouseLeave(HWND header) {
    const int hover = ReadIndex(header, prop::kHmIndex);
    SetSkinProp(header, prop::kMouseFlag, 0);
    SetSkinProp(header, prop::kHdIndex, -1);
    SetSkinProp(header, prop::kHmIndex, -1);
    if (hover >= 0)
        DrawItem(header, hover, kNormalLook);
}

// The whole strip is composed in one surface and reaches the screen in one blit, never passed
// on: the background stretched from the header skin's column 1, then every item's face and
// caption, pressed for "HDINDEX" and hover for "HMINDEX".
LRESULT OnPaint(HWND header) {
    WindowBounds bounds;
    GetWindowBounds(header, bounds);
    const int w = bounds.width, h = bounds.height;
    ScopedSurface surface(w, h);
    HDC s = surface.get();
    StretchBlt(s, 0, 0, w, h, SkinBitmaps().header_skin, 1, 0, 1, 20, SRCCOPY);

    const int count = ItemCount(header);
    if (count > 0) {
        const int pressed = ReadIndex(header, prop::kHdIndex);
        const int hover = ReadIndex(header, prop::kHmIndex);
        const HFONT font = FontOf(header);
        for (int i = 0; i < count; ++i) {
            const RECT rect = ItemRect(header, i);
            const int look = i == pressed ? kPressedLook : i == hover ? kHoverLook : kNormalLook;
            PaintHeaderItem(s, rect.left, rect.right - rect.left, h, rect.bottom, GetHeaderItemCaption(header, i), font,
                            look);
        }
    }

    ScopedPaint paint(header);
    BitBlt(paint.get(), 0, 0, w, h, s, 0, 0, SRCCOPY);
    return 0;
}

LRESULT Handle(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    HWND hwnd = window.hwnd;
    switch (message) {
        case WM_PAINT:
            return OnPaint(hwnd);
        case WM_MOUSEMOVE:
            return PassOnThen(window, message, w_param, l_param, [&] { OnMouseMove(hwnd, w_param, l_param); });
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a double click is a press too
            return PassOnThen(window, message, w_param, l_param, [&] { OnLButtonDown(hwnd, l_param); });
        case WM_LBUTTONUP:
            return PassOnThen(window, message, w_param, l_param, [&] { OnLButtonUp(hwnd); });
        case WM_MOUSELEAVE:
            return PassOnThen(window, message, w_param, l_param, [&] { OnMouseLeave(hwnd); });
        default:
            return PassOn(window, message, w_param, l_param);
    }
}

}  // namespace

const Family kHeaderFamily = {Attach, Detach, Handle};

int HeaderFaceSourceX(int look) {
    if (look == kHoverLook)
        return 3;
    if (look == kPressedLook)
        return 6;
    return 0;
}

std::string GetHeaderItemCaption(HWND header, int index) {
    // 255 characters and their terminator: the control never writes past cchTextMax.
    wchar_t buffer[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    std::wstring caption(buffer, buffer + 255);
    caption.erase(std::remove(caption.begin(), caption.end(), L'\0'), caption.end());
    return Utf8FromWide(caption);
}

void PaintHeaderItem(HDC dc,
                     int x,
                     int width,
                     int face_height,
                     int text_height,
                     const std::string& caption,
                     HFONT font,
                     int look) {
    BlitSkinPiece(dc, x, 0, width, face_height, SkinBitmaps().header_skin, HeaderFaceSourceX(look), 0, 3, 20, 1, 1, 1,
                  1);
    if (caption.empty())
        return;
    ScopedSelect font_select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    DrawTextBox(dc, caption, x, 0, width, text_height, kHeaderCaptionFormat);
}

void RedrawHeaderItem(HWND header, HDC dc, int index, int look) {
    if (index < 0)
        return;
    WindowBounds bounds;
    GetWindowBounds(header, bounds);
    const RECT item = ItemRect(header, index);
    const int iw = item.right - item.left;
    ScopedSurface surface(iw, bounds.height);
    if (!surface)
        return;
    PaintHeaderItem(surface.get(), 0, iw, bounds.height, bounds.height, GetHeaderItemCaption(header, index),
                    FontOf(header), look);
    ScopedTargetDC target(header, dc);
    BitBlt(target.get(), item.left, 0, iw, item.bottom - item.top, surface.get(), 0, 0, SRCCOPY);
}
