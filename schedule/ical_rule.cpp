#include "schedule/ical_rule.h"

#include <string.h>

#include "calendar/date.h"
#include "schedule/ical_lines.h"

namespace {

const char* const kWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// A signed decimal number of the whole of s[0..n); false when it is not one or is large.
bool parse_int(const char* s, size_t n, int* v) {
    size_t i = 0;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i == n || n - i > 6) return false;
    int r = 0;
    for (; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        r = r * 10 + (s[i] - '0');
    }
    *v = neg ? -r : r;
    return true;
}

// A BYDAY item: an optional signed ordinal and a two-letter weekday.
bool parse_byday(const char* s, size_t n, int* nth, int* weekday) {
    if (n < 2) return false;
    int wd = -1;
    for (int k = 0; k < 7; ++k)
        if (ical_word_is(s + n - 2, 2, kWeekdays[k])) wd = k;
    if (wd < 0) return false;
    int ord = 0;
    if (n > 2 && (!parse_int(s, n - 2, &ord) || ord == 0 || ord < -5 || ord > 5)) return false;
    *nth = ord;
    *weekday = wd;
    return true;
}

// Number of comma-separated items of a part's value.
size_t item_count(const char* s, size_t n) {
    size_t c = 1;
    for (size_t i = 0; i < n; ++i) c += s[i] == ',';
    return c;
}

struct Parts {
    bool yearly = false, other_part = false;
    int interval = 1;
    int month = 0;          // BYMONTH, 0 = absent
    int monthday = 0;       // single BYMONTHDAY
    int monthday_week = 0;  // BYMONTHDAY as seven days in a row: 1..4 or -1, 0 = not so
    int byday_nth = 0, byday_wd = -1;
    int setpos = 0;
    bool has_monthday = false, has_byday = false, bad = false;
};

// BYMONTHDAY=8,9,10,11,12,13,14 and the like: the week of the month those days make up.
int week_of_days(const char* s, size_t n) {
    int first = 0, prev = 0, count = 0;
    size_t i = 0;
    while (i <= n) {
        size_t j = i;
        while (j < n && s[j] != ',') ++j;
        int v;
        if (!parse_int(s + i, j - i, &v)) return 0;
        if (count == 0)
            first = v;
        else if (v != prev + 1)
            return 0;
        prev = v;
        ++count;
        i = j + 1;
    }
    if (count != 7) return 0;
    if (first == 1 || first == 8 || first == 15 || first == 22) return (first - 1) / 7 + 1;
    return first == -7 ? -1 : 0;
}

void take_part(const char* k, size_t kn, const char* v, size_t vn, IcalRule* r, Parts* p) {
    int x;
    if (ical_word_is(k, kn, "FREQ")) {
        p->yearly = ical_word_is(v, vn, "YEARLY");
    } else if (ical_word_is(k, kn, "INTERVAL")) {
        if (!parse_int(v, vn, &p->interval)) p->bad = true;
    } else if (ical_word_is(k, kn, "COUNT")) {
        if (parse_int(v, vn, &x) && x > 0)
            r->count = x;
        else
            p->bad = true;
    } else if (ical_word_is(k, kn, "UNTIL")) {
        bool is_date, utc;
        if (ical_parse_time(v, vn, &r->until, &is_date, &utc)) {
            r->has_until = true;
            if (is_date) r->until.hour = 23, r->until.minute = 59, r->until.second = 59;
        } else {
            p->bad = true;
        }
    } else if (ical_word_is(k, kn, "WKST")) {
        // The week start changes nothing for one day a year.
    } else if (ical_word_is(k, kn, "BYMONTH")) {
        if (!parse_int(v, vn, &p->month) || p->month < 1 || p->month > 12) p->bad = true;
    } else if (ical_word_is(k, kn, "BYMONTHDAY")) {
        p->has_monthday = true;
        if (item_count(v, vn) > 1)
            p->monthday_week = week_of_days(v, vn);
        else if (!parse_int(v, vn, &p->monthday) || p->monthday == 0 || p->monthday < -31 ||
                 p->monthday > 31)
            p->bad = true;
        if (item_count(v, vn) > 1 && p->monthday_week == 0) p->bad = true;
    } else if (ical_word_is(k, kn, "BYDAY")) {
        p->has_byday = true;
        if (item_count(v, vn) > 1 || !parse_byday(v, vn, &p->byday_nth, &p->byday_wd))
            p->bad = true;
    } else if (ical_word_is(k, kn, "BYSETPOS")) {
        if (!parse_int(v, vn, &p->setpos) || p->setpos == 0 || p->setpos < -5 || p->setpos > 5)
            p->bad = true;
    } else {
        p->other_part = true;
    }
}

}  // namespace

int ical_weekday(int y, int m, int d) {
    const int64_t days = ical_days_from_civil(y, m, d);
    return (int)(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
}

void ical_parse_rule(const char* s, size_t n, const IcalTime& dtstart, IcalRule* r) {
    memset(r, 0, sizeof *r);
    Parts p;
    size_t i = 0;
    while (i < n) {
        size_t j = i;
        while (j < n && s[j] != ';') ++j;
        size_t eq = i;
        while (eq < j && s[eq] != '=') ++eq;
        if (eq < j)
            take_part(s + i, eq - i, s + eq + 1, j - eq - 1, r, &p);
        else if (j > i)
            p.bad = true;
        i = j + 1;
    }
    if (!p.yearly || p.bad || p.other_part || p.interval != 1) return;

    r->month = p.month ? p.month : dtstart.month;
    if (p.has_byday) {
        // The n-th weekday of a month: "2MO", or "MO" picked by BYSETPOS or by a week of days.
        if (!p.month) return;
        int nth = p.byday_nth;
        if (nth == 0 && p.setpos)
            nth = p.setpos;
        else if (nth == 0 && p.monthday_week)
            nth = p.monthday_week;
        else if (p.setpos || p.has_monthday)
            return;
        if (nth == 0) return;
        r->nth = nth;
        r->weekday = p.byday_wd;
    } else {
        if (p.setpos || p.monthday_week) return;
        if (p.has_monthday && !p.month) return;  // every month's day
        r->day = p.has_monthday ? p.monthday : dtstart.day;
    }
    r->yearly_one_day = true;
}

int ical_rule_day(const IcalRule& r, int y) {
    if (!r.yearly_one_day || y < 1 || y > 9999) return 0;
    const int len = days_in_month(r.month, y);
    if (r.nth == 0) {
        const int d = r.day > 0 ? r.day : len + 1 + r.day;
        return d >= 1 && d <= len ? d : 0;
    }
    if (r.nth > 0) {
        const int first = 1 + (r.weekday - ical_weekday(y, r.month, 1) + 7) % 7;
        const int d = first + 7 * (r.nth - 1);
        return d <= len ? d : 0;
    }
    const int last = len - (ical_weekday(y, r.month, len) - r.weekday + 7) % 7;
    const int d = last - 7 * (-r.nth - 1);
    return d >= 1 ? d : 0;
}
