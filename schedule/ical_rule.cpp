#include "schedule/ical_rule.h"

#include <string.h>

#include "calendar/date.h"
#include "schedule/ical_lines.h"

const char* const kIcalWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

namespace {

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

int weekday_named(const char* s, size_t n) {
    if (n != 2) return -1;
    for (int k = 0; k < 7; ++k)
        if (ical_word_is(s, 2, kIcalWeekdays[k])) return k;
    return -1;
}

// A BYDAY item: an optional signed ordinal and a two-letter weekday.
bool parse_byday(const char* s, size_t n, IcalByDay* out) {
    if (n < 2) return false;
    const int wd = weekday_named(s + n - 2, 2);
    if (wd < 0) return false;
    int ord = 0;
    if (n > 2 && (!parse_int(s, n - 2, &ord) || ord == 0 || ord < -53 || ord > 53)) return false;
    out->nth = static_cast<int8_t>(ord);
    out->weekday = static_cast<int8_t>(wd);
    return true;
}

// Calls take(item, length) for each comma-separated item; false when one is refused or
// there are more than kIcalRuleListMax.
template <typename Take>
bool each_item(const char* s, size_t n, int* count, Take take) {
    *count = 0;
    size_t i = 0;
    while (i <= n) {
        size_t j = i;
        while (j < n && s[j] != ',') ++j;
        if (*count >= kIcalRuleListMax || !take(s + i, j - i, *count)) return false;
        ++*count;
        i = j + 1;
    }
    return true;
}

const struct {
    const char* name;
    IcalFreq freq;
} kFreqs[] = {
    {"SECONDLY", IcalFreq::kSecondly}, {"MINUTELY", IcalFreq::kMinutely},
    {"HOURLY", IcalFreq::kHourly},     {"DAILY", IcalFreq::kDaily},
    {"WEEKLY", IcalFreq::kWeekly},     {"MONTHLY", IcalFreq::kMonthly},
    {"YEARLY", IcalFreq::kYearly},
};

void take_part(const char* k, size_t kn, const char* v, size_t vn, IcalRuleParts* p) {
    int x;
    if (ical_word_is(k, kn, "FREQ")) {
        p->freq = IcalFreq::kNone;
        p->freq_unknown = true;
        for (const auto& f : kFreqs)
            if (ical_word_is(v, vn, f.name)) p->freq = f.freq, p->freq_unknown = false;
    } else if (ical_word_is(k, kn, "INTERVAL")) {
        p->has_interval = true;
        if (!parse_int(v, vn, &p->interval)) p->bad = true;
    } else if (ical_word_is(k, kn, "COUNT")) {
        if (parse_int(v, vn, &x) && x > 0)
            p->count = x;
        else
            p->bad = true;
    } else if (ical_word_is(k, kn, "UNTIL")) {
        if (ical_parse_time(v, vn, &p->until, &p->until_is_date, &p->until_utc))
            p->has_until = true;
        else
            p->bad = true;
    } else if (ical_word_is(k, kn, "WKST")) {
        p->wkst = weekday_named(v, vn);
    } else if (ical_word_is(k, kn, "BYMONTH")) {
        if (!each_item(v, vn, &p->month_count, [p](const char* s, size_t n, int i) {
                int m;
                if (!parse_int(s, n, &m) || m < 1 || m > 12) return false;
                p->months[i] = static_cast<int8_t>(m);
                return true;
            }))
            p->bad = true;
    } else if (ical_word_is(k, kn, "BYMONTHDAY")) {
        if (!each_item(v, vn, &p->monthday_count, [p](const char* s, size_t n, int i) {
                int d;
                if (!parse_int(s, n, &d) || d == 0 || d < -31 || d > 31) return false;
                p->monthdays[i] = static_cast<int8_t>(d);
                return true;
            }))
            p->bad = true;
    } else if (ical_word_is(k, kn, "BYDAY")) {
        if (!each_item(v, vn, &p->byday_count, [p](const char* s, size_t n, int i) {
                return parse_byday(s, n, &p->bydays[i]);
            }))
            p->bad = true;
    } else if (ical_word_is(k, kn, "BYSETPOS")) {
        if (!each_item(v, vn, &p->setpos_count, [p](const char* s, size_t n, int i) {
                int d;
                if (!parse_int(s, n, &d) || d == 0 || d < -366 || d > 366) return false;
                p->setpos[i] = static_cast<int16_t>(d);
                return true;
            }))
            p->bad = true;
    } else {
        p->other = true;
    }
}

// BYMONTHDAY=8,9,10,11,12,13,14 and the like: the week of the month those days make up.
int week_of_days(const IcalRuleParts& p) {
    if (p.monthday_count != 7) return 0;
    for (int i = 1; i < 7; ++i)
        if (p.monthdays[i] != p.monthdays[i - 1] + 1) return 0;
    const int first = p.monthdays[0];
    if (first == 1 || first == 8 || first == 15 || first == 22) return (first - 1) / 7 + 1;
    return first == -7 ? -1 : 0;
}

}  // namespace

void ical_rule_parts(const char* s, size_t n, IcalRuleParts* p) {
    memset(p, 0, sizeof *p);
    p->interval = 1;
    p->wkst = -1;
    size_t i = 0;
    while (i < n) {
        size_t j = i;
        while (j < n && s[j] != ';') ++j;
        size_t eq = i;
        while (eq < j && s[eq] != '=') ++eq;
        if (eq < j)
            take_part(s + i, eq - i, s + eq + 1, j - eq - 1, p);
        else if (j > i)
            p->bad = true;
        i = j + 1;
    }
}

int ical_weekday(int y, int m, int d) {
    const int64_t days = ical_days_from_civil(y, m, d);
    return (int)(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
}

void ical_parse_rule(const char* s, size_t n, const IcalTime& dtstart, IcalRule* r) {
    memset(r, 0, sizeof *r);
    IcalRuleParts p;
    ical_rule_parts(s, n, &p);
    r->count = p.count;
    if (p.has_until) {
        r->has_until = true;
        r->until = p.until;
        if (p.until_is_date) r->until.hour = 23, r->until.minute = 59, r->until.second = 59;
    }
    // One day a year: a single month, day, weekday and position.
    const int week = p.monthday_count > 1 ? week_of_days(p) : 0;
    const bool bad = p.bad || p.month_count > 1 || p.byday_count > 1 || p.setpos_count > 1 ||
                     (p.monthday_count > 1 && week == 0) || (p.byday_count == 1 && (p.bydays[0].nth < -5 || p.bydays[0].nth > 5)) ||
                     (p.setpos_count == 1 && (p.setpos[0] < -5 || p.setpos[0] > 5));
    if (p.freq != IcalFreq::kYearly || bad || p.other || p.interval != 1) return;

    const int month = p.month_count ? p.months[0] : 0;
    const int setpos = p.setpos_count ? p.setpos[0] : 0;
    r->month = month ? month : dtstart.month;
    if (p.byday_count) {
        // The n-th weekday of a month: "2MO", or "MO" picked by BYSETPOS or by a week of days.
        if (!month) return;
        int nth = p.bydays[0].nth;
        if (nth == 0 && setpos)
            nth = setpos;
        else if (nth == 0 && week)
            nth = week;
        else if (setpos || p.monthday_count)
            return;
        if (nth == 0) return;
        r->nth = nth;
        r->weekday = p.bydays[0].weekday;
    } else {
        if (setpos || week) return;
        if (p.monthday_count && !month) return;  // every month's day
        r->day = p.monthday_count ? p.monthdays[0] : dtstart.day;
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
