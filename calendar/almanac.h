// What a Japanese wall calendar prints beside the date, for the days 1980..2079: the
// old-calendar date (旧暦) and its 六曜, the solar term (二十四節気) that begins on the day and
// the 雑節 that fall on it. The month painting takes a whole month at once; the day contents
// take one day's line of text.
#pragma once

#include <cstddef>

#include "calendar/lunisolar.h"

struct AlmanacDay {
    LunarDate lunar;
    int rokuyo;         // Rokuyo
    int term;           // the solar term beginning on the day (calendar/sekki.h), -1 none
    unsigned zassetsu;  // bit k: Zassetsu k (calendar/zassetsu.h) falls on the day
};

struct AlmanacMonth {
    int year, month;
    int days;             // days in the month
    AlmanacDay day[32];   // day[d] for d = 1..days
};

// A month's days; false (out untouched) outside January 1980 .. December 2079.
bool almanac_month(int year, int month, AlmanacMonth* out);

// One day's; false outside the range or for a date that does not exist.
bool almanac_day(int year, int month, int day, AlmanacDay* out);

// The short text under a day number: with terms on, the name of a solar term beginning on
// the day; else with rokuyo on, the 六曜; else nullptr (nothing to write).
const char* almanac_label(const AlmanacDay& day, bool rokuyo, bool terms);

// The day-contents line "旧暦 11月1日 大安 / 冬至": the old-calendar date and 六曜, then the
// day's solar term and 雑節 joined by "・" after " / " when it has any. Cut to size without
// splitting a character; returns the length written.
size_t almanac_day_text(const AlmanacDay& day, char* buf, size_t size);
