// Schedule entries for tests: a blank entry (as the loaders make one) with a date, the
// holiday byte, a memo and optionally a time and an alarm kind; an entry with an alarm and
// its instant; and appending to a list.
#pragma once

#include <cstdio>

#include "schedule/entry.h"
#include "schedule/entry_dates.h"

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

// An entry with a time and an alarm whose instant is computed as the storage does.
inline ScheduleEntry make_alarm_entry(int y, int m, int d, int hour, int minute, int before,
                                      int kind = 1, const char* memo = "alarm",
                                      const char* sound = "") {
    ScheduleEntry e = make_entry(y, m, d, 0, memo, hour, minute, kind);
    e.minutes_before = before;
    std::snprintf(e.sound_file, sizeof e.sound_file, "%s", sound);
    compute_alarm_at(&e);
    return e;
}

// Appends to the list without sorting; returns the index.
inline int append_entry(ScheduleList* list, const ScheduleEntry& e) {
    list->entries[list->count] = e;
    return list->count++;
}
