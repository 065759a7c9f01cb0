#include "schedule/entry_dates.h"

#include <limits.h>

#include "calendar/filetime.h"

namespace {

struct DayCodeName {
    int code;
    char text[3];
};
const DayCodeName kDayCodeNames[] = {
    {kDayMovable, "??"},
    {kDaySecondMonday, "M2"},
    {kDayThirdMonday, "M3"},
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The days of one month (n days long) the entry falls on. The month is checked first: most
// entries fall in another one, and a paint asks this of every entry.
inline uint32_t days_of_month(const ScheduleEntry& e, int year, int month, int n) {
    if (e.month != month || (e.year != year && e.year != -1)) return 0;
    const int d = is_day_code(e.day) ? resolve_day(e.day, month, year) : e.day;
    return d >= 1 && d <= n ? 1u << d : 0u;
}

// An every-year day comes again within eight years (29 February skips 2100).
constexpr int kYearsToRecur = 8;

bool date_after(const CalendarDate& a, const CalendarDate& b) {
    if (a.year != b.year) return a.year > b.year;
    if (a.month != b.month) return a.month > b.month;
    return a.day > b.day;
}

// The day after d, a real date.
CalendarDate day_after(CalendarDate d) {
    if (++d.day <= days_in_month(d.month, d.year)) return d;
    d.day = 1;
    if (++d.month <= 12) return d;
    d.month = 1;
    ++d.year;
    return d;
}

inline bool alarm_armed(const ScheduleEntry& e) { return has_alarm(e) && e.has_time != 0; }

// 29 February is no day of every year: an every-year entry is checked against a common year.
constexpr int kCommonYear = 2001;

bool day_valid(const ScheduleEntry* e) {
    if (e->year == -1 && is_day_code(e->day)) return true;
    const int n = days_in_month(e->month, e->year == -1 ? kCommonYear : e->year);
    return e->day >= 1 && e->day <= n;
}

EntryFault date_fault(const ScheduleEntry* e) {
    if (e->year != -1 && (e->year < kEntryFirstYear || e->year > kEntryLastYear))
        return EntryFault::kYearOutOfRange;
    if (e->month == -1) return EntryFault::kMonthMissing;
    if (e->month < 1 || e->month > 12) return EntryFault::kMonthInvalid;
    if (e->day == -1) return EntryFault::kDayMissing;
    if (!day_valid(e)) return EntryFault::kDayInvalid;
    return EntryFault::kNone;
}

}  // namespace

int resolve_day(int day, int month, int year) {
    switch (day) {
    case kDaySecondMonday:
        return second_monday(year, month);
    case kDayThirdMonday:
        return third_monday(year, month);
    case kDayMovable:
        switch (month) {
        case 1:
            return year < 2000 ? 15 : second_monday(year, 1);
        case 3:
            return vernal_equinox_day(year);
        case 9:
            return autumnal_equinox_day(year);
        case 10:
            return year < 2000 ? 10 : second_monday(year, 10);
        default:
            return kDayMovable;
        }
    default:
        return day;
    }
}

const char* day_code_text(int day) {
    for (const DayCodeName& c : kDayCodeNames)
        if (c.code == day) return c.text;
    return nullptr;
}

int parse_day_code(const char* s, size_t n, DayCodeSpelling spelling) {
    const bool typed = spelling == DayCodeSpelling::kTyped;
    size_t len = 0;
    while (len < n && s[len] != '\0') ++len;
    if (typed && len > 0 && s[0] == '?') return kDayMovable;
    if (len != 2) return 0;
    for (const DayCodeName& c : kDayCodeNames) {
        const char a = typed ? upper(s[0]) : s[0];
        const char b = typed ? upper(s[1]) : s[1];
        if (a == c.text[0] && b == c.text[1]) return c.code;
    }
    return 0;
}

uint32_t entry_month_days(const ScheduleEntry& e, int year, int month) {
    if (month < 1 || month > 12) return 0;
    return days_of_month(e, year, month, days_in_month(month, year));
}

bool entry_on_date(const ScheduleEntry* e, int y, int m, int d) {
    return e != nullptr && d >= 1 && d <= 31 && ((entry_month_days(*e, y, m) >> d) & 1u) != 0;
}

DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month) {
    DayMarks marks = {0, 0};
    if (!list || count < 0 || month < 1 || month > 12) return marks;
    const int n = days_in_month(month, year);
    for (int i = 0; i < count; ++i) {
        const uint32_t days = days_of_month(list[i], year, month, n);
        if (days != 0) (list[i].holiday != 0 ? marks.holiday : marks.marked) |= days;
    }
    return marks;
}

bool entry_next_occurrence(const ScheduleEntry& e, const CalendarDate& from, CalendarDate* out) {
    if (from.month < 1 || from.month > 12 || from.day < 1 || from.day > 31) return false;
    const bool every_year = e.year == -1;
    const int first = every_year ? from.year : e.year;
    if (first < from.year) return false;
    const int last = !every_year                          ? e.year
                     : from.year > INT_MAX - kYearsToRecur ? INT_MAX
                                                           : from.year + kYearsToRecur;
    for (int y = first;; ++y) {
        for (int m = y == from.year ? from.month : 1; m <= 12; ++m) {
            uint32_t days = entry_month_days(e, y, m);
            if (y == from.year && m == from.month) days &= ~0u << from.day;
            if (days != 0) {
                *out = CalendarDate{y, m, first_marked_day(days)};
                return true;
            }
        }
        if (y == last) return false;
    }
}

int entry_days_between(const ScheduleEntry& e, const CalendarDate& from, const CalendarDate& to,
                       CalendarDate* out, int max) {
    int n = 0;
    CalendarDate at;
    for (CalendarDate next = from; n < max && entry_next_occurrence(e, next, &at);) {
        if (date_after(at, to)) break;
        out[n++] = at;
        if (!date_after(to, at)) break;  // at is the last day asked for
        next = day_after(at);
    }
    return n;
}

void compute_alarm_at(ScheduleEntry* e) {
    if (!e) return;
    uint64_t ft = 0;
    if (!wall_time_to_filetime(e->year, e->month, e->day, e->hour, e->minute, 0, 0, &ft)) {
        e->alarm_at = 0;
        return;
    }
    // Unsigned arithmetic: a stored minutes_before outside 0..99 wraps
    // instead of overflowing.
    e->alarm_at = ft - (uint64_t)(int64_t)e->minutes_before * kTicksPerMinute;
}

void entry_update_alarm_at(ScheduleEntry* e) {
    if (!has_alarm(*e) || !e->has_time) e->alarm_at = 0;
    else compute_alarm_at(e);
}

uint64_t alarm_instant(int y, int m, int d, int hour, int minute) {
    ScheduleEntry probe;
    entry_blank(&probe);
    probe.year = y;
    probe.month = m;
    probe.day = d;
    probe.hour = hour;
    probe.minute = minute;
    probe.has_time = 1;
    probe.minutes_before = 0;
    compute_alarm_at(&probe);
    return probe.alarm_at;
}

int entry_alarms_between(const ScheduleEntry& e, uint64_t after, uint64_t upto,
                         OccurrenceAlarm* out, int max) {
    // Most alarms lie ahead: the end of the window is tested first.
    if (max < 1 || !alarm_armed(e) || e.alarm_at > upto || e.alarm_at <= after) return 0;
    out[0] = OccurrenceAlarm{e.alarm_at, CalendarDate{e.year, e.month, e.day}};
    return 1;
}

int find_due_occurrences_between(const ScheduleList& list, uint64_t after, uint64_t upto,
                                 DueAlarm* out, int max) {
    if (upto >= kTicksPerDay && after < upto - kTicksPerDay) after = upto - kTicksPerDay;
    if (after >= upto) return 0;
    const int n = schedule_live_count(list);
    int found = 0;
    OccurrenceAlarm at;
    for (int i = 0; i < n && found < max; ++i)
        if (entry_alarms_between(list.entries[i], after, upto, &at, 1) != 0)
            out[found++] = DueAlarm{i, at.at, at.day};
    return found;
}

int find_due_alarms_between(const ScheduleList& list, uint64_t after, uint64_t upto, int* out,
                            int max) {
    if (upto >= kTicksPerDay && after < upto - kTicksPerDay) after = upto - kTicksPerDay;
    if (after >= upto) return 0;
    const int n = schedule_live_count(list);
    int found = 0;
    OccurrenceAlarm at;
    for (int i = 0; i < n && found < max; ++i)
        if (entry_alarms_between(list.entries[i], after, upto, &at, 1) != 0) out[found++] = i;
    return found;
}

int find_due_alarm_between(const ScheduleList& list, uint64_t after, uint64_t upto) {
    int first = -1;
    return find_due_alarms_between(list, after, upto, &first, 1) ? first : -1;
}

EntryFault entry_fault(ScheduleEntry* e, bool* memo_cleared) {
    EntryFault fault = date_fault(e);
    const bool cleared = clear_blank_memo(e->memo);
    if (memo_cleared) *memo_cleared = cleared;
    if (fault == EntryFault::kNone && e->memo[0] == '\0') fault = EntryFault::kMemoMissing;
    return fault;
}
