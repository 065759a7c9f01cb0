// Repeating entries for tests: a dated entry with a rule of each kind, built field by field.
#pragma once

#include <cstring>
#include <initializer_list>

#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/entry_maker.h"

inline RepeatRule repeat_rule(RepeatKind kind, int interval = 1) {
    RepeatRule r;
    std::memset(&r, 0, sizeof r);
    r.kind = kind;
    r.interval = static_cast<uint8_t>(interval);
    return r;
}

// Days of a month as bits: bit d for day d.
inline uint32_t days_mask(std::initializer_list<int> days) {
    uint32_t m = 0;
    for (int d : days) m |= 1u << d;
    return m;
}

// Weekdays as bits: 0 = Sunday.
inline uint8_t weekday_bits(std::initializer_list<int> days) {
    unsigned bits = 0;
    for (int d : days) bits |= 1u << d;
    return static_cast<uint8_t>(bits);
}

inline ScheduleEntry weekly(int y, int m, int d, std::initializer_list<int> weekdays, int interval = 1,
                            int week_start = 0) {
    ScheduleEntry e = make_entry(y, m, d, 0, "weekly");
    e.repeat = repeat_rule(RepeatKind::kWeekly, interval);
    e.repeat.weekdays = weekday_bits(weekdays);
    e.repeat.week_start = static_cast<uint8_t>(week_start);
    return e;
}

inline ScheduleEntry daily(int y, int m, int d, int interval = 1) {
    ScheduleEntry e = make_entry(y, m, d, 0, "daily");
    e.repeat = repeat_rule(RepeatKind::kDaily, interval);
    return e;
}

// On the days of the month given (-1: the last day).
inline ScheduleEntry monthly_on(int y, int m, int d, std::initializer_list<int> days, int interval = 1) {
    ScheduleEntry e = make_entry(y, m, d, 0, "monthly");
    e.repeat = repeat_rule(RepeatKind::kMonthlyByDay, interval);
    for (int day : days) e.repeat.month_days |= day == -1 ? kMonthLastDay : 1u << day;
    return e;
}

// On the nth weekday (nth 1..4, or -1 for the last) of each month.
inline ScheduleEntry monthly_nth(int y, int m, int d, std::initializer_list<int> nths, int weekday,
                                 int interval = 1) {
    ScheduleEntry e = make_entry(y, m, d, 0, "nth");
    e.repeat = repeat_rule(RepeatKind::kMonthlyByWeekday, interval);
    for (int n : nths) e.repeat.nth_weekdays[n == -1 ? kNthLast : n - 1] |= static_cast<uint8_t>(1u << weekday);
    return e;
}

inline ScheduleEntry yearly(int y, int m, int d, int interval = 1) {
    ScheduleEntry e = make_entry(y, m, d, 0, "yearly");
    e.repeat = repeat_rule(RepeatKind::kYearly, interval);
    return e;
}

inline ScheduleEntry until(ScheduleEntry e, int ymd) {
    e.repeat.end = RepeatEnd::kUntil;
    e.repeat.until = ymd;
    return e;
}

inline ScheduleEntry counted(ScheduleEntry e, int count) {
    e.repeat.end = RepeatEnd::kCount;
    e.repeat.count = static_cast<uint16_t>(count);
    return e;
}

inline ScheduleEntry skipping(ScheduleEntry e, std::initializer_list<int> ymds) {
    for (int d : ymds) e.skips[e.skip_count++] = d;
    return e;
}

inline ScheduleEntry spanning(ScheduleEntry e, int days) {
    e.span_days = static_cast<int16_t>(days);
    return e;
}

inline ScheduleEntry timed(ScheduleEntry e, int hour, int minute, int before = 0, int kind = 1) {
    e.has_time = 1;
    e.hour = hour;
    e.minute = minute;
    e.minutes_before = before;
    e.alarm_kind = static_cast<uint8_t>(kind);
    return e;
}
