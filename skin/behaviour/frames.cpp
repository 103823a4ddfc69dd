// Flat two-colour edges of skinned windows: the client-edge border of any window that has one,
// the outlines of data lists, drop-down lists and grids, and progress bars drawn whole.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cmath>
#include <string>

#include "skin/behaviour/families.h"
#include "skin/engine/control_kind.h"
#include "skin/engine/window_info.h"
#include "skin/paint/control_painters.h"
#include "skin/paint/gdi_handles.h"
#include "skin/paint/primitives.h"
#include "skin/paint/skin_colours.h"

namespace {

bool IsDataList(const std::string& lowerClass) {
    return lowerClass == "datalistwndclass" || lowerClass == "dblistwndclass";
}

bool IsGrid(const std::string& lowerClass) {
    return lowerClass.starts_with("apexgrid");
}

COLORREF EnabledFrameColour(HWND window) {
    return IsWindowEnabled(window) ? FrameColour : DisabledFrameColour;
}

// Position / 30000 in single precision. The volatile stores make every step round to single
// precision even where the compiler would keep x87 extended precision.
float ProgressFraction(HWND bar) {
    volatile float position = static_cast<float>(static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)));
    volatile float fraction = position / 30000.0f;
    return fraction;
}

// A single-precision length to whole pixels, halves to even (the default rounding mode).
int RoundPixels(float length) {
    return static_cast<int>(std::nearbyint(length));
}

int Scaled(float fraction, int extent) {
    volatile float product = fraction * static_cast<float>(extent);
    return RoundPixels(product);
}

// extent - fraction * extent, each step in single precision.
int Remainder(float fraction, int extent) {
    volatile float product = fraction * static_cast<float>(extent);
    volatile float rest = static_cast<float>(extent) - product;
    return RoundPixels(rest);
}

// After the system has drawn the non-client area: the outer ring in the frame colour, then bx
// rings in the client DC's background colour, all ending at (w - 1, h - 1).
void DrawClientEdgeBorder(HWND window) {
    int bx = 0, by = 0;
    GetBorderOffsets(window, bx, by);
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    const int w = bounds.width, h = bounds.height;
    ScopedWindowDC windowDC(window);
    ScopedWindowDC clientDC(window, ScopedWindowDC::ClientArea);
    FrameSolid(windowDC.get(), 0, 0, w, h, EnabledFrameColour(window));
    for (int d = 1; d <= bx; ++d) {
        COLORREF background = GetBkColor(clientDC.get());
        FrameSolid(windowDC.get(), d, d, w - 1 - d, h - 1 - d, background);
    }
}

// The non-client area of a progress bar: frame and, over the client part, the bar as the
// frame sees it, composed off-screen and copied in one blit.
void DrawProgressFrame(HWND bar) {
    int bx = 0, by = 0;
    GetBorderOffsets(bar, bx, by);
    WindowBounds bounds;
    GetWindowBounds(bar, bounds);
    const int w = bounds.width, h = bounds.height;
    RECT client{};
    GetClientRect(bar, &client);
    const int cw = client.right - client.left, ch = client.bottom - client.top;

    ScopedSurface surface(w, h);
    HDC s = surface.get();
    const float f = ProgressFraction(bar);
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    FillSolid(s, 0, 0, w, h, FrameColour);
    FillSolid(s, 1, 1, w - 2, h - 2, White);
    if (f != 0.0f) {
        if (style & PBS_VERTICAL) {
            if (style & PBS_SMOOTH)
                FillSolid(s, bx, by, cw, ch, ProgressFillColour);
            FillSolid(s, bx, by, cw, Remainder(f, ch), White);
        } else {
            FillSolid(s, bx, by, Scaled(f, cw), ch, ProgressFillColour);
        }
    }
    ScopedWindowDC windowDC(bar);
    BitBlt(windowDC.get(), 0, 0, w, h, s, 0, 0, SRCCOPY);
}

// The client area of a progress bar: one solid block on white, growing to the right or, for
// a vertical bar, upwards from the bottom.
void PaintProgressBar(HWND bar) {
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    RECT client{};
    GetClientRect(bar, &client);
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    ScopedSurface surface(cw, ch);
    HDC s = surface.get();
    const float f = ProgressFraction(bar);
    FillSolid(s, 0, 0, cw, ch, White);
    if (f != 0.0f) {
        if (style & PBS_VERTICAL) {
            // The done part runs down to the bottom edge. Its height is not rounded on its own:
            // with an odd height and a length ending in a half, both roundings go down to the
            // even neighbour and would leave a white line under the bar.
            const int top = Remainder(f, ch);
            FillSolid(s, 0, top, cw, ch - top, ProgressFillColour);
        } else {
            FillSolid(s, 0, 0, Scaled(f, cw), ch, ProgressFillColour);
        }
    }
    ScopedPaint paint(bar);
    BitBlt(paint.get(), 0, 0, cw, ch, s, 0, 0, SRCCOPY);
}

}  // namespace

LRESULT FramesOnNcPaint(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == ProgressKind) {
        DrawProgressFrame(window);
        return 0;
    }
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    if (IsDataList(GetLowerClassName(window)))
        return result;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
        DrawClientEdgeBorder(window);
    return result;
}

LRESULT FramesOnPaint(SKIN_HANDLER_ARGS) {
    if (ControlKindOf(window) == ProgressKind) {
        PaintProgressBar(window);
        return 0;
    }
    LRESULT result = PassOn(oldProc, window, message, wParam, lParam);
    if (!StillSkinned(window))
        return result;
    const std::string lowerClass = GetLowerClassName(window);
    if (IsDataList(lowerClass) || lowerClass == "combolbox") {
        WindowBounds bounds;
        GetWindowBounds(window, bounds);
        ScopedWindowDC windowDC(window);
        FrameSolid(windowDC.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(window));
        FrameSolid(windowDC.get(), 1, 1, bounds.width - 2, bounds.height - 2, White);
    } else if (IsGrid(lowerClass) && (GetWindowLongW(window, GWL_STYLE) & WS_BORDER)) {
        WindowBounds bounds;
        GetWindowBounds(window, bounds);
        ScopedWindowDC windowDC(window);
        FrameSolid(windowDC.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(window));
    }
    return result;
}
