// Cost of the push-button fade: one fade tick (one blend of a 201 x 41 face onto the
// window) and one rendering of the four faces at that size. Prints figures; asserts nothing.
// Each figure is taken in several batches; the smallest batch is the least disturbed by other
// work on the machine, the median shows the usual cost.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "skin/engine/skin.h"
#include "skin/paint/button_faces.h"
#include "skin/paint/primitives.h"
#include "tests/skin_engine/test_support.h"
#include "tests/win_support/message_pump.h"

namespace {

struct Figure {
    double best;
    double median;
};

template <typename Work>
Figure MicrosecondsPerCall(int batches, int callsPerBatch, Work work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    work();  // the first call fills caches
    std::vector<double> perCall;
    for (int batch = 0; batch < batches; ++batch) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < callsPerBatch; ++i)
            work();
        QueryPerformanceCounter(&end);
        perCall.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                          static_cast<double>(frequency.QuadPart) / callsPerBatch);
    }
    std::sort(perCall.begin(), perCall.end());
    return {perCall.front(), perCall[perCall.size() / 2]};
}

void Print(const char* what, Figure figure) {
    std::printf("%-46s best %8.1f us   median %8.1f us\n", what, figure.best, figure.median);
}

}  // namespace

int main() {
    TestForm form;
    MakeTestForm(form);
    SetWindowPos(form.ok, nullptr, 0, 0, 201, 41, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SkinWindow(form.form);
    PumpMessages();
    HWND button = form.ok;
    SetPropA(button, "OLDSTATE", reinterpret_cast<HANDLE>(1));
    SetPropA(button, "ALPHALEVEL", reinterpret_cast<HANDLE>(128));

    Figure blend = MicrosecondsPerCall(9, 500, [&] { BlendButtonFace(button, nullptr); });
    // The same blend into a memory surface: the blend without taking and giving back the window DC.
    HDC surface = CreateSurface(201, 41);
    Figure blendOnly = MicrosecondsPerCall(9, 500, [&] { BlendButtonFace(button, surface); });
    ReleaseSurface(surface);
    Figure tick = MicrosecondsPerCall(9, 500, [&] {
        SetPropA(button, "TIMERID", nullptr);  // keep the fade from ending: the level stays mid-way
        SetPropA(button, "ALPHALEVEL", reinterpret_cast<HANDLE>(128));
        SendMessageW(button, WM_TIMER, 1, 0);
    });
    Figure render = MicrosecondsPerCall(9, 100, [&] { RenderButtonFaces(button); });

    std::printf("push button 201 x 41\n");
    Print("one fade tick: WM_TIMER through SkinWindowProc", tick);
    Print("BlendButtonFace onto the window", blend);
    Print("BlendButtonFace into a memory surface", blendOnly);
    Print("RenderButtonFaces (four faces)", render);
    UnskinWindow(form.form);
    return 0;
}
