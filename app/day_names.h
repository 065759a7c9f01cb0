// The month as a screen reader tells it: each day's name read as a person says it
// ("12月9日 水曜日 今日、予定2件、天皇誕生日": the date, the weekday, then today, the number of
// entries and the holiday, each when it applies; then what the Japanese calendar's switches
// show of the day: its 六曜, or with the old calendar on its date there, "旧暦 11月1日 大安",
// its solar term and 雑節; with era years on the date begins with the day's era year,
// "令和8年12月9日"), the texts of its entries as its description (as the day contents list
// them: time and memo), the names of the month buttons and of the month itself.
#pragma once

#include <cstddef>

#include "calendar/almanac.h"

struct ScheduleList;

// The settings' switches of what the month shows of a day.
struct DayNameShows {
    int national_holidays;
    int rokuyo, kyureki, wareki;
};

// What a day's name says.
struct DayFacts {
    int year, month, day;
    bool today;
    int entries;          // entries on the day
    const char* holiday;  // the national holiday's name; nullptr none (or not shown)
    bool day_off;         // red by a holiday entry (or the Monday after a Sunday one)
    char era[24];         // the day's era year ("令和8年") with era years on; "" otherwise
    bool almanac_shown;   // 六曜 or the old calendar on, and the day within the almanac's years
    bool old_calendar;    // the old calendar on: its date, solar term and 雑節 besides the 六曜
    AlmanacDay almanac;
};

// The facts of year-month-day: today is ty-tm-td; shows: the settings' switches. A date the
// calendar does not have gives a day of no entries.
DayFacts day_facts(const ScheduleList& list, int year, int month, int day, int ty, int tm, int td,
                   const DayNameShows& shows);

// The day's name into out (cut at a character boundary when it does not fit).
void format_day_name(char* out, size_t size, const DayFacts& f);

// The day's entries as the day contents list them, "10:00 会議、歯医者", into out (cut at a
// character boundary); empty for a day without entries.
void format_day_description(char* out, size_t size, const ScheduleList& list, int year, int month,
                            int day);
