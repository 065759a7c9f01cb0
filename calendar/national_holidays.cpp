#include "calendar/national_holidays.h"

#include <cstring>

#include "calendar/date.h"
#include "resources/texts.h"

// Article by article: the holidays of the national holidays act in calendar order, each
// change of day or name a row of its own, then the days set by laws of their own (the moved
// days of the Olympic years among them).
const HolidayRule kHolidayRules[kHolidayRuleCount] = {
    {kNewYearsDay, 1949, kInForce, HolidayKind::kFixed, 1, 1},
    {kComingOfAgeDay, 1949, 1999, HolidayKind::kFixed, 1, 15},
    {kComingOfAgeDay, 2000, kInForce, HolidayKind::kMonday, 1, 2},
    {kFoundationDay, 1967, kInForce, HolidayKind::kFixed, 2, 11},
    {kEmperorsBirthday, 2020, kInForce, HolidayKind::kFixed, 2, 23},
    {kVernalEquinoxDay, 1949, kInForce, HolidayKind::kEquinox, 3, 0},
    {kEmperorsBirthday, 1949, 1988, HolidayKind::kFixed, 4, 29},
    {kGreeneryDay, 1989, 2006, HolidayKind::kFixed, 4, 29},
    {kShowaDay, 2007, kInForce, HolidayKind::kFixed, 4, 29},
    {kConstitutionDay, 1949, kInForce, HolidayKind::kFixed, 5, 3},
    {kGreeneryDay, 2007, kInForce, HolidayKind::kFixed, 5, 4},
    {kChildrensDay, 1949, kInForce, HolidayKind::kFixed, 5, 5},
    {kMarineDay, 1996, 2002, HolidayKind::kFixed, 7, 20},
    {kMarineDay, 2003, 2019, HolidayKind::kMonday, 7, 3},
    {kMarineDay, 2022, kInForce, HolidayKind::kMonday, 7, 3},
    {kMountainDay, 2016, 2019, HolidayKind::kFixed, 8, 11},
    {kMountainDay, 2022, kInForce, HolidayKind::kFixed, 8, 11},
    {kRespectForTheAgedDay, 1966, 2002, HolidayKind::kFixed, 9, 15},
    {kRespectForTheAgedDay, 2003, kInForce, HolidayKind::kMonday, 9, 3},
    {kAutumnalEquinoxDay, 1948, kInForce, HolidayKind::kEquinox, 9, 0},
    {kHealthSportsDay, 1966, 1999, HolidayKind::kFixed, 10, 10},
    {kHealthSportsDay, 2000, 2019, HolidayKind::kMonday, 10, 2},
    {kSportsDay, 2022, kInForce, HolidayKind::kMonday, 10, 2},
    {kCultureDay, 1948, kInForce, HolidayKind::kFixed, 11, 3},
    {kLabourThanksgivingDay, 1948, kInForce, HolidayKind::kFixed, 11, 23},
    {kEmperorsBirthday, 1989, 2018, HolidayKind::kFixed, 12, 23},
    // 2020 and 2021: 海の日, スポーツの日 and 山の日 moved for the Olympic Games.
    {kMarineDay, 2020, 2020, HolidayKind::kOnce, 7, 23},
    {kSportsDay, 2020, 2020, HolidayKind::kOnce, 7, 24},
    {kMountainDay, 2020, 2020, HolidayKind::kOnce, 8, 10},
    {kMarineDay, 2021, 2021, HolidayKind::kOnce, 7, 22},
    {kSportsDay, 2021, 2021, HolidayKind::kOnce, 7, 23},
    {kMountainDay, 2021, 2021, HolidayKind::kOnce, 8, 8},
    {kShowaFuneral, 1989, 1989, HolidayKind::kOnce, 2, 24},
    {kEnthronementCeremony, 1990, 1990, HolidayKind::kOnce, 11, 12},
    {kCrownPrinceWedding, 1993, 1993, HolidayKind::kOnce, 6, 9},
    {kEnthronementDay, 2019, 2019, HolidayKind::kOnce, 5, 1},
    {kEnthronementCeremony, 2019, 2019, HolidayKind::kOnce, 10, 22},
};

int holiday_rule_day(const HolidayRule& rule, int year) {
    if (year < rule.first || year > rule.last) return 0;
    switch (rule.kind) {
    case HolidayKind::kFixed:
    case HolidayKind::kOnce:
        return rule.day;
    case HolidayKind::kMonday:
        return second_monday(year, rule.month) + 7 * (rule.day - 2);
    case HolidayKind::kEquinox:
        return rule.month == 3 ? vernal_equinox_day(year)
                               : (rule.month == 9 ? autumnal_equinox_day(year) : 0);
    }
    return 0;
}

namespace {

// The month before, the month asked for and the month after, day by day: a substitute day
// or a day between two holidays may depend on the days across either end of the month.
constexpr int kSpanMonths = 3;
constexpr int kSpanDays = 31 * kSpanMonths;

struct Span {
    int days = 0;
    int first_weekday = 0;  // of the span's first day
    int year[kSpanDays];    // the year each day belongs to
    int middle = 0;         // offset of the 1st of the month asked for
    const char* law[kSpanDays] = {};   // holidays of the table
    const char* name[kSpanDays] = {};  // with substitute and in-between days

    int weekday(int i) const { return (first_weekday + i) % 7; }
};

// Only the years the calendar works in get holidays; the days around them stay plain
// (no holiday of 1980 or 2079 depends on a day outside them).
void add_month(Span* s, int year, int month) {
    const int n = days_in_month(month, year);
    const int at = s->days;
    for (int d = 0; d < n; ++d) s->year[at + d] = year;
    s->days += n;
    if (year < kHolidayFirstYear || year > kHolidayLastYear) return;
    for (const HolidayRule& r : kHolidayRules) {
        if (r.month != month) continue;
        const int d = holiday_rule_day(r, year);
        if (d >= 1 && d <= n) s->law[at + d - 1] = r.name;
    }
}

void build_span(Span* s, int year, int month) {
    const int py = month == 1 ? year - 1 : year, pm = month == 1 ? 12 : month - 1;
    const int ny = month == 12 ? year + 1 : year, nm = month == 12 ? 1 : month + 1;
    add_month(s, py, pm);
    s->middle = s->days;
    add_month(s, year, month);
    add_month(s, ny, nm);
    // Counted back from the month asked for: weekday_of takes years before 1980 as 1980.
    s->first_weekday = ((weekday_of(year, month, 1) - s->middle) % 7 + 7) % 7;
    std::memcpy(s->name, s->law, sizeof s->name);
}

// A holiday on a Sunday: up to 2006 the Monday after it is a holiday (when it is not one
// already); from 2007 the first following day that is not a holiday.
void add_substitutes(Span* s) {
    for (int i = 0; i < s->days; ++i) {
        if (!s->law[i] || s->weekday(i) != 0) continue;
        int j = i + 1;
        if (s->year[i] > kSubstituteMondayLastYear)
            while (j < s->days && s->law[j]) ++j;
        if (j < s->days && !s->name[j]) s->name[j] = kSubstituteHoliday;
    }
}

// A day that is no holiday and no Sunday, between two holidays of the table.
void add_days_between(Span* s) {
    for (int i = 1; i + 1 < s->days; ++i) {
        if (s->name[i] || s->weekday(i) == 0 || s->year[i] < kBetweenHolidaysFirstYear) continue;
        if (s->law[i - 1] && s->law[i + 1]) s->name[i] = kDayBetweenHolidays;
    }
}

}  // namespace

int national_holidays_of_month(int year, int month, MonthHolidays* out) {
    if (!out) return 0;
    std::memset(out, 0, sizeof *out);
    if (month < 1 || month > 12 || year < kHolidayFirstYear || year > kHolidayLastYear) return 0;
    Span s;
    build_span(&s, year, month);
    add_substitutes(&s);
    add_days_between(&s);
    const int n = days_in_month(month, year);
    for (int d = 1; d <= n; ++d) {
        out->name[d] = s.name[s.middle + d - 1];
        if (out->name[d]) ++out->count;
    }
    return out->count;
}

const char* national_holiday_name(int year, int month, int day) {
    if (day < 1 || day > 31) return nullptr;
    MonthHolidays h;
    national_holidays_of_month(year, month, &h);
    return h.name[day];
}
