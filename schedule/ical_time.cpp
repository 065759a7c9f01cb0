#include "schedule/ical_time.h"

#include "calendar/date.h"

bool ical_date_valid(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    return d <= days_in_month(m, y);
}

// The usual era-based conversion: a 400-year era has a fixed number of days.
int64_t ical_days_from_civil(int y, int m, int d) { return civil_day_number(y, m, d); }

void ical_civil_from_days(int64_t z, int* y, int* m, int* d) {
    const CalendarDate c = civil_date_of(z);
    *y = c.year;
    *m = c.month;
    *d = c.day;
}

namespace {

int64_t minute_serial(const IcalTime& t) {
    return ical_days_from_civil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
}

int64_t floor_div(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

IcalTime ical_add_minutes(const IcalTime& t, int64_t minutes) {
    const int64_t total = minute_serial(t) + minutes;
    const int64_t days = floor_div(total, 1440);
    const int64_t in_day = total - days * 1440;
    IcalTime r = t;
    ical_civil_from_days(days, &r.year, &r.month, &r.day);
    r.hour = (int)(in_day / 60);
    r.minute = (int)(in_day % 60);
    return r;
}

int64_t ical_minutes_between(const IcalTime& a, const IcalTime& b) {
    return minute_serial(b) - minute_serial(a);
}

int64_t ical_time_seconds(const IcalTime& t) { return minute_serial(t) * 60 + t.second; }

int ical_time_compare(const IcalTime& a, const IcalTime& b) {
    const int64_t sa = ical_time_seconds(a);
    const int64_t sb = ical_time_seconds(b);
    return sa < sb ? -1 : (sa > sb ? 1 : 0);
}

namespace {

bool parse_digits(const char* s, size_t n, int* v) {
    int r = 0;
    for (size_t i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        r = r * 10 + (s[i] - '0');
    }
    *v = r;
    return true;
}

}  // namespace

bool ical_parse_time(const char* s, size_t n, IcalTime* t, bool* is_date, bool* utc) {
    IcalTime r = {0, 0, 0, 0, 0, 0};
    if (n < 8 || !parse_digits(s, 4, &r.year) || !parse_digits(s + 4, 2, &r.month) ||
        !parse_digits(s + 6, 2, &r.day) || !ical_date_valid(r.year, r.month, r.day))
        return false;
    bool z = false;
    if (n == 8) {
        *is_date = true;
    } else {
        if (n != 15 && !(n == 16 && (s[15] == 'Z' || s[15] == 'z'))) return false;
        if (s[8] != 'T' && s[8] != 't') return false;
        if (!parse_digits(s + 9, 2, &r.hour) || !parse_digits(s + 11, 2, &r.minute) ||
            !parse_digits(s + 13, 2, &r.second))
            return false;
        if (r.hour > 23 || r.minute > 59 || r.second > 60) return false;
        if (r.second == 60) r.second = 59;
        z = n == 16;
        *is_date = false;
    }
    *utc = z;
    *t = r;
    return true;
}

void ical_format_date(const IcalTime& t, char* out) {
    const int v[3] = {t.year, t.month, t.day};
    const int w[3] = {4, 2, 2};
    char* p = out;
    for (int i = 0; i < 3; ++i) {
        int x = v[i];
        for (int k = w[i] - 1; k >= 0; --k) {
            p[k] = (char)('0' + x % 10);
            x /= 10;
        }
        p += w[i];
    }
    *p = '\0';
}

void ical_format_date_time(const IcalTime& t, char* out) {
    ical_format_date(t, out);
    const int v[3] = {t.hour, t.minute, t.second};
    char* p = out + 8;
    *p++ = 'T';
    for (int i = 0; i < 3; ++i) {
        *p++ = (char)('0' + v[i] / 10 % 10);
        *p++ = (char)('0' + v[i] % 10);
    }
    *p = '\0';
}
