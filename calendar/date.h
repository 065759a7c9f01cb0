// Calendar date arithmetic on the proleptic Gregorian calendar, the fixed
// name tables, and the local clock reader with a replaceable source.
#pragma once

// Dates are plain ints: year (e.g. 2004), month 1..12, day 1..31.
// Weekday: 0 = Sunday .. 6 = Saturday. Day serial: 1 January 1980 = 1.

// A date as one value, where a date is handed over or given back whole.
struct CalendarDate {
    int year, month, day;
};

// A date as the one number yyyymmdd (20270114), as stored forms write days; ordered as the
// dates are.
inline int date_ymd(const CalendarDate& d) { return d.year * 10000 + d.month * 100 + d.day; }
inline CalendarDate date_of_ymd(int ymd) { return CalendarDate{ymd / 10000, ymd / 100 % 100, ymd % 100}; }

// Days since 1 January 1970 of any date of the proleptic Gregorian calendar (negative before),
// and back: O(1) arithmetic without the 1980 floor of day_serial.
long long civil_day_number(int y, int m, int d);
CalendarDate civil_date_of(long long days);

int is_leap_year(int year);

// Length of a month; February gets 29 in leap years. A month outside 1..12
// has no length: returns 0 (never indexes past the table).
int days_in_month(int month, int year);
// Whether y-m-d names a day its month really has (month 1..12, day 1..its days).
inline bool is_real_date(int y, int m, int d) {
    return m >= 1 && m <= 12 && d >= 1 && d <= days_in_month(m, y);
}

// Years below 1980 count as 1980. The day is not checked against the month
// (day 35 counts 35 days in). Months past 12 add only the twelve real month
// lengths; months below 1 add none.
int day_serial(int y, int m, int d);

int weekday_of(int y, int m, int d);
int second_monday(int y, int m);   // 8..14
int third_monday(int y, int m);    // 15..21
int vernal_equinox_day(int y);     // day in March; 20 outside 1950..2099
int autumnal_equinox_day(int y);   // day in September; 23 outside 1950..2099

// Weekday names indexed 0..6. The Japanese ones are CP932 bytes.
extern const char* const weekday_names_ja[7];
extern const char* const weekday_names_en[7];
// English month names in 20-byte slots, indexed 1..12 (slot 0 is empty).
extern const char month_names_en[13][20];

// One reading of the local wall clock, no time-zone conversion.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

typedef LocalTime (*ClockSource)();

// The clock in use: the system's local time unless a source was installed.
LocalTime get_local_now();

// Replaces the clock (tests set "today" this way); nullptr restores the
// system clock.
void set_clock_source(ClockSource src);

// Today's date. Null pointers are skipped. The year comes from the
// two-digit year of the MM/DD/YY reading: 80..99 -> 19xx, 00..79 -> 20xx,
// so the result always lies in 1980..2079.
void get_today(int* y, int* m, int* d);

// Current hour (0..23), minute and second; null pointers are skipped.
void get_now_time(int* h, int* m, int* s);
