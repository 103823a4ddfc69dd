#include "skin/paint/button_faces.h"

#include "skin/engine/window_info.h"
#include "skin/engine/window_props.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_bitmaps.h"
#include "skin/paint/skin_colours.h"

namespace {

// Inset of caption and focus box from the window's outer edge.
constexpr int CaptionInset = 2;
constexpr UINT CaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
// One ButtonSkin frame per state, stacked from the top.
constexpr int SkinFrameWidth = 7;
constexpr int SkinFrameHeight = 21;
constexpr int SkinFrameBorder = 3;

constexpr int DisabledState = 3;

}  // namespace

void RenderButtonFaces(HWND window) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    std::string caption = GetWindowCaption(window);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    bool focused = GetFocus() == window;
    int textWidth = bounds.width - 2 * CaptionInset;
    int textHeight = bounds.height - 2 * CaptionInset;

    for (int state = 0; state < 4; ++state) {
        auto face = reinterpret_cast<HDC>(GetSkinProp(window, prop::FaceDc[state]));
        if (!face)
            continue;
        // The window's font must not stay selected into a DC that outlives this call: its owner
        // may delete it at any time.
        ScopedSelect selectedFont(face, font);
        SetBkMode(face, TRANSPARENT);
        BlitSkinPiece(face, 0, 0, bounds.width, bounds.height, SkinBitmaps.ButtonSkin, 0, SkinFrameHeight * state,
                      SkinFrameWidth, SkinFrameHeight, SkinFrameBorder, SkinFrameBorder, SkinFrameBorder,
                      SkinFrameBorder);
        SetTextColor(face, state == DisabledState ? DisabledTextColour : 0x00000000);
        DrawTextBox(face, caption, CaptionInset, CaptionInset, textWidth, textHeight, CaptionFormat);
        if (focused)
            DrawFocusBox(face, CaptionInset, CaptionInset, textWidth, textHeight);
    }
}

void BlendButtonFace(HWND window, HDC dc) {
    if (!IsWindowEnabled(window))
        SetSkinProp(window, prop::OldState, DisabledState);
    if (GetSkinProp(window, prop::OldStyle) & 6)
        return;

    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    INT_PTR state = GetSkinProp(window, prop::OldState);
    INT_PTR level = GetSkinProp(window, prop::AlphaLevel);
    if (state < 0 || state > 3)
        return;
    auto face = reinterpret_cast<HDC>(GetSkinProp(window, prop::FaceDc[state]));
    if (!face)
        return;

    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = static_cast<BYTE>(level < 0 ? 0 : (level > 255 ? 255 : level));
    blend.AlphaFormat = 0;  // no per-pixel alpha: the faces are opaque
    ScopedTargetDC target(window, dc);
    AlphaBlend(target.get(), 0, 0, bounds.width, bounds.height, face, 0, 0, bounds.width, bounds.height, blend);
}
