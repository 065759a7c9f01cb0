// Wall-clock milliseconds for the benchmark programs, the average of repeated runs (or of the
// fastest batch of them), and a window-sized bitmap to blit into in place of a window.
#pragma once

#include <windows.h>

inline double now_ms() {
    static LARGE_INTEGER freq = {};
    if (freq.QuadPart == 0) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Average milliseconds of one call of f over rounds calls, after one call that warms up fonts
// and caches.
template <class F>
double time_ms(int rounds, F f) {
    f();
    const double t0 = now_ms();
    for (int i = 0; i < rounds; ++i) f();
    return (now_ms() - t0) / rounds;
}

// The fastest of five batches of rounds calls, as average milliseconds of one call: other
// work on the machine only ever adds time. One call first warms up fonts and caches.
template <class F>
double fastest_ms(int rounds, F f) {
    f();
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        const double t0 = now_ms();
        for (int i = 0; i < rounds; ++i) f();
        const double t = (now_ms() - t0) / rounds;
        if (t < best) best = t;
    }
    return best;
}

// Two things to compare, timed in alternating batches so that a change of load on the machine
// falls on both alike: the fastest batch of each, as average milliseconds of one call.
template <class F, class G>
void fastest_alternating_ms(int rounds, int batches, F f, G g, double* f_ms, double* g_ms) {
    f();
    g();
    *f_ms = *g_ms = 1e300;
    for (int batch = 0; batch < batches; ++batch) {
        double t0 = now_ms();
        for (int i = 0; i < rounds; ++i) f();
        const double tf = (now_ms() - t0) / rounds;
        t0 = now_ms();
        for (int i = 0; i < rounds; ++i) g();
        const double tg = (now_ms() - t0) / rounds;
        if (tf < *f_ms) *f_ms = tf;
        if (tg < *g_ms) *g_ms = tg;
    }
}

// The blit target: a bitmap of the window's size, standing in for the window.
struct BlitTarget {
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    BlitTarget(int w, int h) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
    }
    ~BlitTarget() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    BlitTarget(const BlitTarget&) = delete;
    BlitTarget& operator=(const BlitTarget&) = delete;
};
