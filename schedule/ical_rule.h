// Yearly recurrence rules (RRULE) in the shapes that fall on one day a year: a fixed month
// and day, or the n-th (or n-th last) weekday of a month. Anything else is recognised as a
// rule but not expanded.
#pragma once

#include <stddef.h>

#include "schedule/ical_time.h"

struct IcalRule {
    bool yearly_one_day;  // FREQ=YEARLY (interval 1) in one of the shapes above
    int month;            // 1..12
    int day;              // fixed day 1..31 (or -1..-31 from the month's end); 0 with nth
    int nth;              // 1..5 or -1..-5 with weekday; 0 for a fixed day
    int weekday;          // 0 = Sunday .. 6
    int count;            // COUNT, 0 when absent
    bool has_until;
    IcalTime until;  // UNTIL (a date gives 23:59:59 of that day)
};

// Parses an RRULE value of n bytes. The month and day a yearly rule leaves out come from
// dtstart, its first occurrence.
void ical_parse_rule(const char* s, size_t n, const IcalTime& dtstart, IcalRule* out);

// The day of the month on which an expandable rule falls in year y (1..9999), 0 when it
// does not (29 February in a common year, a fifth Monday the month lacks).
int ical_rule_day(const IcalRule& r, int y);

// Weekday (0 = Sunday) of any real date.
int ical_weekday(int y, int m, int d);
