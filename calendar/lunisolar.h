// The old lunisolar calendar (旧暦) of Japan for 1 January 1980 .. 31 December 2079: months
// begin on the JST day of a new moon, and a month's number and leap flag follow the solar
// terms (calendar/almanac_table.h holds them). With its 六曜.
#pragma once

// Day index of a date: 1 January 1980 = 0 .. 31 December 2079 = kAlmanacLastDay; -1 for a
// date that does not exist or lies outside.
constexpr int kAlmanacLastDay = 36524;
int almanac_day_index(int year, int month, int day);

struct LunarDate {
    int month;  // 1..12
    int leap;   // 1 in a leap month (閏月)
    int day;    // 1..30
};

// One lunation: its first day (a day index; the first lunation starts before 1980) and its
// number.
struct Lunation {
    int start;
    int month;
    int leap;
};

// The lunations in order; false for n outside 0..lunation_count() - 1. The last one is
// the month after the one holding 31 December 2079.
int lunation_count();
bool lunation_at(int n, Lunation* out);
// The lunation holding a day index, -1 outside 0..kAlmanacLastDay.
int lunation_of_day(int day_index);

// The old-calendar date of a day; false (out untouched) outside the range.
bool lunar_date_of(int year, int month, int day, LunarDate* out);

// 六曜 in their order: the 1st of the first month is 先勝, each day the next, and each
// month starts one further on: (month + day) mod 6 = 2 is 先勝.
enum Rokuyo { kSensho, kTomobiki, kSenbu, kButsumetsu, kTaian, kShakko, kRokuyoCount };
int rokuyo_of(const LunarDate& date);
