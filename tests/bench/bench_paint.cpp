// Times one full paint of a month (in one pass, and in layers as the window composes it: the
// month, the picture kept under the clock, the clock), the repaint of a new time (the kept
// picture put back under the clock, the clock, a blit of its area), and the bare cost of one
// surface fill plus one blit of the same size, at 340 x 340 and 1920 x 1200, with 500 schedule
// entries and without; prints the times and the ratios to the bare fill and blit, timed in
// alternating batches so that the machine's load falls on both alike. The view
// fonts are kept between paints, so the rounds after the first measure the steady state; the
// last line measures a paint that has to make its fonts anew (the face changes every round).
// Then the same with the Japanese calendar's switches on: 六曜 and solar terms under the
// numbers, era years in the header and title.
//
// `bench_paint count <off|on> <entries> <rounds>` composes the 340 x 340 month in layers only
// that many times and prints nothing else: run under an instruction counter with two round
// counts, the difference is the cost of compositions alone, steadier than any clock on a
// shared machine:
//   valgrind --tool=callgrind --trace-children=yes wine64 bench_paint.exe count on 500 220
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/clock_layout.h"
#include "app/month_paint_win.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "schedule/entry.h"
#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_month.h"
#include "tests/bench/bench_timer.h"
#include "tests/host/test_records.h"

namespace {

bool g_new_face_every_paint = false;

constexpr int kSmall = 340;  // the side of the usual window's month

// Alternates between two faces, so the kept fonts never match.
void next_face() {
    static bool other = false;
    other = !other;
    lstrcpyA(settings.fontname, other ? "ＭＳ ゴシック" : "ＭＳ Ｐゴシック");
}

// What every composition here is made on: the off-screen surface of w x h, a target of the
// same size for its blit, the benchmark month with its clock, and the window colour.
struct Canvas {
    const int w, h;
    const bool made = surface_create(w, h) != nullptr;  // before the rest, as they are declared
    BlitTarget target{w, h};
    MonthView v = bench_month_view();
    MonthPaintResult r;
    const COLORREF window = GetSysColor(COLOR_WINDOW);

    Canvas(int width, int height) : w(width), h(height) { v.clock_shown = true; }
    ~Canvas() { surface_destroy(); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The month composed in layers as the window composes it, and copied out.
    void compose_in_layers() {
        surface_fill(window);
        v.clock_only = v.month_only = false;
        v.after_month = surface_keep;
        paint_month(surface_dc(), w, h, v, &r);
        v.after_month = nullptr;
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    }
};

void run(int w, int h, int rounds, bool print = true) {
    Canvas c(w, h);
    MonthView& v = c.v;
    MonthPaintResult& r = c.r;
    BlitTarget& target = c.target;
    const COLORREF window = c.window;
    auto fill_blit = [&] {
        surface_fill(window);
        surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
    };
    double bare = 0, full = 0, bare2 = 0, layered = 0;
    fastest_alternating_ms(
        rounds / 4, 20, fill_blit,
        [&] {
            surface_fill(window);
            v.clock_only = v.month_only = false;
            if (g_new_face_every_paint) next_face();
            paint_month(surface_dc(), w, h, v, &r);
            surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
        },
        &bare, &full);
    // As the window composes everything: the month, the picture kept under the clock, the
    // clock over it.
    fastest_alternating_ms(
        rounds / 4, 20, fill_blit,
        [&] {
            if (g_new_face_every_paint) next_face();
            c.compose_in_layers();
        },
        &bare2, &layered);
    if (bare2 < bare) bare = bare2;
    // A new time: the kept month back under the clock, the clock drawn, its area copied.
    v.clock_only = true;
    const double clock = fastest_ms(rounds, [&] {
        const RECT k = {r.clock_rect.left - 2, r.clock_rect.top - 2, r.clock_rect.right + 2,
                        r.clock_rect.bottom + 2};
        surface_restore_kept(k);
        paint_month(surface_dc(), w, h, v, &r);
        surface_blit_to(target.dc, k.left, k.top, k.right - k.left, k.bottom - k.top, k.left,
                        k.top, SRCCOPY);
    });
    if (!print) return;
    std::printf("%4d x %4d  fill+blit %7.3f ms  full paint %7.3f ms (%.2fx)  in layers %7.3f ms (%.2fx)"
                "  new time %6.3f ms (%.2fx)\n",
                w, h, bare, full, full / bare, layered, layered / bare, clock, clock / bare);
    std::fflush(stdout);
}

// The Japanese calendar's switches: 六曜, solar terms and era years on or off. Found by key,
// so that this program also measures a tree without them.
void japanese_calendar(bool on) {
    static const char* const keys[] = {"Rokuyo", "Kyureki", "Wareki"};
    for (const char* key : keys)
        if (const SettingKey* k = setting_key_named(key)) setting_int(settings, *k) = on ? 1 : 0;
}

// Compositions in layers as the window makes them, and nothing else.
int count_mode(bool on, int entries, int rounds) {
    japanese_calendar(on);
    schedule.count = 0;
    if (entries > 0) fill_bench_marked_entries(&schedule, entries > kMaxEntries ? kMaxEntries : entries);
    Canvas c(kSmall, kSmall);
    for (int i = 0; i < rounds; ++i) c.compose_in_layers();
    std::printf("%d compositions, Japanese calendar %s, %d entries, texts %s\n", rounds,
                on ? "on" : "off", schedule.count, c.r.texts_copied ? "copied" : "written");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    settings_defaults(&settings, 1024, 768);
    settings.clock = 1;
    settings.analog = 1;
    settings.cmode = 1;
    clock_tables_fill();
    if (argc == 5 && std::strcmp(argv[1], "count") == 0)
        return count_mode(std::strcmp(argv[2], "on") == 0, std::atoi(argv[3]), std::atoi(argv[4]));
    fill_bench_marked_entries(&schedule, kMaxEntries);
    run(kSmall, kSmall, 200, false);  // the process's first surfaces, glyphs and fonts
    std::printf("paint benchmark, %d schedule entries, analog clock\n", schedule.count);
    run(kSmall, kSmall, 200);
    std::printf("text pictures after it: %ld KB\n", bench_text_pictures().bytes() / 1024);
    run(1920, 1200, 40);
    // 500 entries that all repeat (daily, weekly with skipped days, monthly by weekday,
    // spanning days): the first paint works their month out, later ones keep it.
    fill_bench_repeating_entries(&schedule, kMaxEntries);
    std::printf("500 repeating entries\n");
    run(kSmall, kSmall, 200);
    run(1920, 1200, 40);
    // The same without entries: what the day classification adds.
    schedule.count = 0;
    std::printf("without entries\n");
    run(kSmall, kSmall, 200);
    run(1920, 1200, 40);
    std::printf("fonts made anew every paint, without entries\n");
    g_new_face_every_paint = true;
    run(kSmall, kSmall, 200);
    g_new_face_every_paint = false;
    lstrcpyA(settings.fontname, "ＭＳ Ｐゴシック");
    japanese_calendar(true);
    std::printf("六曜, solar terms and era years on, %d schedule entries\n", kMaxEntries);
    fill_bench_marked_entries(&schedule, kMaxEntries);
    run(kSmall, kSmall, 200);
    run(1920, 1200, 40);
    schedule.count = 0;
    std::printf("六曜, solar terms and era years on, without entries\n");
    run(kSmall, kSmall, 200);
    run(1920, 1200, 40);
    return 0;
}
