// Times one full paint of a month with 500 schedule entries, a clock-only repaint, and the
// bare cost of one surface fill plus one blit of the same size, at 340 x 340 and
// 1920 x 1200; prints the times and the ratios to the bare fill and blit.
#include <windows.h>

#include <cstdio>

#include "app/clock_layout.h"
#include "app/month_paint_win.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "schedule/entry.h"
#include "tests/bench/bench_month.h"
#include "tests/bench/bench_timer.h"

namespace {

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

void run(int w, int h, int rounds) {
    surface_create(w, h);
    BlitTarget target(w, h);
    MonthView v = bench_month_view();
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
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    const double clock = time_ms(rounds, [&] {
        surface_fill(window);
        v.clock_only = true;
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    std::printf("%4d x %4d  fill+blit %8.3f ms  full paint %8.3f ms (%.2fx)  clock only %8.3f ms (%.2fx)\n",
                w, h, bare, full, full / bare, clock, clock / bare);
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
    std::printf("paint benchmark, %d schedule entries, analog clock\n", schedulecount);
    run(340, 340, 200);
    run(1920, 1200, 40);
    // The same without entries: what the day classification adds.
    schedulecount = 0;
    std::printf("without entries\n");
    run(340, 340, 200);
    return 0;
}
