// Where a full composition's time goes: each step of the month view's paint timed on its own,
// over and over on the off-screen surface (fill, weekday row, header, the measuring of "88",
// the layout, the buttons, the day classification over 500 entries (and apart, with the marks
// kept with a list of 500 one-off or 500 repeating entries, as a paint finds them), the marked boxes, the
// day numbers one call per colour, today's box, the clock, the blit), against the whole
// composition as the program does it; without and with the halo a background image brings.
// The default settings (digital clock); 340 x 340 and 1920 x 1200.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/clock_layout.h"
#include "app/clock_paint_win.h"
#include "app/month_layout.h"
#include "app/month_paint_win.h"
#include "app/view_text_win.h"
#include "calendar/dayclass.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "schedule/entry_dates.h"
#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_month.h"
#include "tests/bench/bench_timer.h"

namespace {

constexpr int kWeeklang = 0, kMonthlang = 1, kCmode = 1;  // the defaults

struct Step {
    const char* name;
    double ms;
};

void run(int w, int h, bool halo, int rounds, bool print = true) {
    surface_create(w, h);
    BlitTarget target(w, h);
    HDC dc = surface_dc();
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const CellRect area = {0, 0, w, h};
    MonthView v = bench_month_view();
    v.clock_shown = true;
    v.halo = halo;
    v.area = area;
    const MonthFrame f = month_frame(area, 1, kWeeklang);
    std::vector<ScheduleEntry> list(kMaxEntries);
    fill_marked_entries(list.data(), kMaxEntries);
    static ScheduleList one_off, repeating;
    fill_bench_marked_entries(&one_off, kMaxEntries);
    fill_bench_repeating_entries(&repeating, kMaxEntries);
    DayClass cls[31];
    const int n = classify_month(2009, 5, month_marks(list.data(), kMaxEntries, 2009, 5), nullptr, kCmode, cls);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_CENTER | TA_TOP);

    SIZE digits = {0, 0};
    {
        const HGDIOBJ old = SelectObject(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
        GetTextExtentPoint32A(dc, "88", 2, &digits);
        SelectObject(dc, old);
    }
    MonthGrid g;
    month_grid(f, w, digits.cx, digits.cy, 2009, 5, &g);
    char text[64];

    std::vector<Step> steps;
    auto time = [&](const char* name, auto fn) { steps.push_back({name, fastest_ms(rounds, fn)}); };
    time("fill", [&] { surface_fill(window); });
    time("weekday row (font, 7 names)", [&] {
        const HGDIOBJ old = SelectObject(dc, view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height));
        for (int i = 0; i < 7; ++i) {
            SetTextColor(dc, i == 0 ? RGB(255, 0, 0) : i == 6 ? RGB(0, 0, 255) : RGB(0, 0, 0));
            draw_text_halo(dc, f.weekday_x[i], f.weekday_y, weekday_label(kWeeklang, i), halo);
        }
        SelectObject(dc, old);
    });
    time("header (day font, text)", [&] {
        const HGDIOBJ old = SelectObject(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
        format_month_header(text, sizeof text, kMonthlang, 2009, 5, 0);
        draw_text_halo(dc, f.header_x, f.header_y, text, halo);
        SelectObject(dc, old);
    });
    time("measure \"88\"", [&] {
        const HGDIOBJ old = SelectObject(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
        GetTextExtentPoint32A(dc, "88", 2, &digits);
        SelectObject(dc, old);
    });
    time("frame and grid layout", [&] {
        const MonthFrame again = month_frame(area, 1, kWeeklang);
        month_grid(again, w, digits.cx, digits.cy, 2009, 5, &g);
    });
    time("two month buttons", [&] {
        draw_arrow_in_rect(dc, g.cells.left_arrow, 0, 0);
        draw_arrow_in_rect(dc, g.cells.right_arrow, 1, 0);
    });
    time("classify the month, 500 entries", [&] { classify_month(2009, 5, month_marks(list.data(), kMaxEntries, 2009, 5), nullptr, kCmode, cls); });
    // As a paint does it: the marks kept with the list since the last paint of the month
    // (printed apart: the composition classifies once).
    const double kept_one_off = fastest_ms(rounds, [&] {
        classify_month(2009, 5, schedule_month_marks(one_off, 2009, 5), nullptr, kCmode, cls);
    });
    const double kept_repeating = fastest_ms(rounds, [&] {
        classify_month(2009, 5, schedule_month_marks(repeating, 2009, 5), nullptr, kCmode, cls);
    });
    time("marked boxes (pen, brush each)", [&] {
        for (int d = 0; d < n; ++d) {
            if (!cls[d].draw_box) continue;
            const CellRect& c = g.drawn[d];
            HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOW));
            HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
            const HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, brush);
            Rectangle(dc, c.left, c.top, c.right, c.bottom);
            SelectObject(dc, op);
            SelectObject(dc, ob);
            DeleteObject(pen);
            DeleteObject(brush);
        }
    });
    uint32_t colours[31] = {};
    for (int d = 0; d < n; ++d) colours[d] = cls[d].color;
    // As the program writes them: one call per colour (with the halo, each call nine times).
    time("day numbers (a call per colour)", [&] {
        const HGDIOBJ old = SelectObject(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
        draw_day_numbers(dc, g, colours, halo);
        SelectObject(dc, old);
    });
    time("today's box", [&] {
        const CellRect& c = g.drawn[19];
        HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
        const HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, c.left, c.top, c.right, c.bottom);
        SelectObject(dc, op);
        SelectObject(dc, ob);
        DeleteObject(pen);
    });
    time("clock (digital)", [&] {
        RECT cr, tr;
        paint_clock(dc, settings, f, w, 10, 10, 0, halo, w, h, &cr, &tr);
    });
    time("blit", [&] { surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY); });

    MonthPaintResult r;
    const double whole = fastest_ms(rounds, [&] {
        surface_fill(window);
        paint_month(dc, w, h, v, &r);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    });
    surface_destroy();
    if (!print) return;
    double sum = 0;
    for (const Step& s : steps) sum += s.ms;
    std::printf("%4d x %4d %s: whole composition %.3f ms, sum of the steps %.3f ms, fill + blit %.3f ms\n", w, h,
                halo ? "with halo" : "no halo", whole, sum, steps.front().ms + steps.back().ms);
    for (const Step& s : steps)
        std::printf("    %-34s %8.4f ms  %5.1f%%\n", s.name, s.ms, 100.0 * s.ms / sum);
    std::printf("    classify with the kept marks: 500 one-off %.4f ms, 500 repeating %.4f ms\n", kept_one_off,
                kept_repeating);
    std::fflush(stdout);
}

}  // namespace

int main() {
    settings_defaults(&settings, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    fill_bench_marked_entries(&schedule, kMaxEntries);
    clock_tables_fill();
    run(340, 340, false, 100, false);  // warm-up: the first fonts and glyphs
    std::printf("steps of one composition, fastest of 5 batches each, %d entries\n", kMaxEntries);
    run(340, 340, false, 200);
    run(340, 340, true, 200);
    run(1920, 1200, false, 20);
    run(1920, 1200, true, 20);
    return 0;
}
