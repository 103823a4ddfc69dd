#include "families/frames/frames.h"

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/window_info.h"
#include "paint/primitives.h"
#include "paint/skin_colours.h"
#include "win/gdi_handles.h"

namespace {

// The outline drawn over the client paint, decided from the class name at attach.
enum class Outline { kNone, kList, kGrid };

struct FramesData : FamilyData {
    Outline outline = Outline::kNone;
    bool data_list = false;  // data lists keep the system's non-client area
};

bool IsDataList(const std::string& lower_class) {
    return lower_class == "datalistwndclass" || lower_class == "dblistwndclass";
}

bool IsGrid(const std::string& lower_class) {
    return lower_class.starts_with("apexgrid");
}

COLORREF EnabledFrameColour(HWND window) {
    return IsWindowEnabled(window) ? kFrameColour : kDisabledFrameColour;
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
    ScopedWindowDC window_dc(window);
    ScopedWindowDC client_dc(window, ScopedWindowDC::kClientArea);
    FrameSolid(window_dc.get(), 0, 0, w, h, EnabledFrameColour(window));
    for (int d = 1; d <= bx; ++d) {
        COLORREF background = GetBkColor(client_dc.get());
        FrameSolid(window_dc.get(), d, d, w - 1 - d, h - 1 - d, background);
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
    FillSolid(s, 0, 0, w, h, kFrameColour);
    FillSolid(s, 1, 1, w - 2, h - 2, kWhite);
    if (f != 0.0f) {
        if (style & PBS_VERTICAL) {
            if (style & PBS_SMOOTH)
                FillSolid(s, bx, by, cw, ch, kProgressFillColour);
            FillSolid(s, bx, by, cw, Remainder(f, ch), kWhite);
        } else {
            FillSolid(s, bx, by, Scaled(f, cw), ch, kProgressFillColour);
        }
    }
    ScopedWindowDC window_dc(bar);
    BitBlt(window_dc.get(), 0, 0, w, h, s, 0, 0, SRCCOPY);
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
    FillSolid(s, 0, 0, cw, ch, kWhite);
    if (f != 0.0f) {
        if (style & PBS_VERTICAL) {
            // The done part runs down to the bottom edge. Its height is not rounded on its own:
            // with an odd height and a length ending in a half, both roundings go down to the
            // even neighbour and would leave a white line under the bar.
            const int top = Remainder(f, ch);
            FillSolid(s, 0, top, cw, ch - top, kProgressFillColour);
        } else {
            FillSolid(s, 0, 0, Scaled(f, cw), ch, kProgressFillColour);
        }
    }
    ScopedPaint paint(bar);
    BitBlt(paint.get(), 0, 0, cw, ch, s, 0, 0, SRCCOPY);
}

void Attach(SkinnedWindow& window) {
    auto data = std::make_unique<FramesData>();
    const std::string lower_class = GetLowerClassName(window.hwnd);
    data->data_list = IsDataList(lower_class);
    if (data->data_list || lower_class == "combolbox")
        data->outline = Outline::kList;
    else if (IsGrid(lower_class))
        data->outline = Outline::kGrid;
    window.data = std::move(data);
}

void Detach(SkinnedWindow&) {}

// Over what the window painted itself: the outline of a list, or of a grid that has a border.
void DrawOutline(HWND hwnd, Outline outline) {
    const bool grid_border = outline == Outline::kGrid && (GetWindowLongW(hwnd, GWL_STYLE) & WS_BORDER);
    if (outline != Outline::kList && !grid_border)
        return;
    WindowBounds bounds;
    GetWindowBounds(hwnd, bounds);
    ScopedWindowDC window_dc(hwnd);
    FrameSolid(window_dc.get(), 0, 0, bounds.width, bounds.height, EnabledFrameColour(hwnd));
    if (outline == Outline::kList)
        FrameSolid(window_dc.get(), 1, 1, bounds.width - 2, bounds.height - 2, kWhite);
}

LRESULT OnPaint(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    if (window.kind == ControlKind::kProgress) {
        PaintProgressBar(window.hwnd);
        return 0;
    }
    return PassOnThen(window, message, w_param, l_param,
                      [&] { DrawOutline(window.hwnd, DataOf<FramesData>(window)->outline); });
}

LRESULT Handle(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    switch (message) {
        case WM_PAINT:
            return OnPaint(window, message, w_param, l_param);
        default:
            return PassOn(window, message, w_param, l_param);
    }
}

}  // namespace

const Family kFramesFamily = {Attach, Detach, Handle};

LRESULT DrawFramesOnNcPaint(SkinnedWindow& window, UINT message, WPARAM w_param, LPARAM l_param) {
    if (window.kind == ControlKind::kProgress) {
        DrawProgressFrame(window.hwnd);
        return 0;
    }
    return PassOnThen(window, message, w_param, l_param, [&] {
        // Windows of the other families carry their own data, never FramesData.
        const auto* data = dynamic_cast<const FramesData*>(window.data.get());
        if ((!data || !data->data_list) && (GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
            DrawClientEdgeBorder(window.hwnd);
    });
}
