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
//
// An occurrence starts on a day the entry's date and rule give (its date alone without a
// rule; every year for year -1) and lasts span_days more days; every day of it is a day the
// entry falls on (marked, listed in the day contents). Skipped days start no occurrence.

// True when the entry repeats by a rule (an every-year entry repeats without one).
inline bool entry_repeats(const ScheduleEntry& e) { return e.repeat.kind != RepeatKind::kNone; }

// The days after an occurrence's first that it covers: span_days, less one when a timed
// entry ends at 00:00 of its last day (it does not reach into that day).
int entry_covered_span(const ScheduleEntry& e);

// The days of year-month the entry falls on: bit d for day d (1..31). None for a month
// outside 1..12, for days the month does not have and for day codes that name no day.
uint32_t entry_month_days(const ScheduleEntry& e, int year, int month);

// The days of year-month on which an occurrence starts (same bits), skipped days left out.
uint32_t entry_month_starts(const ScheduleEntry& e, int year, int month);

// The first day of a mask as entry_month_days gives it; 0 for none.
inline int first_marked_day(uint32_t days) {
    days &= ~1u;
    return days != 0 ? __builtin_ctz(days) : 0;
}

// True when the entry falls on y-m-d (never on a day the month does not have).
bool entry_on_date(const ScheduleEntry* e, int y, int m, int d);

// The first day of the occurrence that covers day, into *start; false when none does.
bool entry_occurrence_covering(const ScheduleEntry& e, const CalendarDate& day,
                               CalendarDate* start);

// What the entries list[0..count) put on the days of year-month: the days a holiday entry
// falls on and those an ordinary entry falls on. A null list, a negative count or a month
// outside 1..12 marks nothing.
DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month);

// month_marks of the list's live entries, kept with the list for the month last asked until
// its generation changes (every change of the list counts it up): a paint of the same month
// again costs nothing more.
DayMarks schedule_month_marks(const ScheduleList& list, int year, int month);

// The first day on or after from on which an occurrence of the entry starts, into *out;
// false when none does (a day of a past year, a day code that names no day, 30 February, a
// rule that has ended). Every-year entries and rules without end are not cut at
// kEntryLastYear: seen at the end of 2079, next January lies in 2080.
bool entry_next_occurrence(const ScheduleEntry& e, const CalendarDate& from, CalendarDate* out);

// The days from `from` through `to` on which an occurrence starts, in date order, at most max
// of them into out; returns their number.
int entry_days_between(const ScheduleEntry& e, const CalendarDate& from, const CalendarDate& to,
                       CalendarDate* out, int max);

// ---- Changing a series ----

// Brings what is worked out from an entry's rule up to date after its date, rule or skipped
// days changed: skipped days ascending without repeats, the last day of a counted rule.
// schedule_add, schedule_replace and the loaders call it; the answers above are right
// without it, only slower.
void entry_settle(ScheduleEntry* e);

// Leaves the occurrence starting on day out of the series ("この日だけ削除"). False when no
// occurrence starts there or the series has no room for another skipped day.
bool entry_skip_day(ScheduleEntry* series, const CalendarDate& day);

// "この日だけ変更": the occurrence starting on day becomes *single (the series' fields, on that
// day, repeating not, carrying the series' uid and the day it stands for) and the series
// skips the day. False (nothing changed) when entry_skip_day would be.
bool entry_detach_occurrence(ScheduleEntry* series, const CalendarDate& day,
                             ScheduleEntry* single);

// ---- Alarm instants (100-ns units since 1601-01-01, local wall time) ----

// Fills e->alarm_at with the instant its first occurrence (its date) rings at: its date and
// time less minutes_before; for an entry without a time but with day_alarm, 00:00 of its date
// plus day_alarm_minute. 0 when that is not a real calendar moment (every-year entries, day
// codes, unset fields).
void compute_alarm_at(ScheduleEntry* e);

// The alarm instant of an entry about to be stored: 0 without an alarm, else as
// compute_alarm_at gives it.
void entry_update_alarm_at(ScheduleEntry* e);

// The instant of a date and time as compute_alarm_at forms it (no minutes before); 0 when
// invalid.
uint64_t alarm_instant(int y, int m, int d, int hour, int minute);

// Whether the entry rings at all: an alarm kind and a time, or day_alarm without a time.
bool entry_rings(const ScheduleEntry& e);

// The instant the occurrence starting on day rings at; 0 when it does not ring.
uint64_t entry_alarm_of(const ScheduleEntry& e, const CalendarDate& day);

// One ringing of an entry: the occurrence (its first day) and the instant.
struct OccurrenceAlarm {
    uint64_t at;
    CalendarDate day;
};

// The occurrences whose alarm rings in (after, upto], earliest first, at most max of them
// into out; returns their count. Skipped days never ring; every-year entries ring every year.
int entry_alarms_between(const ScheduleEntry& e, uint64_t after, uint64_t upto,
                         OccurrenceAlarm* out, int max);

// One alarm come due: the entry's place in the list and the occurrence.
struct DueAlarm {
    int index;
    uint64_t at;
    CalendarDate day;
};

// Every occurrence of the live entries whose alarm rings in (after, upto], in list order (an
// entry's occurrences earliest first), at most max of them, into out; returns the count. A
// tick asks for the minutes since the last one it checked, so ticks that arrive late or after
// a sleep still catch the minutes they skipped; the window reaches back at most 24 hours
// before upto. Alarms due in the same check ring together.
int find_due_occurrences_between(const ScheduleList& list, uint64_t after, uint64_t upto,
                                 DueAlarm* out, int max);

// The entries (their places, each once, in list order) of find_due_occurrences_between.
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
    kRepeatInvalid,   // a rule on an every-year entry or a day code, an interval outside
                      // 1..99, no weekday or day to repeat on, a kind or end not known
    kRepeatEndInvalid,  // an end before the date, a count outside 1..kRepeatCountMax
    kSpanInvalid,     // span_days outside 0..kMaxSpanDays, an end time without a time or
                      // not after the start on a one-day entry
    kLeadInvalid,     // minutes_before outside 0..kMaxLeadMinutes, a day alarm outside its
                      // range or on an entry with a time
    kSkipsInvalid,    // more than kMaxSkips skipped days, or one that is no real date
};
// The first check the entry fails. A memo of blanks only is emptied whatever the date checks
// found (*memo_cleared tells so, when given).
EntryFault entry_fault(ScheduleEntry* e, bool* memo_cleared);
