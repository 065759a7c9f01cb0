#include "schedule/alarm_mark.h"

#include <cstdio>
#include <cstring>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2079;

int digits_value(const char* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + (p[i] - '0');
    return v;
}

}  // namespace

void alarm_mark_format(char* out, size_t size, uint64_t instant) {
    if (size == 0) return;
    out[0] = '\0';
    LocalTime t;
    if (instant == 0 || !filetime_to_wall_time(instant, &t)) return;
    if (t.year < kFirstYear || t.year > kLastYear) return;
    std::snprintf(out, size, "%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute);
}

uint64_t alarm_mark_parse(const char* text) {
    if (!text || std::strlen(text) != 12) return 0;
    for (int i = 0; i < 12; ++i)
        if (text[i] < '0' || text[i] > '9') return 0;
    const int year = digits_value(text, 4);
    if (year < kFirstYear || year > kLastYear) return 0;
    return alarm_instant(year, digits_value(text + 4, 2), digits_value(text + 6, 2), digits_value(text + 8, 2),
                         digits_value(text + 10, 2));
}
