// Cost of the push-button fade: one fade tick (one blend of a 201 x 41 face onto the
// window) and one rendering of the four faces at that size. Prints figures; asserts nothing;
// makes no property call of its own while it measures.
// Each figure is taken in several batches; the smallest batch is the least disturbed by other
// work on the machine, the median shows the usual cost.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "families/push_button/button_faces.h"
#include "paint/primitives.h"
#include "skin/skin.h"
#include "support/test_form.h"
#include "win_support/message_pump.h"
#include "win_support/mouse_tracking.h"

namespace {

struct Figure {
    double best;
    double median;
};

template <typename Work>
Figure MicrosecondsPerCall(int batches, int calls_per_batch, Work work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    work();  // the first call fills caches
    std::vector<double> per_call;
    for (int batch = 0; batch < batches; ++batch) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < calls_per_batch; ++i)
            work();
        QueryPerformanceCounter(&end);
        per_call.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                           static_cast<double>(frequency.QuadPart) / calls_per_batch);
    }
    std::sort(per_call.begin(), per_call.end());
    return {per_call.front(), per_call[per_call.size() / 2]};
}

void Print(const char* what, Figure figure) {
    std::printf("%-46s best %8.1f us   median %8.1f us\n", what, figure.best, figure.median);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        std::printf(
            "usage: skin_fade_benchmark.exe\n"
            "Prints the cost of one push-button fade tick at 201 x 41 (WM_TIMER sent through the\n"
            "skinned window procedure, exactly as the fade timer delivers it), of the blend alone\n"
            "and of rendering the four faces. Best and median of nine batches.\n");
        return 0;
    }
    TestForm form;
    MakeTestForm(form);
    SetWindowPos(form.ok, nullptr, 0, 0, 201, 41, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SkinWindow(form.form);
    PumpMessages();
    HWND button = form.ok;
    // A hover fade as the mouse starts it. The ticks below are sent, never pumped: a fade that
    // reaches full opacity starts over from 0 at the next tick, so every batch runs through
    // whole fades, the last tick of each (which stops the timer) included.
    RECT client;
    GetClientRect(button, &client);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
    const Figure tick = MicrosecondsPerCall(9, 860, [&] { SendMessageW(button, WM_TIMER, 1, 0); });

    ButtonFaces faces;
    faces.Resize(201, 41);
    faces.Render(button);
    HDC window_dc = GetWindowDC(button);
    const Figure blend = MicrosecondsPerCall(9, 500, [&] { faces.BlendOnto(window_dc, 1, 128); });
    ReleaseDC(button, window_dc);
    ScopedSurface surface(201, 41);
    const Figure blend_only = MicrosecondsPerCall(9, 500, [&] { faces.BlendOnto(surface.get(), 1, 128); });
    const Figure render = MicrosecondsPerCall(9, 100, [&] { faces.Render(button); });

    std::printf("push button 201 x 41\n");
    Print("one fade tick: WM_TIMER through SkinWindowProc", tick);
    Print("blend and copy onto the window DC", blend);
    Print("blend and copy into a memory surface", blend_only);
    Print("rendering the four faces", render);
    CancelLeaveTracking(button);
    UnskinWindow(form.form);
    return 0;
}
