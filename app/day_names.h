// The month as a screen reader tells it: each day's name read as a person says it
// ("12月9日 水曜日 今日、予定2件、天皇誕生日": the date, the weekday, then today, the number of
// entries and the holiday, each when it applies), the texts of its entries as its
// description (as the day contents list them: time and memo), the names of the month
// buttons and of the month itself.
#pragma once

#include <cstddef>

struct ScheduleList;

// What a day's name says.
struct DayFacts {
    int year, month, day;
    bool today;
    int entries;          // entries on the day
    const char* holiday;  // the national holiday's name; nullptr none (or not shown)
    bool day_off;         // red by a holiday entry (or the Monday after a Sunday one)
};

// The facts of year-month-day: today is ty-tm-td; national: the national holidays are shown
// (the setting's switch). A date the calendar does not have gives a day of no entries.
DayFacts day_facts(const ScheduleList& list, int year, int month, int day, int ty, int tm, int td,
                   int national);

// The day's name into out (cut at a character boundary when it does not fit).
void format_day_name(char* out, size_t size, const DayFacts& f);

// The day's entries as the day contents list them, "10:00 会議、歯医者", into out (cut at a
// character boundary); empty for a day without entries.
void format_day_description(char* out, size_t size, const ScheduleList& list, int year, int month,
                            int day);
