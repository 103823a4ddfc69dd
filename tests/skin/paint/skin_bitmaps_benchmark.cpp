// Prints how long building (and releasing) the five skin bitmaps takes.
//   skin_bitmaps_benchmark [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "paint/primitives.h"
#include "paint/skin_bitmaps.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto micros = [&](LONGLONG ticks) { return 1e6 * static_cast<double>(ticks) / frequency.QuadPart; };

    BuildSkinBitmaps();  // the first build also loads the display driver
    ReleaseSkinBitmaps();

    std::vector<double> builds, releases, surfaces;
    for (int i = 0; i < rounds; ++i) {
        // The five surfaces alone, without their pixels: what the display context costs.
        LARGE_INTEGER s0, s1;
        QueryPerformanceCounter(&s0);
        HDC made[5] = {CreateSurface(7, 84), CreateSurface(15, 18), CreateSurface(18, 24), CreateSurface(13, 52),
                       CreateSurface(9, 20)};
        QueryPerformanceCounter(&s1);
        for (HDC surface : made)
            ReleaseSurface(surface);
        surfaces.push_back(micros(s1.QuadPart - s0.QuadPart));

        LARGE_INTEGER a, b, c;
        QueryPerformanceCounter(&a);
        BuildSkinBitmaps();
        QueryPerformanceCounter(&b);
        ReleaseSkinBitmaps();
        QueryPerformanceCounter(&c);
        builds.push_back(micros(b.QuadPart - a.QuadPart));
        releases.push_back(micros(c.QuadPart - b.QuadPart));
    }
    auto report = [&](const char* what, std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double t : v)
            sum += t;
        std::printf("%-22s mean %8.1f us  median %8.1f us  min %8.1f us  max %8.1f us\n", what, sum / v.size(),
                    v[v.size() / 2], v.front(), v.back());
    };
    std::printf("%d rounds; 5 surfaces, 2146 pixel writes per build\n", rounds);
    report("BuildSkinBitmaps", builds);
    report("ReleaseSkinBitmaps", releases);
    report("5 x CreateSurface", surfaces);
    return 0;
}
