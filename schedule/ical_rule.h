// Recurrence rules (RRULE): any value read into its parts, and the yearly shapes that fall on
// one day a year (a fixed month and day, or the n-th or n-th last weekday of a month)
// expanded. The stored rules of entries (schedule/entry_forms.h) are read from the parts too.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "schedule/ical_time.h"

enum class IcalFreq : uint8_t { kNone, kSecondly, kMinutely, kHourly, kDaily, kWeekly, kMonthly, kYearly };

// List parts keep at most this many items; a longer list is bad.
constexpr int kIcalRuleListMax = 64;

struct IcalByDay {
    int8_t nth;      // 0 = every such weekday, else 1..53 or -1..-53
    int8_t weekday;  // 0 = Sunday .. 6
};

// An RRULE value as written. Items that do not read (a number out of its range, an unknown
// weekday, a part without "=") make it bad; parts other than these make `other` true.
struct IcalRuleParts {
    IcalFreq freq;
    bool freq_unknown;          // FREQ with another word
    bool bad, other;
    bool has_interval;
    int interval;               // as written (1 when absent)
    int count;                  // COUNT, 0 when absent
    bool has_until, until_is_date, until_utc;
    IcalTime until;             // as written (a date: 00:00)
    int wkst;                   // 0..6, -1 when absent
    int month_count;            // BYMONTH: 1..12
    int8_t months[kIcalRuleListMax];
    int monthday_count;         // BYMONTHDAY: 1..31, -31..-1
    int8_t monthdays[kIcalRuleListMax];
    int byday_count;
    IcalByDay bydays[kIcalRuleListMax];
    int setpos_count;           // BYSETPOS: -366..366, not 0
    int16_t setpos[kIcalRuleListMax];
};

// Reads an RRULE value of n bytes into its parts.
void ical_rule_parts(const char* s, size_t n, IcalRuleParts* out);

// The two-letter weekday names of RRULE, index 0 = "SU".
extern const char* const kIcalWeekdays[7];

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
