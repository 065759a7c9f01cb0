// Japan's national holidays, 1980 to 2079, from the rules of the law as they stood in each
// year: one table row per holiday and period, plus the substitute holiday and the day
// between two holidays. Nothing here is a list of dates; every year is worked out afresh.
#pragma once

#include <cstddef>

constexpr int kHolidayFirstYear = 1980;
constexpr int kHolidayLastYear = 2079;
constexpr int kInForce = 9999;  // last year of a rule that still holds

enum class HolidayKind : unsigned char {
    kFixed,    // the same day of the month every year
    kMonday,   // the n-th Monday of the month
    kEquinox,  // the equinox day of March or September, as the calendar computes it
    kOnce,     // one day of one year, by a law of its own
};

struct HolidayRule {
    const char* name;  // CP932, from resources/texts.h
    int first, last;   // years in which the rule holds, both included
    HolidayKind kind;
    int month;
    int day;  // kFixed, kOnce: day of the month; kMonday: which Monday; kEquinox: 0
};

constexpr size_t kHolidayRuleCount = 37;
extern const HolidayRule kHolidayRules[kHolidayRuleCount];

// A Sunday holiday makes the next Monday a holiday up to this year; from the year after, the
// first following day that is not a holiday.
constexpr int kSubstituteMondayLastYear = 2006;
// A weekday between two holidays is a holiday from this year on.
constexpr int kBetweenHolidaysFirstYear = 1986;

// Day of the month the rule gives in year, 0 when the rule does not hold that year.
int holiday_rule_day(const HolidayRule& rule, int year);

struct MonthHolidays {
    int count;             // holidays in the month
    const char* name[32];  // name[d] of day d (1..31); nullptr: not a holiday
};

// The national holidays of year/month, substitute and in-between days included. A year
// outside 1980..2079 or a month outside 1..12 has none. Returns out->count.
int national_holidays_of_month(int year, int month, MonthHolidays* out);

// The holiday's name of one day, nullptr when the day is not a national holiday.
const char* national_holiday_name(int year, int month, int day);
