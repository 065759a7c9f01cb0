// The days an event falls on in 1980..2079, from its start, its yearly rule and its listed
// dates less its excluded ones, and whether they make one of the every-year forms of an
// entry: a fixed month and day, the second or third Monday of a month, or the movable day
// of a month (day code 99).
#pragma once

#include <stdint.h>

#include "schedule/ical_rule.h"
#include "schedule/ical_time.h"

struct IcalDate {
    int16_t year;
    int8_t month, day;
};

constexpr int kIcalFirstYear = 1980;
constexpr int kIcalLastYear = 2079;

struct IcalRecurrence {
    IcalTime start;        // DTSTART in its own zone; always the first occurrence
    const IcalRule* rule;  // nullptr without RRULE
    bool unknown;          // some of the occurrences cannot be worked out
    const IcalDate* rdates;
    int rdate_count;
    const IcalDate* exdates;
    int exdate_count;
};

struct IcalOccurrences {
    int count;        // occurrences in 1980..2079
    IcalDate first;   // the first of them (valid when count > 0)
    bool every_year;  // from the first one's year to 2079 exactly one form's days
    int month, day;   // that form: month, and day 1..31 or day code 97, 98, 99
};

void ical_occurrences(const IcalRecurrence& r, IcalOccurrences* out);
