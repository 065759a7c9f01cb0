#include "schedule/ical_occurrences.h"

#include <string.h>

#include "schedule/entry_dates.h"

namespace {

constexpr int kYears = kIcalLastYear - kIcalFirstYear + 1;
constexpr int kSlotDates = 3;

// The occurrences of one year: up to three dates, and whether there were more.
struct YearSlot {
    int n;
    bool many;
    int8_t month[kSlotDates], day[kSlotDates];
};

class Years {
public:
    Years() { memset(slots_, 0, sizeof slots_); }

    void add(int y, int m, int d) {
        if (y < kIcalFirstYear || y > kIcalLastYear) return;
        YearSlot& s = slots_[y - kIcalFirstYear];
        for (int i = 0; i < s.n; ++i)
            if (s.month[i] == m && s.day[i] == d) return;
        if (s.n == kSlotDates) {
            s.many = true;
            return;
        }
        s.month[s.n] = (int8_t)m;
        s.day[s.n] = (int8_t)d;
        ++s.n;
    }

    void remove(int y, int m, int d) {
        if (y < kIcalFirstYear || y > kIcalLastYear) return;
        YearSlot& s = slots_[y - kIcalFirstYear];
        for (int i = 0; i < s.n; ++i) {
            if (s.month[i] == m && s.day[i] == d) {
                s.month[i] = s.month[s.n - 1];
                s.day[i] = s.day[s.n - 1];
                --s.n;
                return;
            }
        }
    }

    const YearSlot& at(int y) const { return slots_[y - kIcalFirstYear]; }

private:
    YearSlot slots_[kYears];
};

// The days of the rule from the start on, as COUNT and UNTIL allow.
void expand_rule(const IcalTime& start, const IcalRule& rule, Years* years) {
    int taken = 0;
    for (int y = start.year; y <= kIcalLastYear; ++y) {
        const int d = ical_rule_day(rule, y);
        if (d == 0) continue;
        IcalTime t = start;
        t.year = y;
        t.month = rule.month;
        t.day = d;
        if (ical_time_compare(t, start) < 0) continue;
        if (rule.has_until && ical_time_compare(t, rule.until) > 0) return;
        years->add(y, rule.month, d);
        if (rule.count && ++taken >= rule.count) return;
    }
}

// Whether the years from first_year on hold exactly the days of the every-year entry of this
// month and day (a day of the month or a day code).
bool form_matches(const Years& years, int first_year, int month, int day) {
    ScheduleEntry form;
    entry_blank(&form);
    form.year = -1;
    form.month = month;
    form.day = day;
    for (int y = first_year; y <= kIcalLastYear; ++y) {
        const YearSlot& s = years.at(y);
        const int d = first_marked_day(entry_month_days(form, y, month));
        if (s.many || s.n != (d ? 1 : 0)) return false;
        if (d && (s.month[0] != month || s.day[0] != d)) return false;
    }
    return true;
}

}  // namespace

void ical_occurrences(const IcalRecurrence& r, IcalOccurrences* out) {
    memset(out, 0, sizeof *out);
    Years years;
    years.add(r.start.year, r.start.month, r.start.day);
    if (r.rule && r.rule->yearly_one_day) expand_rule(r.start, *r.rule, &years);
    for (int i = 0; i < r.rdate_count; ++i)
        years.add(r.rdates[i].year, r.rdates[i].month, r.rdates[i].day);
    for (int i = 0; i < r.exdate_count; ++i)
        years.remove(r.exdates[i].year, r.exdates[i].month, r.exdates[i].day);

    int first_year = 0, years_with = 0;
    for (int y = kIcalFirstYear; y <= kIcalLastYear; ++y) {
        const YearSlot& s = years.at(y);
        if (s.n == 0) continue;
        if (first_year == 0) {
            first_year = y;
            int best = 0;
            for (int i = 1; i < s.n; ++i)
                if (s.month[i] * 100 + s.day[i] < s.month[best] * 100 + s.day[best]) best = i;
            out->first = IcalDate{(int16_t)y, s.month[best], s.day[best]};
        }
        out->count += s.n + (s.many ? 1 : 0);
        ++years_with;
    }
    // One year alone says nothing about the years after it.
    const bool rule_known = !r.unknown && (!r.rule || r.rule->yearly_one_day);
    if (!rule_known || years_with < 2) return;

    const int m = out->first.month;
    const int forms[4] = {out->first.day, kDaySecondMonday, kDayThirdMonday, kDayMovable};
    for (int day : forms) {
        if (form_matches(years, first_year, m, day)) {
            out->every_year = true;
            out->month = m;
            out->day = day;
            return;
        }
    }
}
