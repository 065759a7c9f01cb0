// The month the paint benchmarks draw: May 2009 on show, the 20th today, 10:10 on the clock.
#pragma once

#include "app/month_paint_win.h"
#include "app/text_pictures_win.h"
#include "tests/host/test_records.h"

// On the benchmark's settings record and schedule list.
// The program's text pictures: the benchmarks paint over the window colour, as the window
// does without a background image.
inline TextPictures& bench_text_pictures() {
    static TextPictures pictures;
    return pictures;
}

inline MonthView bench_month_view() {
    MonthView v = {};
    v.plain_back = true;
    v.pictures = &bench_text_pictures();
    v.settings = &settings;
    v.schedule = &schedule;
    v.shown_year = 2009;
    v.shown_month = 5;
    v.today_year = 2009;
    v.today_month = 5;
    v.today_day = 20;
    v.now_hour = 10;
    v.now_minute = 10;
    return v;
}
