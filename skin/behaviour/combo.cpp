// Combo boxes and drive lists: a flat two-colour frame and a skinned drop button with normal,
// hover and pressed looks. The list and edit parts stay the system's.
#include <string>

#include "skin/behaviour/families.h"
#include "skin/engine/control_kind.h"
#include "skin/engine/hover_tracking.h"
#include "skin/engine/window_info.h"
#include "skin/engine/window_props.h"
#include "skin/paint/control_painters.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_colours.h"

namespace {

bool IsDriveList(HWND window) {
    const std::string lowerClass = GetLowerClassName(window);
    return lowerClass == "thunderdrivelistbox" || lowerClass == "thunderrt6drivelistbox";
}

// Style bit 0 is set for simple (1) and drop-down-list (3) combo boxes, which react over their
// whole area; a drop-down combo box (2) has an edit field and reacts only over its button.
// Drive lists always react over their whole area.
bool ReactsEverywhere(HWND window) {
    return IsDriveList(window) || (GetWindowLongW(window, GWL_STYLE) & 1) != 0;
}

// With w, h the window's size and c the scroll-bar width: w - c - 2 <= x <= w - 2 and
// 2 <= y <= h - 2, all inclusive, with x and y the signed 16-bit words of lParam.
bool InDropButtonZone(HWND window, LPARAM lParam) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const int c = GetSystemMetrics(SM_CXVSCROLL);
    const int x = LoWord(lParam), y = HiWord(lParam);
    return x >= bounds.width - c - 2 && x <= bounds.width - 2 && y >= 2 && y <= bounds.height - 2;
}

void DrawButton(HWND window, int state) {
    PaintComboButton(window, nullptr, state, false);
}

COLORREF EnabledFrameColour(HWND window) {
    return IsWindowEnabled(window) ? FrameColour : DisabledFrameColour;
}

}  // namespace

LRESULT ComboOnPaint(SKIN_HANDLER_ARGS) {
    WindowBounds bounds;
    if (!ReactsEverywhere(window)) {
        // The edit field draws itself; the skin draws everything else of the box.
        ScopedPaint paint(window);
        GetWindowBounds(window, bounds);
        FillSolid(paint.get(), 0, 0, bounds.width, bounds.height, White);
        FrameSolid(paint.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(window));
        int state = static_cast<int>(GetSkinProp(window, prop::OldState));
        PaintComboButton(window, paint.get(), state, true);
        return 0;
    }
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    GetWindowBounds(window, bounds);
    ScopedWindowDC windowDC(window);
    FrameSolid(windowDC.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(window));
    FrameSolid(windowDC.get(), 1, 1, bounds.width - 2, bounds.height - 2, White);
    int state = static_cast<int>(GetSkinProp(window, prop::OldState));
    PaintComboButton(window, windowDC.get(), state, true);
    return result;
}

LRESULT ComboOnMouseMove(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    BeginMouseStay(window);
    const int active = (wParam & MK_LBUTTON) ? 2 : 1;
    if (ReactsEverywhere(window))
        DrawButton(window, active);
    else
        DrawButton(window, InDropButtonZone(window, lParam) ? active : 0);
    return result;
}

LRESULT ComboOnLButtonDown(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (ReactsEverywhere(window) || InDropButtonZone(window, lParam))
        DrawButton(window, 2);
    return result;
}

LRESULT ComboOnLButtonUp(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    POINT cursor{};
    GetCursorPos(&cursor);
    DrawButton(window, WindowFromPoint(cursor) == window ? 1 : 0);
    return result;
}

LRESULT ComboOnMouseLeave(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    SetSkinProp(window, prop::MouseFlag, 0);
    DrawButton(window, 0);
    return result;
}

LRESULT ComboOnWindowPosChanging(SKIN_HANDLER_ARGS) {
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    DrawButton(window, 0);
    return result;
}
