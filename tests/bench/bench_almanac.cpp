// The old calendar's days of a month as the month painting will ask for them: one month's
// 旧暦 dates, 六曜, solar terms and 雑節, each day's line of text, and the era year text.
// Prints microseconds per call (fastest of five batches over all 1200 months).
#include <cstdio>

#include "calendar/almanac.h"
#include "calendar/era.h"
#include "tests/bench/bench_timer.h"

namespace {

volatile unsigned g_sink;

void every_month(void (*f)(int, int)) {
    for (int y = 1980; y <= 2079; ++y)
        for (int m = 1; m <= 12; ++m) f(y, m);
}

void one_month(int y, int m) {
    AlmanacMonth month;
    if (almanac_month(y, m, &month)) g_sink += month.day[month.days].lunar.day;
}

void month_texts(int y, int m) {
    AlmanacMonth month;
    if (!almanac_month(y, m, &month)) return;
    char text[128];
    for (int d = 1; d <= month.days; ++d) g_sink += (unsigned)almanac_day_text(month.day[d], text, sizeof text);
}

void era_text(int y, int m) {
    EraYear era;
    char text[32];
    if (era_of_month(y, m, &era)) g_sink += (unsigned)era_year_text(era, text, sizeof text);
}

}  // namespace

int main() {
    const int kMonths = 1200;
    const double month_us = fastest_ms(20, [] { every_month(one_month); }) * 1000.0 / kMonths;
    const double texts_us = fastest_ms(5, [] { every_month(month_texts); }) * 1000.0 / kMonths;
    const double era_us = fastest_ms(20, [] { every_month(era_text); }) * 1000.0 / kMonths;
    std::printf("almanac_month (one month, every day):        %8.3f us\n", month_us);
    std::printf("almanac_month and each day's contents line:  %8.3f us\n", texts_us);
    std::printf("era_of_month and its text:                   %8.3f us\n", era_us);
    return 0;
}
