// When an entry happens: the one module that decides which days an entry falls on (one day,
// the days of a month, the next day from a date), the instants its alarm rings at, what the
// day codes mean and how they are written, and whether an entry's date may be stored. Every
// view, list, export and check asks here instead of reading the date fields itself.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "schedule/entry.h"

// Years an entry may name; every-year entries are shown in all of them.
constexpr int kEntryFirstYear = 1980;
constexpr int kEntryLastYear = 2079;

// ---- Day codes: an entry's day given as a rule of its month ----

constexpr int kDayThirdMonday = 97;
constexpr int kDaySecondMonday = 98;
constexpr int kDayMovable = 99;  // resolved by month: January, March, September, October

inline bool is_day_code(int day) {
    return day == kDayThirdMonday || day == kDaySecondMonday || day == kDayMovable;
}

// Day of the month on which an entry with this day/month falls in `year`; a day code that
// does not resolve stays as it is (above 31), so it never equals a real day.
int resolve_day(int day, int month, int year);

// A day code as the day field shows it and the older stored forms write it: "??", "M2" or
// "M3"; nullptr for any other day.
const char* day_code_text(int day);

// How a text names a day code.
enum class DayCodeSpelling {
    kStored,  // exactly "??", "M2" or "M3"
    kTyped,   // the same upper-cased, and any text whose first character is "?" stands for ??
};
// The day code the text s names, read up to n bytes or its NUL; 0 when it names none.
int parse_day_code(const char* s, size_t n, DayCodeSpelling spelling);

// ---- The days an entry falls on ----

// The days of year-month the entry falls on: bit d for day d (1..31). None for a month
// outside 1..12, for days the month does not have and for day codes that name no day.
uint32_t entry_month_days(const ScheduleEntry& e, int year, int month);

// The first day of a mask as entry_month_days gives it; 0 for none.
inline int first_marked_day(uint32_t days) {
    days &= ~1u;
    return days != 0 ? __builtin_ctz(days) : 0;
}

// True when the entry falls on y-m-d (never on a day the month does not have).
bool entry_on_date(const ScheduleEntry* e, int y, int m, int d);

// What the entries list[0..count) put on the days of year-month: the days a holiday entry
// falls on and those an ordinary entry falls on. A null list, a negative count or a month
// outside 1..12 marks nothing.
DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month);

// The first day on or after from on which the entry falls, into *out; false when it falls on
// none (a day of a past year, a day code that names no day, 30 February). Every-year entries
// are not cut at kEntryLastYear: seen at the end of 2079, next January lies in 2080.
bool entry_next_occurrence(const ScheduleEntry& e, const CalendarDate& from, CalendarDate* out);

// The days from `from` through `to` on which the entry falls, in date order, at most max of
// them into out; returns their number.
int entry_days_between(const ScheduleEntry& e, const CalendarDate& from, const CalendarDate& to,
                       CalendarDate* out, int max);

// ---- Alarm instants (100-ns units since 1601-01-01, local wall time) ----

// Fills e->alarm_at from its date and time less minutes_before; 0 when the date or time is
// not a real calendar moment (every-year entries, day codes, unset fields).
void compute_alarm_at(ScheduleEntry* e);

// The alarm instant of an entry about to be stored: 0 without an alarm, else as
// compute_alarm_at gives it.
void entry_update_alarm_at(ScheduleEntry* e);

// The instant of a date and time as compute_alarm_at forms it (no minutes before); 0 when
// invalid.
uint64_t alarm_instant(int y, int m, int d, int hour, int minute);

// The instants in (after, upto] at which the entry's alarm rings, earliest first, at most
// max of them into out; returns their count. Only an entry with an alarm and a time rings;
// alarm_at 0, the "no instant" value, lies in no window.
int entry_alarms_between(const ScheduleEntry& e, uint64_t after, uint64_t upto, uint64_t* out,
                         int max);

// Every live entry whose alarm rings in (after, upto], in list order, at most max of them,
// into out; returns the count. A tick asks for the minutes since the last one it checked, so
// ticks that arrive late or after a sleep still catch the minutes they skipped; the window
// reaches back at most 24 hours before upto. Entries due in the same check ring together.
int find_due_alarms_between(const ScheduleList& list, uint64_t after, uint64_t upto, int* out,
                            int max);
// The first of them; -1 if none.
int find_due_alarm_between(const ScheduleList& list, uint64_t after, uint64_t upto);

// ---- What an entry may hold ----

// The checks made before an entry is stored, in the order they are made.
enum class EntryFault {
    kNone,
    kYearOutOfRange,  // a year outside kEntryFirstYear..kEntryLastYear
    kMonthMissing,
    kMonthInvalid,
    kDayMissing,
    kDayInvalid,      // a day the month lacks, 29 February of every year, a code with a year
    kMemoMissing,
};
// The first check the entry fails. A memo of blanks only is emptied whatever the date checks
// found (*memo_cleared tells so, when given).
EntryFault entry_fault(ScheduleEntry* e, bool* memo_cleared);
