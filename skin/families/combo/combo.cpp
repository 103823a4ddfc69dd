#include "families/combo/combo.h"

#include <memory>
#include <string>

#include "engine/hover_tracking.h"
#include "engine/window_info.h"
#include "engine/window_props.h"
#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"
#include "paint/skin_colours.h"
#include "win/gdi_handles.h"

namespace {

struct ComboData : FamilyData {
    bool drive_list = false;
};

// Style bit 0 is set for simple (1) and drop-down-list (3) combo boxes, which react over their
// whole area; a drop-down combo box (2) has an edit field and reacts only over its button.
// Drive lists always react over their whole area.
bool ReactsEverywhere(const SkinnedWindow& window) {
    return DataOf<ComboData>(window)->drive_list || (GetWindowLongW(window.hwnd, GWL_STYLE) & 1) != 0;
}

// The button's rectangle less its top row, with x and y the signed 16-bit words of lParam.
bool InDropButtonZone(HWND window, LPARAM l_param) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const RECT button = DropButtonRect(bounds.width, bounds.height);
    const int x = LoWord(l_param), y = HiWord(l_param);
    return x >= button.left && x < button.right && y > button.top && y < button.bottom;
}

void DrawButton(HWND window, int state) {
    RedrawComboButton(window, nullptr, state, false);
}

COLORREF EnabledFrameColour(HWND window) {
    return IsWindowEnabled(window) ? kFrameColour : kDisabledFrameColour;
}

void Attach(SkinnedWindow& window) {
    auto data = std::make_unique<ComboData>();
    const std::string lower_class = GetLowerClassName(window.hwnd);
    data->drive_list = lower_class == "thunderdrivelistbox" || lower_class == "thunderrt6drivelistbox";
    window.data = std::move(data);
    AddMouseLookProps(window.hwnd);
}

void Detach(SkinnedWindow& window) {
    RemoveMouseLookProps(window.hwnd);
}

LRESULT OnPaint(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    HWND hwnd = window.hwnd;
    WindowBounds bounds;
    if (!ReactsEverywhere(window)) {
        // The edit field draws itself; the skin draws everything else of the box.
        ScopedPaint paint(hwnd);
        GetWindowBounds(hwnd, bounds);
        FillSolid(paint.get(), 0, 0, bounds.width, bounds.height, kWhite);
        FrameSolid(paint.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(hwnd));
        int state = static_cast<int>(GetSkinProp(hwnd, prop::kOldState));
        RedrawComboButton(hwnd, paint.get(), state, true);
        return 0;
    }
    LRESULT result = PassOn(window, message, w_param, l_param);
    if (!StillSkinned(window))
        return result;
    GetWindowBounds(hwnd, bounds);
    ScopedWindowDC window_dc(hwnd);
    FrameSolid(window_dc.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(hwnd));
    FrameSolid(window_dc.get(), 1, 1, bounds.width - 2, bounds.height - 2, kWhite);
    int state = static_cast<int>(GetSkinProp(hwnd, prop::kOldState));
    RedrawComboButton(hwnd, window_dc.get(), state, true);
    return result;
}

LRESULT Handle(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    HWND hwnd = window.hwnd;
    switch (message) {
        case WM_PAINT:
            return OnPaint(window, message, w_param, l_param);
        case WM_MOUSEMOVE:
            return PassOnThen(window, message, w_param, l_param, [&] {
                BeginMouseStay(hwnd);
                const int active = (w_param & MK_LBUTTON) ? kPressedLook : kHoverLook;
                const bool over = ReactsEverywhere(window) || InDropButtonZone(hwnd, l_param);
                DrawButton(hwnd, over ? active : kNormalLook);
            });
        case WM_LBUTTONDOWN:
            return PassOnThen(window, message, w_param, l_param, [&] {
                if (ReactsEverywhere(window) || InDropButtonZone(hwnd, l_param))
                    DrawButton(hwnd, kPressedLook);
            });
        case WM_LBUTTONUP:
            return PassOnThen(window, message, w_param, l_param, [&] {
                POINT cursor{};
                GetCursorPos(&cursor);
                DrawButton(hwnd, WindowFromPoint(cursor) == hwnd ? kHoverLook : kNormalLook);
            });
        case WM_MOUSELEAVE:
            return PassOnThen(window, message, w_param, l_param, [&] {
                SetSkinProp(hwnd, prop::kMouseFlag, 0);
                DrawButton(hwnd, kNormalLook);
            });
        case WM_WINDOWPOSCHANGING:
            return PassOnThen(window, message, w_param, l_param, [&] { DrawButton(hwnd, kNormalLook); });
        default:
            return PassOn(window, message, w_param, l_param);
    }
}

}  // namespace

const Family kComboFamily = {Attach, Detach, Handle};

RECT DropButtonRect(int width, int height) {
    // One scroll-bar width and one pixel, inside the one-pixel frame.
    const int button_width = GetSystemMetrics(SM_CXVSCROLL) + 1;
    return RECT{width - button_width - 1, 1, width - 1, height - 1};
}

void RedrawComboButton(HWND window, HDC dc, int& state, bool force) {
    if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0)
        state = kPressedLook;
    if (!force && GetSkinProp(window, prop::kOldState) == state)
        return;
    // Simple combo boxes (no drop button) keep their own look.
    if ((GetWindowLongW(window, GWL_STYLE) & 0x2) == 0)
        return;
    SetSkinProp(window, prop::kOldState, state);
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    ScopedTargetDC target(window, dc);
    PaintComboButton(target.get(), DropButtonRect(bounds.width, bounds.height), bounds.height, state,
                     IsWindowEnabled(window) != FALSE);
}

void PaintComboButton(HDC dc, const RECT& button, int window_height, int state, bool enabled) {
    const int bw = button.right - button.left;
    const int bh = button.bottom - button.top;
    ScopedSurface surface(bw, bh);
    HDC s = surface.get();
    if (!s)
        return;
    if (state == kHoverLook)
        BlitSkinPiece(s, 0, 0, bw, bh, SkinBitmaps().combo_button_skin, 0, 0, 4, 18, 2, 1, 1, 1);
    else if (state == kPressedLook)
        BlitSkinPiece(s, 0, 0, bw, bh, SkinBitmaps().combo_button_skin, 4, 0, 4, 18, 2, 1, 1, 1);
    else
        FillSolid(s, 0, 0, bw, bh, kWhite);
    const int arrow_y = enabled ? 0 : 4;
    TransparentBlit(s, HalveToEven(bw - 7), HalveToEven(window_height - 6), 7, 4, SkinBitmaps().combo_button_skin, 8,
                    arrow_y, kKeyColour);
    BitBlt(dc, button.left, button.top, bw, bh, s, 0, 0, SRCCOPY);
}
