// Schedule entries for tests, portable so that the host and the Windows tests share it:
// an entry with a date, a memo and optionally a time and an alarm, and its append to the
// process-wide list.
#pragma once

#include <cstdio>

#include "schedule/entry.h"

namespace test_entries {

struct Alarm {
    int minutes_before = 0;
    int kind = 1;
    const char* sound = "";
};

// A blank entry with the date and memo; with hour and minute given it has that time.
inline ScheduleEntry dated(int y, int m, int d, const char* memo = "m", int hour = -1,
                           int minute = -1) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = y;
    e.month = m;
    e.day = d;
    e.hour = hour;
    e.minute = minute;
    e.has_time = hour != -1 && minute != -1;
    std::snprintf(e.memo, sizeof e.memo, "%s", memo);
    return e;
}

// The same with an alarm, its instant computed as the storage does.
inline ScheduleEntry alarmed(int y, int m, int d, int hour, int minute, Alarm a,
                             const char* memo = "m") {
    ScheduleEntry e = dated(y, m, d, memo, hour, minute);
    e.minutes_before = a.minutes_before;
    e.alarm_kind = static_cast<uint8_t>(a.kind);
    std::snprintf(e.sound_file, sizeof e.sound_file, "%s", a.sound);
    compute_alarm_at(&e);
    return e;
}

// Appends to the list without sorting; returns the index.
inline int append(const ScheduleEntry& e) {
    schedule_list[schedulecount] = e;
    return schedulecount++;
}

}  // namespace test_entries
