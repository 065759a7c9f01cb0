#include "schedule/alarm_held_back.h"

#include <cstdio>
#include <cstring>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "resources/texts.h"
#include "schedule/alarm_text.h"
#include "schedule/entry_dates.h"

std::string held_back_notice(const ScheduleList& list, uint64_t after, uint64_t mark,
                             bool twelve_hour, bool mark_after) {
    LocalTime t;
    if (mark == 0 || !filetime_to_wall_time(mark, &t)) return std::string();
    char time[32], line[256];
    format_alarm_time(time, sizeof time, t.hour, t.minute, twelve_hour, mark_after);
    std::snprintf(line, sizeof line, kHeldBackFormat, t.year, t.month, t.day, time);
    std::string text = line;
    // Each occurrence held back, with its own day (a repeating or every-year entry's first
    // date is not the day that would have rung).
    DueAlarm held[kMaxEntries];
    const int n = find_due_occurrences_between(list, after, mark, held, kMaxEntries);
    if (n == 0) return text;
    text += kHeldBackListHead;
    for (int k = 0; k < n && k < kHeldBackLines; ++k) {
        const ScheduleEntry& e = list.entries[held[k].index];
        const CalendarDate& d = held[k].day;
        format_alarm_time(time, sizeof time, e.hour, e.minute, twelve_hour, mark_after);
        std::snprintf(line, sizeof line, kHeldBackLineFormat, d.year, d.month, d.day, time,
                      static_cast<int>(strnlen(e.memo, sizeof e.memo)), e.memo);
        text += line;
    }
    if (n > kHeldBackLines) {
        std::snprintf(line, sizeof line, kHeldBackMoreFormat, n - kHeldBackLines);
        text += line;
    }
    return text;
}
