// Schedule entries for tests: a blank entry (as the loaders make one) with a date, the
// holiday byte, a memo and optionally a time and an alarm kind.
#pragma once

#include <cstdio>

#include "schedule/entry.h"

inline ScheduleEntry make_entry(int year, int month, int day, int holiday = 0, const char* memo = "",
                                int hour = -1, int minute = -1, int alarm_kind = 0) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = year;
    e.month = month;
    e.day = day;
    e.holiday = (uint8_t)holiday;
    std::snprintf(e.memo, sizeof e.memo, "%s", memo);
    if (hour >= 0) {
        e.has_time = 1;
        e.hour = hour;
        e.minute = minute;
    }
    e.alarm_kind = (uint8_t)alarm_kind;
    return e;
}
