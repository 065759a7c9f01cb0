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
#include "tests/bench/bench_month.h"
#include "tests/bench/bench_timer.h"
#include "tests/host/test_records.h"

namespace {

bool g_new_face_every_paint = false;

// Alternates between two faces, so the kept fonts never match.
void next_face() {
    static bool other = false;
    other = !other;
    lstrcpyA(settings.fontname, other ? "ＭＳ ゴシック" : "ＭＳ Ｐゴシック");
}

void fill_list() {
    schedule.count = 0;
    for (int i = 0; i < kMaxEntries; ++i) {
        ScheduleEntry& e = schedule.entries[schedule.count++];
        entry_blank(&e);
        e.year = (i % 3 == 0) ? -1 : 2009;
        e.month = 1 + i % 12;
        e.day = (i % 17 == 0) ? 98 : 1 + i % 28;
        e.holiday = (i % 5 == 0) ? 1 : 0;
    }
}

void run(int w, int h, int rounds, bool print = true) {
    surface_create(w, h);
    BlitTarget target(w, h);
    MonthView v = bench_month_view();
    v.clock_shown = true;
    MonthPaintResult r;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const double bare = fastest_ms(rounds, [&] {
        surface_fill(window);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    const double full = fastest_ms(rounds, [&] {
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
    const double clock = fastest_ms(rounds, [&] {
        surface_fill(window);
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    SelectClipRgn(target.dc, nullptr);
    surface_destroy();
    if (!print) return;
    std::printf("%4d x %4d  fill+blit %8.3f ms  full paint %8.3f ms (%.2fx)  clock only %8.3f ms (%.2fx)\n",
                w, h, bare, full, full / bare, clock, clock / bare);
    std::fflush(stdout);
}

}  // namespace

int main() {
    settings_defaults(&settings, 1024, 768);
    settings.clock = 1;
    settings.analog = 1;
    settings.cmode = 1;
    fill_list();
    clock_tables_fill();
    run(340, 340, 200, false);  // the process's first surfaces, glyphs and fonts
    std::printf("paint benchmark, %d schedule entries, analog clock\n", schedule.count);
    run(340, 340, 200);
    run(1920, 1200, 40);
    // The same without entries: what the day classification adds.
    schedule.count = 0;
    std::printf("without entries\n");
    run(340, 340, 200);
    run(1920, 1200, 40);
    std::printf("fonts made anew every paint, without entries\n");
    g_new_face_every_paint = true;
    run(340, 340, 200);
    return 0;
}
