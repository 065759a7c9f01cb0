#include "schedule/alarm_text.h"

#include <cstdio>
#include <cstring>

#include "resources/texts.h"

void format_alarm_time(char* out, size_t size, int hour, int minute, bool twelve_hour,
                       bool mark_after) {
    if (!twelve_hour) {
        std::snprintf(out, size, "%2d:%02d", hour, minute);
        return;
    }
    const char* mark = "AM";
    if (hour >= 12) {
        mark = "PM";
        hour -= 12;
    }
    if (mark_after) std::snprintf(out, size, "%d:%02d %s", hour, minute, mark);
    else std::snprintf(out, size, "%s %d:%02d", mark, hour, minute);
}

void format_alarm_entry(char* out, size_t size, const ScheduleEntry* e, bool twelve_hour,
                        bool mark_after) {
    char time[32];
    format_alarm_time(time, sizeof time, e->hour, e->minute, twelve_hour, mark_after);
    // The memo is bounded by its record even if it lost its terminator.
    const int memo_len = static_cast<int>(strnlen(e->memo, sizeof e->memo));
    if (e->minutes_before != 0)
        std::snprintf(out, size, kAlarmBeforeFormat, e->year, e->month,
                      e->day, time, memo_len, e->memo, e->minutes_before);
    else
        std::snprintf(out, size, kAlarmDueFormat, e->year, e->month,
                      e->day, time, memo_len, e->memo);
}

int format_alarm_batch(char* out, size_t size, const AlarmBatch* b, const ScheduleList& list,
                       bool twelve_hour, bool mark_after) {
    if (size == 0) return 0;
    out[0] = '\0';
    size_t used = 0;
    int written = 0;
    for (int k = 0; k < b->count; ++k) {
        char block[256];
        format_alarm_entry(block, sizeof block, &list.entries[b->index[k]], twelve_hour,
                           mark_after);
        const char* sep = written ? "\r\n\r\n" : "";
        const size_t need = std::strlen(sep) + std::strlen(block);
        if (used + need + 1 > size) break;
        std::memcpy(out + used, sep, std::strlen(sep));
        std::memcpy(out + used + std::strlen(sep), block, std::strlen(block) + 1);
        used += need;
        ++written;
    }
    return written;
}
