// Times one full paint of a month, a clock-only repaint, and the bare cost of one surface
// fill plus one blit of the same size, at 340 x 340 and 1920 x 1200, with 500 schedule
// entries and without; prints the times and the ratios to the bare fill and blit. The view
// fonts are kept between paints, so the rounds after the first measure the steady state; the
// last line measures a paint that has to make its fonts anew (the face changes every round).
#include <windows.h>

#include <cstdio>

#include "app/clock_layout.h"
#include "app/month_paint_win.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "schedule/entry.h"
#include "tests/bench/bench_timer.h"

namespace {

bool g_new_face_every_paint = false;

// Alternates between two faces, so the kept fonts never match.
void next_face() {
    static bool other = false;
    other = !other;
    lstrcpyA(settings.fontname, other ? "ＭＳ ゴシック" : "ＭＳ Ｐゴシック");
}

void fill_list() {
    schedulecount = 0;
    for (int i = 0; i < kMaxEntries; ++i) {
        ScheduleEntry& e = schedule_list[schedulecount++];
        entry_blank(&e);
        e.year = (i % 3 == 0) ? -1 : 2009;
        e.month = 1 + i % 12;
        e.day = (i % 17 == 0) ? 98 : 1 + i % 28;
        e.holiday = (i % 5 == 0) ? 1 : 0;
    }
}

// The blit target: a second bitmap of the same size, standing in for the window.
struct Target {
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    Target(int w, int h) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
};

// The fastest of five batches of rounds: other work on the machine only ever adds time.
template <class F>
double time_ms(int rounds, F f) {
    f();  // warm up fonts and caches
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        const double t0 = now_ms();
        for (int i = 0; i < rounds; ++i) f();
        const double t = (now_ms() - t0) / rounds;
        if (t < best) best = t;
    }
    return best;
}

void run(int w, int h, int rounds, bool print = true) {
    surface_create(w, h);
    Target target(w, h);
    MonthView v = {};
    v.shown_year = 2009;
    v.shown_month = 5;
    v.today_year = 2009;
    v.today_month = 5;
    v.today_day = 20;
    v.now_hour = 10;
    v.now_minute = 10;
    v.clock_shown = true;
    MonthPaintResult r;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const double bare = time_ms(rounds, [&] {
        surface_fill(window);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    const double full = time_ms(rounds, [&] {
        surface_fill(window);
        v.clock_only = false;
        if (g_new_face_every_paint) next_face();
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    // A clock-only repaint reaches the window through a paint dc clipped to the clock's
    // rectangles, which the tick invalidated; the target is clipped the same way.
    v.clock_only = true;
    paint_month(surface_dc(), w, h, v, &r);
    IntersectClipRect(target.dc, r.clock_rect.left, r.clock_rect.top, r.clock_rect.right,
                      r.clock_rect.bottom);
    const double clock = time_ms(rounds, [&] {
        surface_fill(window);
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    SelectClipRgn(target.dc, nullptr);
    if (!print) {
        surface_destroy();
        return;
    }
    std::printf("%4d x %4d  fill+blit %8.3f ms  full paint %8.3f ms (%.2fx)  clock only %8.3f ms (%.2fx)\n",
                w, h, bare, full, full / bare, clock, clock / bare);
    std::fflush(stdout);
    surface_destroy();
}

}  // namespace

int main() {
    settings_defaults(1024, 768);
    settings.clock = 1;
    settings.analog = 1;
    settings.cmode = 1;
    fill_list();
    clock_tables_fill();
    run(340, 340, 200, false);  // the process's first surfaces, glyphs and fonts
    std::printf("paint benchmark, %d schedule entries, analog clock\n", schedulecount);
    run(340, 340, 200);
    run(1920, 1200, 40);
    // The same without entries: what the day classification adds.
    schedulecount = 0;
    std::printf("without entries\n");
    run(340, 340, 200);
    run(1920, 1200, 40);
    std::printf("fonts made anew every paint, without entries\n");
    g_new_face_every_paint = true;
    run(340, 340, 200);
    return 0;
}
