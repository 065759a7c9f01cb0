#include "schedule/month_marks.h"

#include "calendar/date.h"

DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month) {
    DayMarks marks = {0, 0};
    if (!list || count < 0 || month < 1 || month > 12) return marks;
    const int n = days_in_month(month, year);
    // Each entry falls on at most one day of the month: find it once per entry instead of
    // asking every entry about every day (a paint marks up to 500 entries).
    for (int i = 0; i < count; ++i) {
        const ScheduleEntry& e = list[i];
        if (e.month != month || (e.year != -1 && e.year != year)) continue;
        const int d = resolve_day(e.day, e.month, year);
        if (d < 1 || d > n) continue;
        (e.holiday != 0 ? marks.holiday : marks.marked) |= 1u << d;
    }
    return marks;
}
