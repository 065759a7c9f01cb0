#include "schedule/entry_dates.h"

#include <limits.h>
#include <string.h>

#include "calendar/filetime.h"
#include "config/ascii.h"
#include "config/content_hash.h"
#include "schedule/entry_identity.h"

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

// ---- Months as the arithmetic sees them ----

// One month: its days, the day number (civil_day_number) of its first day and that day's
// weekday, and the month counted from year 0.
struct Month {
    int y, m, len;
    long long first;
    int wd1;
    long long index;
};

int floor_mod(long long a, int n) {
    const int r = static_cast<int>(a % n);
    return r < 0 ? r + n : r;
}

int weekday_of_day_number(long long z) { return floor_mod(z + 4, 7); }  // 1970-01-01: Thursday

Month month_of(int y, int m) {
    Month f;
    f.y = y;
    f.m = m;
    f.len = days_in_month(m, y);
    f.first = civil_day_number(y, m, 1);
    f.wd1 = weekday_of_day_number(f.first);
    f.index = static_cast<long long>(y) * 12 + (m - 1);
    return f;
}

Month month_before(const Month& f) { return f.m == 1 ? month_of(f.y - 1, 12) : month_of(f.y, f.m - 1); }
Month month_after(const Month& f) { return f.m == 12 ? month_of(f.y + 1, 1) : month_of(f.y, f.m + 1); }

// Bits lo..hi (within 1..31); none when lo > hi.
uint32_t day_range(int lo, int hi) {
    if (lo < 1) lo = 1;
    if (hi > 31) hi = 31;
    if (lo > hi) return 0;
    return static_cast<uint32_t>((((uint64_t)2 << hi) - 1) & ~(((uint64_t)1 << lo) - 1));
}

int highest_day(uint32_t days) { return 31 - __builtin_clz(days); }

// Weekday bits turned so that bit j stands for the weekday of the j-th day of a week whose
// first day is weekday wd.
uint32_t turn_weekdays(unsigned weekdays, int wd) {
    weekdays &= 0x7F;
    return ((weekdays >> wd) | (weekdays << (7 - wd))) & 0x7F;
}

// Bits every n days starting at bit 0, within 32 bits.
uint32_t every_nth_bit(int n) {
    uint32_t bits = 0;
    for (int b = 0; b < 32; b += n) bits |= 1u << b;
    return bits;
}

// ---- One-day entries: a date, every year, or a day code ----

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


inline bool alarm_armed(const ScheduleEntry& e) { return has_alarm(e) && e.has_time != 0; }

// ---- Rules ----

// A rule is followed only from a real date of a year (an every-year entry repeats by itself).
bool rule_applies(const ScheduleEntry& e) {
    return e.repeat.kind != RepeatKind::kNone && e.year >= 1 && is_real_date(e.year, e.month, e.day);
}

int interval_of(const RepeatRule& r) { return r.interval == 0 ? 1 : r.interval; }

// What a rule leaves out comes from its first day.
unsigned weekly_days(const ScheduleEntry& e, long long start) {
    return e.repeat.weekdays & 0x7F ? e.repeat.weekdays & 0x7F : 1u << weekday_of_day_number(start);
}

uint32_t monthly_days(const ScheduleEntry& e) {
    return e.repeat.month_days != 0 ? e.repeat.month_days : 1u << e.day;
}

bool any_nth(const RepeatRule& r) {
    for (uint8_t w : r.nth_weekdays)
        if (w & 0x7F) return true;
    return false;
}

// The slot (0..3, or kNthLast for a fifth) of the start's weekday within its month.
int nth_of_day(int day) { return (day - 1) / 7 < 4 ? (day - 1) / 7 : kNthLast; }

uint32_t kind_pattern(const ScheduleEntry& e, long long start, const Month& f);

// The days of month f on which the rule of e (starting on day number start) puts an
// occurrence, before its end and skipped days: the pattern of its kind alone.
uint32_t rule_pattern(const ScheduleEntry& e, long long start, const Month& f) {
    return kind_pattern(e, start, f) & day_range(1, f.len);
}

uint32_t kind_pattern(const ScheduleEntry& e, long long start, const Month& f) {
    const RepeatRule& r = e.repeat;
    const int n = interval_of(r);
    switch (r.kind) {
    case RepeatKind::kDaily: {
        const int off = floor_mod(start - f.first, n);  // days from day 1 to the first one
        return 1 + off <= 31 ? every_nth_bit(n) << (1 + off) : 0;
    }
    case RepeatKind::kWeekly: {
        const uint32_t turned = turn_weekdays(weekly_days(e, start), f.wd1);
        const uint64_t weeks = (uint64_t)turned | (uint64_t)turned << 7 | (uint64_t)turned << 14 |
                               (uint64_t)turned << 21 | (uint64_t)turned << 28;
        const uint32_t all = static_cast<uint32_t>(weeks << 1);
        if (n == 1) return all;
        // Weeks counted from the one the rule starts in, each beginning on week_start.
        const long long anchor = start - floor_mod(weekday_of_day_number(start) - r.week_start % 7, 7);
        const long long from_anchor = f.first - anchor;
        long long week = (from_anchor >= 0 ? from_anchor : from_anchor - 6) / 7;
        int lo = 1, hi = 7 - floor_mod(from_anchor, 7);
        uint32_t active = 0;
        for (; lo <= f.len; ++week, lo = hi + 1, hi += 7)
            if (floor_mod(week, n) == 0) active |= day_range(lo, hi);
        return all & active;
    }
    case RepeatKind::kMonthlyByDay:
    case RepeatKind::kMonthlyByWeekday: {
        const long long months = f.index - (static_cast<long long>(e.year) * 12 + e.month - 1);
        if (months < 0 || months % n != 0) return 0;
        if (r.kind == RepeatKind::kMonthlyByDay) {
            const uint32_t want = monthly_days(e);
            return (want & day_range(1, f.len)) | ((want & kMonthLastDay) ? 1u << f.len : 0u);
        }
        uint8_t slots[kNthSlots];
        memcpy(slots, r.nth_weekdays, sizeof slots);
        if (!any_nth(r)) {
            memset(slots, 0, sizeof slots);
            slots[nth_of_day(e.day)] = static_cast<uint8_t>(1u << weekday_of_day_number(start));
        }
        uint32_t days = 0;
        for (int k = 0; k < 4; ++k)
            if (slots[k] & 0x7F) days |= turn_weekdays(slots[k], f.wd1) << (1 + 7 * k);
        if (slots[kNthLast] & 0x7F)
            days |= turn_weekdays(slots[kNthLast], (f.wd1 + f.len - 7) % 7) << (f.len - 6);
        return days;
    }
    case RepeatKind::kYearly:
        if (f.m != e.month || (f.y - e.year) % n != 0 || f.y < e.year) return 0;
        return e.day <= f.len ? 1u << e.day : 0u;
    case RepeatKind::kNone:
        break;
    }
    return 0;
}

// The months between two with occurrences: every month, every n months or every n years.
long long months_per_step(const RepeatRule& r) {
    switch (r.kind) {
    case RepeatKind::kMonthlyByDay:
    case RepeatKind::kMonthlyByWeekday:
        return interval_of(r);
    case RepeatKind::kYearly:
        return 12LL * interval_of(r);
    default:
        return 1;
    }
}

uint32_t count_key_of(const ScheduleEntry& e) {
    const RepeatRule& r = e.repeat;
    const int fields[] = {static_cast<int>(r.kind), r.interval, r.weekdays, r.week_start, r.count,
                          static_cast<int>(r.month_days), e.year, e.month, e.day};
    uint64_t h = fnv1a_64(fields, sizeof fields);
    h = fnv1a_64(r.nth_weekdays, sizeof r.nth_weekdays, h);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

constexpr long long kNoEnd = LLONG_MAX;
// Counted occurrences are looked for up to this year; a count not reached by then has no end.
constexpr int kCountLastYear = 9999;

// The day number of the count-th occurrence, walking the months that can hold one.
long long counted_last_day(const ScheduleEntry& e, long long start) {
    int left = e.repeat.count;
    if (left < 1) return start - 1;
    const long long step = months_per_step(e.repeat);
    for (Month f = month_of(e.year, e.month); f.y <= kCountLastYear;) {
        uint32_t days = rule_pattern(e, start, f);
        if (f.first <= start) days &= ~day_range(1, static_cast<int>(start - f.first));
        const int here = __builtin_popcount(days);
        if (here >= left) {
            while (--left > 0) days &= days - 1;
            return f.first + __builtin_ctz(days) - 1;
        }
        left -= here;
        const long long next = f.index + step;
        f = month_of(static_cast<int>(next / 12), static_cast<int>(next % 12) + 1);
    }
    return kNoEnd;
}

// The day number after which the rule puts no occurrence.
long long rule_last_day(const ScheduleEntry& e, long long start) {
    const RepeatRule& r = e.repeat;
    switch (r.end) {
    case RepeatEnd::kUntil: {
        const CalendarDate u = date_of_ymd(r.until);
        return is_real_date(u.year, u.month, u.day) ? civil_day_number(u.year, u.month, u.day) : kNoEnd;
    }
    case RepeatEnd::kCount: {
        if (r.count_last != 0 && r.count_key == count_key_of(e)) {
            const CalendarDate c = date_of_ymd(r.count_last);
            return r.count_last < 0 ? kNoEnd : civil_day_number(c.year, c.month, c.day);
        }
        return counted_last_day(e, start);
    }
    case RepeatEnd::kNever:
        break;
    }
    return kNoEnd;
}

// Skipped days of month f, as bits, from the ascending list.
uint32_t skipped_in(const ScheduleEntry& e, const Month& f) {
    const int n = e.skip_count < kMaxSkips ? e.skip_count : kMaxSkips;
    if (n == 0) return 0;
    const int lo = f.y * 10000 + f.m * 100;
    int a = 0, b = n;
    while (a < b) {
        const int mid = (a + b) / 2;
        if (e.skips[mid] < lo) a = mid + 1;
        else b = mid;
    }
    uint32_t days = 0;
    for (int i = a; i < n && e.skips[i] < lo + 100; ++i) {
        const int d = e.skips[i] - lo;
        if (d >= 1 && d <= 31) days |= 1u << d;
    }
    return days;
}

// The days of month f on which an occurrence of e starts.
uint32_t starts_in(const ScheduleEntry& e, const Month& f) {
    uint32_t days;
    if (e.repeat.kind == RepeatKind::kNone) {
        days = days_of_month(e, f.y, f.m, f.len);
    } else {
        if (!rule_applies(e)) return 0;
        const long long start = civil_day_number(e.year, e.month, e.day);
        const long long last_in_month = f.first + f.len - 1;
        if (last_in_month < start) return 0;
        const long long end = rule_last_day(e, start);
        if (f.first > end) return 0;
        const int lo = start > f.first ? static_cast<int>(start - f.first + 1) : 1;
        const int hi = end < last_in_month ? static_cast<int>(end - f.first + 1) : f.len;
        days = rule_pattern(e, start, f) & day_range(lo, hi);
    }
    if (days != 0 && e.skip_count != 0) days &= ~skipped_in(e, f);
    return days;
}

// Every bit of days and the span bits after each (within the month's 32 bits).
uint32_t spread_days(uint32_t days, int span) {
    uint64_t out = days;
    int covered = 1;  // shifts 0..covered-1 are in
    while (covered <= span) {
        const int more = covered <= span + 1 - covered ? covered : span + 1 - covered;
        out |= out << more;
        covered += more;
        if (covered > 32) break;
    }
    return static_cast<uint32_t>(out);
}

// Whether the entry's days may fall in another month than the one asked for.
bool simple(const ScheduleEntry& e) {
    return e.repeat.kind == RepeatKind::kNone && e.span_days == 0 && e.skip_count == 0;
}

uint32_t covered_in(const ScheduleEntry& e, const Month& f) {
    const int span = entry_covered_span(e);
    uint32_t days = starts_in(e, f);
    if (span == 0) return days;
    days = spread_days(days, span) & day_range(1, f.len);
    // The latest start of the months before that reaches this one.
    for (Month p = month_before(f); p.first + p.len - 1 + span >= f.first; p = month_before(p)) {
        const uint32_t there = starts_in(e, p);
        if (there == 0) continue;
        const long long reach = p.first + highest_day(there) - 1 + span;
        if (reach >= f.first) days |= day_range(1, static_cast<int>(reach - f.first + 1)) & day_range(1, f.len);
        break;
    }
    return days;
}

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

EntryFault repeat_fault(const ScheduleEntry* e) {
    const RepeatRule& r = e->repeat;
    if (r.kind == RepeatKind::kNone) return EntryFault::kNone;
    if (r.kind > RepeatKind::kYearly || e->year == -1 || is_day_code(e->day) || r.interval < 1 ||
        r.interval > kRepeatIntervalMax)
        return EntryFault::kRepeatInvalid;
    if ((r.kind == RepeatKind::kWeekly && ((r.weekdays & 0x7F) == 0 || r.weekdays > 0x7F || r.week_start > 6)) ||
        (r.kind == RepeatKind::kMonthlyByDay && r.month_days == 0) ||
        (r.kind == RepeatKind::kMonthlyByWeekday && !any_nth(r)))
        return EntryFault::kRepeatInvalid;
    for (uint8_t w : r.nth_weekdays)
        if (w > 0x7F) return EntryFault::kRepeatInvalid;
    switch (r.end) {
    case RepeatEnd::kNever:
        return EntryFault::kNone;
    case RepeatEnd::kUntil: {
        const CalendarDate u = date_of_ymd(r.until);
        if (!is_real_date(u.year, u.month, u.day) || r.until < e->year * 10000 + e->month * 100 + e->day)
            return EntryFault::kRepeatEndInvalid;
        return EntryFault::kNone;
    }
    case RepeatEnd::kCount:
        return r.count < 1 || r.count > kRepeatCountMax ? EntryFault::kRepeatEndInvalid : EntryFault::kNone;
    }
    return EntryFault::kRepeatInvalid;
}

EntryFault extent_fault(const ScheduleEntry* e) {
    if (e->span_days < 0 || e->span_days > kMaxSpanDays) return EntryFault::kSpanInvalid;
    if (e->has_end_time) {
        if (!e->has_time || e->end_hour < 0 || e->end_hour > 23 || e->end_minute < 0 || e->end_minute > 59)
            return EntryFault::kSpanInvalid;
        if (e->span_days == 0 && e->end_hour * 60 + e->end_minute <= e->hour * 60 + e->minute)
            return EntryFault::kSpanInvalid;
    }
    if (e->minutes_before < 0 || e->minutes_before > kMaxLeadMinutes) return EntryFault::kLeadInvalid;
    if (e->day_alarm && (e->has_time || e->day_alarm_minute < -kMaxLeadMinutes || e->day_alarm_minute > 1439))
        return EntryFault::kLeadInvalid;
    if (e->skip_count > kMaxSkips) return EntryFault::kSkipsInvalid;
    for (int i = 0; i < e->skip_count; ++i) {
        const CalendarDate s = date_of_ymd(e->skips[i]);
        if (!is_real_date(s.year, s.month, s.day)) return EntryFault::kSkipsInvalid;
    }
    return EntryFault::kNone;
}

// The minutes from 00:00 of an occurrence's first day to its alarm; false when it has none.
bool alarm_offset(const ScheduleEntry& e, long long* minutes) {
    if (!has_alarm(e)) return false;
    if (e.has_time) {
        if (e.hour < 0 || e.hour > 23 || e.minute < 0 || e.minute > 59) return false;
        *minutes = static_cast<long long>(e.hour) * 60 + e.minute - e.minutes_before;
        return true;
    }
    if (!e.day_alarm) return false;
    *minutes = e.day_alarm_minute;
    return true;
}

// Instants count from 00:00 of this day number, 1 January 1601.
constexpr long long kDay1601 = -134774;

// Day numbers within which alarm instants are formed: from a week after the first day of the
// calendar time to the end of 9999.
constexpr long long kFirstAlarmDay = kDay1601 + 8;
constexpr long long kLastAlarmDay = 2932896;

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
        const char a = typed ? ascii_upper(s[0]) : s[0];
        const char b = typed ? ascii_upper(s[1]) : s[1];
        if (a == c.text[0] && b == c.text[1]) return c.code;
    }
    return 0;
}

int entry_covered_span(const ScheduleEntry& e) {
    int span = e.span_days < 0 ? 0 : e.span_days > kMaxSpanDays ? kMaxSpanDays : e.span_days;
    if (span > 0 && e.has_time && e.has_end_time && e.end_hour == 0 && e.end_minute == 0) --span;
    return span;
}

uint32_t entry_month_days(const ScheduleEntry& e, int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (simple(e)) return days_of_month(e, year, month, days_in_month(month, year));
    return covered_in(e, month_of(year, month));
}

uint32_t entry_month_starts(const ScheduleEntry& e, int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (simple(e)) return days_of_month(e, year, month, days_in_month(month, year));
    return starts_in(e, month_of(year, month));
}

bool entry_on_date(const ScheduleEntry* e, int y, int m, int d) {
    return e != nullptr && d >= 1 && d <= 31 && ((entry_month_days(*e, y, m) >> d) & 1u) != 0;
}

bool entry_occurrence_covering(const ScheduleEntry& e, const CalendarDate& day,
                               CalendarDate* start) {
    if (!is_real_date(day.year, day.month, day.day)) return false;
    const long long target = civil_day_number(day.year, day.month, day.day);
    const int span = entry_covered_span(e);
    for (Month f = month_of(day.year, day.month); f.first + f.len - 1 + span >= target; f = month_before(f)) {
        uint32_t days = starts_in(e, f);
        if (f.first + f.len - 1 > target) days &= day_range(1, static_cast<int>(target - f.first + 1));
        if (days == 0) continue;
        const long long latest = f.first + highest_day(days) - 1;
        if (latest + span < target) return false;
        *start = civil_date_of(latest);
        return true;
    }
    return false;
}

DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month) {
    DayMarks marks = {0, 0};
    if (!list || count < 0 || month < 1 || month > 12) return marks;
    const int n = days_in_month(month, year);
    Month f = {};
    bool framed = false;
    for (int i = 0; i < count; ++i) {
        const ScheduleEntry& e = list[i];
        uint32_t days;
        if (simple(e)) {
            days = days_of_month(e, year, month, n);
        } else {
            if (!framed) f = month_of(year, month), framed = true;
            days = covered_in(e, f);
        }
        if (days != 0) (e.holiday != 0 ? marks.holiday : marks.marked) |= days;
    }
    return marks;
}

DayMarks schedule_month_marks(const ScheduleList& list, int year, int month) {
    KeptMonthMarks& k = list.kept_marks;
    const int count = schedule_live_count(list);
    if (k.valid && k.generation == list.generation && k.count == count && k.year == year && k.month == month)
        return k.marks;
    k.marks = month_marks(list.entries, count, year, month);
    k.valid = true;
    k.generation = list.generation;
    k.count = count;
    k.year = year;
    k.month = month;
    return k.marks;
}

bool entry_next_occurrence(const ScheduleEntry& e, const CalendarDate& from, CalendarDate* out) {
    if (from.month < 1 || from.month > 12 || from.day < 1 || from.day > 31) return false;
    if (rule_applies(e)) {
        // Only the months a step of the rule reaches can hold an occurrence; past its end or
        // the last year looked at, none comes.
        const long long start = civil_day_number(e.year, e.month, e.day);
        const long long end = rule_last_day(e, start);
        const long long step = months_per_step(e.repeat);
        const long long first_index = static_cast<long long>(e.year) * 12 + e.month - 1;
        const long long from_index = static_cast<long long>(from.year) * 12 + from.month - 1;
        long long index = first_index;
        if (from_index > first_index) index += (from_index - first_index + step - 1) / step * step;
        for (; index < (kCountLastYear + 1) * 12LL; index += step) {
            const Month f = month_of(static_cast<int>(index / 12), static_cast<int>(index % 12) + 1);
            if (f.first > end) return false;
            uint32_t days = starts_in(e, f);
            if (index == from_index) days &= ~0u << from.day;
            if (days != 0) {
                *out = CalendarDate{f.y, f.m, first_marked_day(days)};
                return true;
            }
        }
        return false;
    }
    const bool every_year = e.year == -1;
    const int first = every_year ? from.year : e.year;
    if (first < from.year) return false;
    const int last = !every_year                          ? e.year
                     : from.year > INT_MAX - kYearsToRecur ? INT_MAX
                                                           : from.year + kYearsToRecur;
    for (int y = first;; ++y) {
        for (int m = y == from.year ? from.month : 1; m <= 12; ++m) {
            uint32_t days = entry_month_starts(e, y, m);
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
        // The rest of that month at once: the days are known.
        uint32_t days = entry_month_starts(e, at.year, at.month) & (~0u << at.day);
        for (; days != 0 && n < max; days &= days - 1) {
            const CalendarDate d{at.year, at.month, __builtin_ctz(days)};
            if (date_after(d, to)) return n;
            out[n++] = d;
        }
        next = at.month == 12 ? CalendarDate{at.year + 1, 1, 1} : CalendarDate{at.year, at.month + 1, 1};
        if (date_after(next, to)) break;
    }
    return n;
}

void entry_settle(ScheduleEntry* e) {
    // Skipped days: ascending, each once, within the room.
    int n = e->skip_count < kMaxSkips ? e->skip_count : kMaxSkips;
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && e->skips[j - 1] > e->skips[j]; --j) {
            const int32_t t = e->skips[j];
            e->skips[j] = e->skips[j - 1];
            e->skips[j - 1] = t;
        }
    int kept = 0;
    for (int i = 0; i < n; ++i)
        if (kept == 0 || e->skips[kept - 1] != e->skips[i]) e->skips[kept++] = e->skips[i];
    for (int i = kept; i < kMaxSkips; ++i) e->skips[i] = 0;
    e->skip_count = static_cast<uint8_t>(kept);

    RepeatRule& r = e->repeat;
    r.count_last = 0;
    r.count_key = 0;
    if (r.end == RepeatEnd::kCount && rule_applies(*e)) {
        const long long last = counted_last_day(*e, civil_day_number(e->year, e->month, e->day));
        r.count_last = last == kNoEnd ? -1 : date_ymd(civil_date_of(last));
        if (r.count_last == 0) r.count_last = -1;
        r.count_key = count_key_of(*e);
    }
}

bool entry_skip_day(ScheduleEntry* series, const CalendarDate& day) {
    if (!is_real_date(day.year, day.month, day.day)) return false;
    if (((entry_month_starts(*series, day.year, day.month) >> day.day) & 1u) == 0) return false;
    if (series->skip_count >= kMaxSkips) return false;
    const int32_t ymd = date_ymd(day);
    int i = series->skip_count;
    for (; i > 0 && series->skips[i - 1] > ymd; --i) series->skips[i] = series->skips[i - 1];
    series->skips[i] = ymd;
    ++series->skip_count;
    return true;
}

bool entry_detach_occurrence(ScheduleEntry* series, const CalendarDate& day,
                             ScheduleEntry* single) {
    ScheduleEntry copy = *series;
    if (!entry_skip_day(series, day)) return false;
    entry_ensure_uid(series);
    copy.year = day.year;
    copy.month = day.month;
    copy.day = day.day;
    memset(&copy.repeat, 0, sizeof copy.repeat);
    copy.skip_count = 0;
    memset(copy.skips, 0, sizeof copy.skips);
    copy.recur_date = date_ymd(day);
    copy.recur_has_time = copy.has_time && copy.hour >= 0 && copy.minute >= 0 ? 1 : 0;
    copy.recur_hour = static_cast<int8_t>(copy.recur_has_time ? copy.hour : 0);
    copy.recur_minute = static_cast<int8_t>(copy.recur_has_time ? copy.minute : 0);
    memcpy(copy.uid, series->uid, sizeof copy.uid);
    copy.last_edited = 0;
    entry_update_alarm_at(&copy);
    *single = copy;
    return true;
}

void compute_alarm_at(ScheduleEntry* e) {
    if (!e) return;
    uint64_t ft = 0;
    if (!e->has_time && e->day_alarm) {
        // An entry without a time rings at a time of its day (or a day before).
        e->alarm_at = e->year >= 1 ? entry_alarm_of(*e, CalendarDate{e->year, e->month, e->day}) : 0;
        return;
    }
    if (!wall_time_to_filetime(e->year, e->month, e->day, e->hour, e->minute, 0, 0, &ft)) {
        e->alarm_at = 0;
        return;
    }
    // Unsigned arithmetic: a stored minutes_before outside its range wraps instead of
    // overflowing.
    e->alarm_at = ft - (uint64_t)(int64_t)e->minutes_before * kTicksPerMinute;
}

void entry_update_alarm_at(ScheduleEntry* e) {
    if (!entry_rings(*e)) e->alarm_at = 0;
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

bool entry_rings(const ScheduleEntry& e) {
    long long offset;
    return alarm_offset(e, &offset);
}

uint64_t entry_alarm_of(const ScheduleEntry& e, const CalendarDate& day) {
    long long offset;
    if (!alarm_offset(e, &offset) || !is_real_date(day.year, day.month, day.day)) return 0;
    const long long minutes = civil_day_number(day.year, day.month, day.day) * 1440 + offset;
    if (minutes < kFirstAlarmDay * 1440 || minutes > kLastAlarmDay * 1440) return 0;
    return static_cast<uint64_t>(minutes - kDay1601 * 1440) * kTicksPerMinute;
}

int entry_alarms_between(const ScheduleEntry& e, uint64_t after, uint64_t upto,
                         OccurrenceAlarm* out, int max) {
    long long offset;
    if (max < 1 || upto <= after || !alarm_offset(e, &offset)) return 0;
    // The days whose occurrence rings in the window: its instant is 00:00 of the day plus
    // the offset, and instants fall on whole minutes.
    const long long first_minute = static_cast<long long>(after / kTicksPerMinute) + 1 - offset;
    const long long last_minute = static_cast<long long>(upto / kTicksPerMinute) - offset;
    const long long first_day = (first_minute >= 0 ? first_minute : first_minute - 1439) / 1440 + kDay1601;
    const long long last_day = (last_minute >= 0 ? last_minute : last_minute - 1439) / 1440 + kDay1601;
    if (last_day < kFirstAlarmDay || first_day > kLastAlarmDay) return 0;
    const CalendarDate to = civil_date_of(last_day);
    int found = 0;
    CalendarDate day;
    for (CalendarDate from = civil_date_of(first_day);
         found < max && entry_next_occurrence(e, from, &day) && !date_after(day, to);
         from = civil_date_of(civil_day_number(day.year, day.month, day.day) + 1)) {
        const uint64_t at = entry_alarm_of(e, day);
        if (at > after && at <= upto) out[found++] = OccurrenceAlarm{at, day};
    }
    return found;
}

int find_due_occurrences_between(const ScheduleList& list, uint64_t after, uint64_t upto,
                                 DueAlarm* out, int max) {
    if (upto >= kTicksPerDay && after < upto - kTicksPerDay) after = upto - kTicksPerDay;
    if (after >= upto) return 0;
    const int n = schedule_live_count(list);
    int found = 0;
    OccurrenceAlarm at[4];
    for (int i = 0; i < n && found < max; ++i) {
        const int k = entry_alarms_between(list.entries[i], after, upto, at, 4);
        for (int j = 0; j < k && found < max; ++j) out[found++] = DueAlarm{i, at[j].at, at[j].day};
    }
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
    if (fault == EntryFault::kNone) fault = repeat_fault(e);
    if (fault == EntryFault::kNone) fault = extent_fault(e);
    return fault;
}
