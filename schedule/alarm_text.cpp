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

namespace {

// An entry without a time rings on its day or days before it.
void format_day_alarm(char* out, size_t size, const ScheduleEntry* e, int memo_len, bool missed) {
    const int before = e->day_alarm_minute < 0 ? (-e->day_alarm_minute + 1439) / 1440 : 0;
    if (missed)
        std::snprintf(out, size, kAlarmDayMissedFormat, e->year, e->month, e->day, memo_len, e->memo);
    else if (before > 0)
        std::snprintf(out, size, kAlarmDayBeforeFormat, e->year, e->month, e->day, memo_len, e->memo,
                      before);
    else
        std::snprintf(out, size, kAlarmDayFormat, e->year, e->month, e->day, memo_len, e->memo);
}

}  // namespace

void format_alarm_entry(char* out, size_t size, const ScheduleEntry* e, bool twelve_hour,
                        bool mark_after, bool missed) {
    // The memo is bounded by its record even if it lost its terminator.
    const int memo_len = static_cast<int>(strnlen(e->memo, sizeof e->memo));
    if (!e->has_time && e->day_alarm) {
        format_day_alarm(out, size, e, memo_len, missed);
        return;
    }
    char time[32];
    format_alarm_time(time, sizeof time, e->hour, e->minute, twelve_hour, mark_after);
    const int lead = e->minutes_before;
    if (missed)
        std::snprintf(out, size, kAlarmMissedFormat, e->year, e->month, e->day, time, memo_len,
                      e->memo);
    else if (e->lead_unit == LeadUnit::kDays && lead > 0 && lead % 1440 == 0)
        std::snprintf(out, size, kAlarmDaysBeforeFormat, e->year, e->month, e->day, time, memo_len,
                      e->memo, lead / 1440);
    else if (e->lead_unit == LeadUnit::kHours && lead > 0 && lead % 60 == 0)
        std::snprintf(out, size, kAlarmHoursBeforeFormat, e->year, e->month, e->day, time, memo_len,
                      e->memo, lead / 60);
    else if (lead != 0)
        std::snprintf(out, size, kAlarmBeforeFormat, e->year, e->month,
                      e->day, time, memo_len, e->memo, lead);
    else
        std::snprintf(out, size, kAlarmDueFormat, e->year, e->month,
                      e->day, time, memo_len, e->memo);
}

namespace {

// Appends sep and text when both fit with the terminator; false (nothing written) if not.
bool append_part(char* out, size_t size, size_t* used, const char* sep, const char* text) {
    const size_t s = std::strlen(sep), t = std::strlen(text);
    if (*used + s + t + 1 > size) return false;
    std::memcpy(out + *used, sep, s);
    std::memcpy(out + *used + s, text, t + 1);
    *used += s + t;
    return true;
}

}  // namespace

int format_alarm_batch(char* out, size_t size, const AlarmBatch* b, bool twelve_hour,
                       bool mark_after, bool count_line) {
    if (size == 0) return 0;
    out[0] = '\0';
    size_t used = 0;
    if (count_line) {
        char line[64];
        std::snprintf(line, sizeof line, kAlarmCountFormat, b->count);
        if (!append_part(out, size, &used, "", line)) return 0;
    }
    int written = 0;
    for (int k = 0; k < b->count; ++k) {
        const AlarmItem& it = b->item[k];
        char block[256];
        format_alarm_entry(block, sizeof block, &it.entry, twelve_hour, mark_after, it.missed);
        if (!append_part(out, size, &used, used ? "\r\n\r\n" : "", block)) break;
        ++written;
    }
    return written;
}
