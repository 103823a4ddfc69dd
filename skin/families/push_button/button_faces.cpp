#include "families/push_button/button_faces.h"

#include "engine/window_info.h"
#include "engine/window_props.h"
#include "paint/pixel_blend.h"
#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win/gdi_handles.h"

namespace {

// Inset of caption and focus box from the window's outer edge.
constexpr int kCaptionInset = 2;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
// One ButtonSkin frame per state, stacked from the top.
constexpr int kSkinFrameWidth = 7;
constexpr int kSkinFrameHeight = 21;
constexpr int kSkinFrameBorder = 3;
constexpr int kDisabledState = 3;

bool ValidState(int state) {
    return state >= 0 && state < kButtonStateCount;
}

}  // namespace

void PaintButtonFace(HDC face, int width, int height, int state, const std::string& caption, HFONT font, bool focused) {
    // The window's font must not stay selected into a DC that outlives this call: its owner
    // may delete it at any time.
    ScopedSelect selected_font(face, font);
    SetBkMode(face, TRANSPARENT);
    BlitSkinPiece(face, 0, 0, width, height, SkinBitmaps().button_skin, 0, kSkinFrameHeight * state, kSkinFrameWidth,
                  kSkinFrameHeight, kSkinFrameBorder, kSkinFrameBorder, kSkinFrameBorder, kSkinFrameBorder);
    SetTextColor(face, state == kDisabledState ? kDisabledTextColour : 0x00000000);
    const int text_width = width - 2 * kCaptionInset;
    const int text_height = height - 2 * kCaptionInset;
    DrawTextBox(face, caption, kCaptionInset, kCaptionInset, text_width, text_height, kCaptionFormat);
    if (focused)
        DrawFocusBox(face, kCaptionInset, kCaptionInset, text_width, text_height);
}

bool ButtonFaces::Resize(int width, int height) {
    bool made = shown_.Resize(width, height);
    for (DibSurface& face : faces_)
        made = face.Resize(width, height) && made;
    return made;
}

void ButtonFaces::Render(HWND window) {
    const std::string caption = GetWindowCaption(window);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const bool focused = GetFocus() == window;
    for (int state = 0; state < kButtonStateCount; ++state) {
        DibSurface& face = faces_[state];
        if (face)
            PaintButtonFace(face.dc(), face.width(), face.height(), state, caption, font, focused);
    }
    GdiFlush();
}

void ButtonFaces::Release() {
    for (DibSurface& face : faces_)
        face.Release();
    shown_.Release();
}

void ButtonFaces::Publish(HWND window) const {
    for (int state = 0; state < kButtonStateCount; ++state) {
        SetSkinProp(window, prop::kFaceDc[state], reinterpret_cast<INT_PTR>(faces_[state].dc()));
        SetSkinProp(window, prop::kFaceBitmap[state], reinterpret_cast<INT_PTR>(faces_[state].bitmap()));
    }
}

void ButtonFaces::Withdraw(HWND window) {
    for (int state = 0; state < kButtonStateCount; ++state) {
        RemoveSkinProp(window, prop::kFaceDc[state]);
        RemoveSkinProp(window, prop::kFaceBitmap[state]);
    }
}

void ButtonFaces::BlendOnto(HDC dc, int state, int level) {
    if (!ValidState(state))
        return;
    const DibSurface& face = faces_[state];
    if (!face || !shown_ || face.width() != shown_.width() || face.height() != shown_.height())
        return;
    BlendPixels(shown_.bits(), face.bits(), shown_.pixel_count(), level);
    Present(dc);
}

void ButtonFaces::ShowFace(int state) {
    if (ValidState(state))
        shown_.CopyFrom(faces_[state]);
}

void ButtonFaces::Present(HDC dc) const {
    if (shown_)
        BitBlt(dc, 0, 0, shown_.width(), shown_.height(), shown_.dc(), 0, 0, SRCCOPY);
}
