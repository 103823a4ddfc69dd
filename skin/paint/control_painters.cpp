#include "skin/paint/control_painters.h"

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <algorithm>

#include "skin/engine/window_info.h"
#include "skin/engine/window_props.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/skin_bitmaps.h"
#include "skin/paint/skin_colours.h"
#include "skin/paint/wide_text.h"

namespace {

// The "OLDSTATE" test that lets callers invoke a painter on every mouse move.
bool SkipUnchanged(HWND window, int state, bool force) {
    return !force && GetSkinProp(window, prop::OldState) == state;
}

using BoxMarkDrawer =
    void (*)(HDC windowDC, int windowHeight, int cw, int ch, int state, bool enabled, LRESULT checkState);

// What the check-box and option-button painters share: the "OLDSTATE" test, the window's
// height, check state and enabled state, the system's mark size, and the window's own DC.
int PaintBoxMark(HWND window, int state, bool force, BoxMarkDrawer draw) {
    if (SkipUnchanged(window, state, force))
        return 0;
    SetSkinProp(window, prop::OldState, state);
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const LRESULT checkState = SendMessageW(window, BM_GETCHECK, 0, 0);
    ScopedWindowDC windowDC(window);
    draw(windowDC.get(), bounds.height, GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK), state,
         IsWindowEnabled(window) != FALSE, checkState);
    return 1;
}

}  // namespace

void DrawCheckBoxMark(HDC windowDC, int windowHeight, int cw, int ch, int state, bool enabled, LRESULT checkState) {
    ScopedSurface surface(cw, ch);
    HDC s = surface.get();
    if (!s)
        return;
    FillSolid(s, 0, 0, cw, ch, White);
    // The disabled look keeps the inside white and takes the pale marks from the columns to
    // the right of the enabled ones.
    if (enabled) {
        FrameSolid(s, 0, 0, cw, ch, state == 2 ? PressedFrameColour : FrameColour);
        if (state == 1)
            StretchBlt(s, 1, 1, cw - 2, ch - 2, SkinBitmaps.OptionSkin, 1, 17, 11, 5, SRCCOPY);
        if (state == 2)
            StretchBlt(s, 1, 1, cw - 2, ch - 2, SkinBitmaps.OptionSkin, 1, 30, 11, 5, SRCCOPY);
    } else {
        FrameSolid(s, 0, 0, cw, ch, DisabledFrameColour);
    }
    const int column = enabled ? 0 : 9;
    if (checkState == BST_CHECKED)
        TransparentBlit(s, HalveToEven(cw - 9), HalveToEven(ch - 8), 9, 8, SkinBitmaps.GlyphSkin, column, 0, KeyColour);
    if (checkState == BST_INDETERMINATE)
        TransparentBlit(s, HalveToEven(cw - 7), HalveToEven(ch - 7), 7, 7, SkinBitmaps.GlyphSkin, column + 1, 9,
                        KeyColour);
    BitBlt(windowDC, 0, HalveToEven(windowHeight - ch), cw, ch, s, 0, 0, SRCCOPY);
}

int PaintCheckBox(HWND window, int state, bool force) {
    return PaintBoxMark(window, state, force, DrawCheckBoxMark);
}

void DrawOptionMark(HDC windowDC, int windowHeight, int cw, int ch, int state, bool enabled, LRESULT checkState) {
    const int top = HalveToEven(windowHeight - ch);
    if (!enabled || (state >= 0 && state <= 2))
        BlitSkinPiece(windowDC, 0, top, cw, ch, SkinBitmaps.OptionSkin, 0, 13 * (enabled ? state : 3), 13, 13, 5, 5, 5,
                      5, KeyColour);
    if (checkState == BST_CHECKED) {
        // top + (ch - 5) / 2 rounded as a whole: rounding (ch - 5) / 2 alone and adding top
        // would differ when top is odd.
        const int dotY = HalveToEven(2 * top + ch - 5);
        TransparentBlit(windowDC, HalveToEven(cw - 5), dotY, 5, 5, SkinBitmaps.GlyphSkin, enabled ? 2 : 11, 18,
                        KeyColour);
    }
}

int PaintOptionButton(HWND window, int state, bool force) {
    // Straight onto the window (no surface of its own): the window's background shows through
    // the key-coloured corners of the circle.
    return PaintBoxMark(window, state, force, DrawOptionMark);
}

void PaintComboButton(HWND window, HDC dc, int& state, bool force) {
    if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0)
        state = 2;
    if (SkipUnchanged(window, state, force))
        return;
    // Simple combo boxes (no drop button) keep their own look.
    if ((GetWindowLongW(window, GWL_STYLE) & 0x2) == 0)
        return;
    SetSkinProp(window, prop::OldState, state);

    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const int bw = GetSystemMetrics(SM_CXVSCROLL) + 1;
    const int bh = bounds.height - 2;

    ScopedSurface surface(bw, bh);
    HDC s = surface.get();
    if (!s)
        return;
    if (state == 1)
        BlitSkinPiece(s, 0, 0, bw, bh, SkinBitmaps.ComboButtonSkin, 0, 0, 4, 18, 2, 1, 1, 1);
    else if (state == 2)
        BlitSkinPiece(s, 0, 0, bw, bh, SkinBitmaps.ComboButtonSkin, 4, 0, 4, 18, 2, 1, 1, 1);
    else
        FillSolid(s, 0, 0, bw, bh, White);
    const int arrowY = IsWindowEnabled(window) ? 0 : 4;
    TransparentBlit(s, HalveToEven(bw - 7), HalveToEven(bounds.height - 6), 7, 4, SkinBitmaps.ComboButtonSkin, 8,
                    arrowY, KeyColour);

    ScopedTargetDC target(window, dc);
    BitBlt(target.get(), bounds.width - bw - 1, 1, bw, bh, s, 0, 0, SRCCOPY);
}

int HeaderFaceSourceX(int state) {
    if (state == 1)
        return 3;
    if (state == 2)
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

int PaintHeaderItem(HWND window, HDC dc, int index, int state) {
    if (index < 0)
        return 0;
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    RECT item{};
    SendMessageW(window, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const int iw = item.right - item.left;

    ScopedSurface surface(iw, bounds.height);
    HDC s = surface.get();
    if (!s)
        return 0;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ScopedSelect fontSelect(s, font);
    SetBkMode(s, TRANSPARENT);

    BlitSkinPiece(s, 0, 0, iw, bounds.height, SkinBitmaps.HeaderSkin, HeaderFaceSourceX(state), 0, 3, 20, 1, 1, 1, 1);
    std::string caption = GetHeaderItemCaption(window, index);
    if (!caption.empty())
        DrawTextBox(s, caption, 0, 0, iw, bounds.height, HeaderCaptionFormat);

    ScopedTargetDC target(window, dc);
    BitBlt(target.get(), item.left, 0, iw, item.bottom - item.top, s, 0, 0, SRCCOPY);
    return 0;
}
