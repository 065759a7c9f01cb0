#include "schedule/entry_days.h"

#include "calendar/date.h"

int entry_days(const ScheduleEntry* e, IcalDate* out) {
    if (e->month < 1 || e->month > 12) return 0;
    int n = 0;
    const int from = e->year == -1 ? kIcalFirstYear : e->year;
    const int to = e->year == -1 ? kIcalLastYear : e->year;
    for (int y = from < kIcalFirstYear ? kIcalFirstYear : from; y <= to && y <= kIcalLastYear;
         ++y) {
        // One month holds at most one day of an entry: its day resolved for the year.
        const int d = resolve_day(e->day, e->month, y);
        if (d < 1 || d > days_in_month(e->month, y)) continue;
        if (!entry_on_date(e, y, e->month, d)) continue;
        out[n++] = IcalDate{(int16_t)y, (int8_t)e->month, (int8_t)d};
    }
    return n;
}
