// Calendar times as iCalendar carries them (any year 1..9999, no zone of their own) and the
// little arithmetic the reader and writer need on them: day counts, adding minutes, order.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct IcalTime {
    int year, month, day;      // a real date
    int hour, minute, second;  // 0..23, 0..59, 0..59 (0 for a date)
};

// Whether y-m-d is a real date of the Gregorian calendar with 1 <= y <= 9999.
bool ical_date_valid(int y, int m, int d);
// Days since 1 January 1970 of a real date (negative before), and back.
int64_t ical_days_from_civil(int y, int m, int d);
void ical_civil_from_days(int64_t days, int* y, int* m, int* d);

// t moved by the minutes (either sign), carrying into days, months and years.
IcalTime ical_add_minutes(const IcalTime& t, int64_t minutes);
// Minutes from a to b (b - a), seconds ignored.
int64_t ical_minutes_between(const IcalTime& a, const IcalTime& b);
// <0, 0, >0 as a is before, at or after b.
int ical_time_compare(const IcalTime& a, const IcalTime& b);
// Seconds of t counted from 1970-01-01 00:00:00 of the same clock: times in this count order
// as ical_time_compare orders them, so a time compared many times is counted once.
int64_t ical_time_seconds(const IcalTime& t);

// A DATE ("20240115") or DATE-TIME ("20240115T090000", with "Z" for UTC) value of exactly
// n bytes. False when it is neither or names no real date and time (a leap second 60 is
// taken as 59).
bool ical_parse_time(const char* s, size_t n, IcalTime* t, bool* is_date, bool* utc);
// "YYYYMMDD" and "YYYYMMDDTHHMMSS" into out (at least 16 bytes).
void ical_format_date(const IcalTime& t, char* out);
void ical_format_date_time(const IcalTime& t, char* out);
