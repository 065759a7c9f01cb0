// Japan's national holidays: the days the law gives at every year its rules changed, every
// substitute and in-between case, counts per year derived by hand, and the rule table's shape.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/date.h"
#include "calendar/national_holidays.h"

namespace {

std::string name_on(int y, int m, int d) {
    const char* n = national_holiday_name(y, m, d);
    return n ? n : "";
}

int count_of_year(int y) {
    int count = 0;
    for (int m = 1; m <= 12; ++m) {
        MonthHolidays h;
        count += national_holidays_of_month(y, m, &h);
    }
    return count;
}

// "" = not a holiday.
struct Day {
    int y, m, d;
    const char* name;
};

void expect_days(const Day* days, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const Day& c = days[i];
        EXPECT_EQ(name_on(c.y, c.m, c.d), c.name) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(NationalHolidays, DaysAtEachChangeOfTheLaw) {
    const Day days[] = {
        {1980, 1, 1, "元日"}, {1988, 4, 29, "天皇誕生日"}, {1989, 4, 29, "みどりの日"},
        {1988, 12, 23, ""}, {1989, 12, 23, "天皇誕生日"}, {1989, 2, 24, "昭和天皇の大喪の礼"},
        {1990, 11, 12, "即位礼正殿の儀"}, {1993, 6, 9, "皇太子徳仁親王の結婚の儀"},
        {1995, 7, 20, ""}, {1996, 7, 20, "海の日"},
        {1999, 1, 15, "成人の日"}, {2000, 1, 15, ""}, {2000, 1, 10, "成人の日"},
        {1999, 10, 10, "体育の日"}, {2000, 10, 10, ""}, {2000, 10, 9, "体育の日"},
        {2002, 7, 20, "海の日"}, {2003, 7, 20, ""}, {2003, 7, 21, "海の日"},
        {2002, 9, 15, "敬老の日"}, {2004, 9, 15, ""}, {2004, 9, 20, "敬老の日"},
        {2006, 4, 29, "みどりの日"}, {2007, 4, 29, "昭和の日"}, {2007, 5, 4, "みどりの日"},
        {2015, 8, 11, ""}, {2016, 8, 11, "山の日"},
        {2018, 12, 23, "天皇誕生日"}, {2019, 12, 23, ""}, {2019, 2, 23, ""},
        {2019, 5, 1, "天皇の即位の日"}, {2019, 10, 22, "即位礼正殿の儀"}, {2019, 10, 14, "体育の日"},
        {2020, 2, 23, "天皇誕生日"}, {2020, 7, 20, ""}, {2020, 7, 23, "海の日"},
        {2020, 7, 24, "スポーツの日"}, {2020, 8, 10, "山の日"}, {2020, 8, 11, ""},
        {2020, 10, 12, ""}, {2021, 7, 19, ""}, {2021, 7, 22, "海の日"},
        {2021, 7, 23, "スポーツの日"}, {2021, 8, 8, "山の日"}, {2021, 8, 11, ""},
        {2021, 10, 11, ""}, {2022, 7, 18, "海の日"}, {2022, 8, 11, "山の日"},
        {2022, 10, 10, "スポーツの日"}, {2022, 2, 23, "天皇誕生日"},
        {2004, 3, 20, "春分の日"}, {2012, 9, 22, "秋分の日"}, {2079, 11, 23, "勤労感謝の日"},
    };
    expect_days(days, sizeof days / sizeof *days);
}

TEST(NationalHolidays, SubstituteDays) {
    const Day days[] = {
        // Up to 2006: the Monday after a Sunday holiday, even where 4 May would lie between.
        {1980, 11, 24, "振替休日"}, {1990, 12, 24, "振替休日"}, {1992, 5, 4, "振替休日"},
        {1999, 10, 11, "振替休日"}, {2002, 9, 16, "振替休日"},
        {2003, 5, 4, ""},  // a Sunday that is no holiday
        {2003, 5, 6, ""},
        // From 2007: the first following day that is not a holiday.
        {2007, 4, 30, "振替休日"}, {2008, 5, 6, "振替休日"}, {2009, 5, 6, "振替休日"},
        {2009, 5, 4, "みどりの日"}, {2014, 5, 6, "振替休日"}, {2018, 12, 24, "振替休日"},
        {2019, 5, 6, "振替休日"}, {2019, 8, 12, "振替休日"}, {2020, 2, 24, "振替休日"},
        {2021, 8, 9, "振替休日"}, {2026, 5, 6, "振替休日"}, {2079, 1, 2, "振替休日"},
    };
    expect_days(days, sizeof days / sizeof *days);
}

TEST(NationalHolidays, DaysBetweenTwoHolidays) {
    const Day days[] = {
        {1985, 5, 4, ""},  // a Saturday before the rule
        {1987, 5, 4, "振替休日"}, {1988, 5, 4, "国民の休日"}, {1996, 5, 4, "国民の休日"},
        {2006, 5, 4, "国民の休日"}, {2009, 9, 22, "国民の休日"}, {2015, 9, 22, "国民の休日"},
        {2019, 4, 30, "国民の休日"}, {2019, 5, 2, "国民の休日"}, {2026, 9, 22, "国民の休日"},
        {2026, 9, 21, "敬老の日"}, {2026, 9, 23, "秋分の日"},
    };
    expect_days(days, sizeof days / sizeof *days);
}

// Counted from a printed calendar: the law's holidays of the year, plus one substitute day
// per Sunday holiday, plus the weekdays between two holidays.
TEST(NationalHolidays, CountsPerYear) {
    const struct {
        int year, count;
    } years[] = {
        {1980, 13},  // 12 holidays; 23 Nov a Sunday
        {1985, 15},  // 12; 5 May, 15 Sep, 3 Nov Sundays
        {1988, 14},  // 12; 20 Mar a Sunday; 4 May (Wed) between
        {1989, 17},  // 13 (29 Apr kept, 23 Dec added), 24 Feb; 1 Jan, 15 Jan Sundays; 4 May
        {1990, 19},  // 13, 12 Nov; 11 Feb, 29 Apr, 23 Sep, 23 Dec Sundays; 4 May
        {1993, 16},  // 13, 9 Jun; 10 Oct a Sunday; 4 May
        {1996, 19},  // 14 (20 Jul); 11 Feb, 5 May, 15 Sep, 3 Nov Sundays; 4 May (Sat)
        {2000, 15},  // 14, no Sunday holiday; 4 May
        {2003, 15},  // 14; 23 Nov a Sunday; 4 May a Sunday
        {2007, 19},  // 15 (29 Apr and 4 May both); 11 Feb, 29 Apr, 23 Sep, 23 Dec Sundays
        {2009, 17},  // 15; 3 May a Sunday (6 May); 22 Sep between
        {2016, 17},  // 16 (11 Aug); 20 Mar a Sunday
        {2019, 22},  // 15 (no 天皇誕生日), 1 May, 22 Oct; 5 May, 11 Aug, 3 Nov; 30 Apr, 2 May
        {2020, 18},  // 16; 23 Feb, 3 May Sundays
        {2021, 17},  // 16; 8 Aug a Sunday
        {2026, 18},  // 16; 3 May a Sunday; 22 Sep between
        {2079, 17},  // 16; 1 Jan a Sunday
    };
    for (const auto& c : years) EXPECT_EQ(count_of_year(c.year), c.count) << c.year;
}

TEST(NationalHolidays, OnlyRealMonthsOfTheCalendarsYears) {
    const struct {
        int y, m;
    } none[] = {{1979, 1}, {1979, 12}, {2080, 1}, {2004, 0}, {2004, 13}, {2004, -1}};
    for (const auto& c : none) {
        MonthHolidays h;
        std::memset(&h, 0x5A, sizeof h);
        EXPECT_EQ(national_holidays_of_month(c.y, c.m, &h), 0) << c.y << "-" << c.m;
        for (const char* n : h.name) EXPECT_EQ(n, nullptr);
    }
    EXPECT_EQ(national_holiday_name(2004, 1, 0), nullptr);
    EXPECT_EQ(national_holiday_name(2004, 1, 32), nullptr);
    EXPECT_EQ(national_holidays_of_month(2004, 5, nullptr), 0);
}

// Every row can be read against the law: a real day, one year for a day of its own, the
// second or third Monday, an equinox month; no two rows give the same day of any year.
TEST(NationalHolidays, RuleTableShape) {
    for (const HolidayRule& r : kHolidayRules) {
        SCOPED_TRACE(r.name);
        EXPECT_LE(r.first, r.last);
        EXPECT_EQ(r.kind == HolidayKind::kOnce, r.first == r.last);
        if (r.kind == HolidayKind::kMonday) {
            EXPECT_TRUE(r.day == 2 || r.day == 3);
        }
        if (r.kind == HolidayKind::kEquinox) {
            EXPECT_TRUE(r.month == 3 || r.month == 9);
        }
        for (int y = kHolidayFirstYear; y <= kHolidayLastYear; ++y) {
            const int d = holiday_rule_day(r, y);
            if (y < r.first || y > r.last) {
                EXPECT_EQ(d, 0);
                continue;
            }
            ASSERT_TRUE(d >= 1 && d <= days_in_month(r.month, y)) << y;
            if (r.kind == HolidayKind::kMonday) {
                EXPECT_EQ(weekday_of(y, r.month, d), 1) << y;
            }
            for (const HolidayRule& o : kHolidayRules) {
                if (&o != &r && o.month == r.month) {
                    EXPECT_NE(holiday_rule_day(o, y), d) << o.name << y;
                }
            }
        }
    }
}

}  // namespace
