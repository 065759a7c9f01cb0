// Japan's national holidays: the days the law gives where its rules changed, every
// substitute and in-between case, and counts per year derived by hand.
#include <gtest/gtest.h>

#include <string>

#include "calendar/national_holidays.h"

namespace {

TEST(NationalHolidays, DaysAndNames) {
    const struct {
        int y, m, d;
        const char* name;  // "" = not a holiday
    } days[] = {
        // Where the law changed.
        {1980, 1, 1, "元日"}, {1988, 4, 29, "天皇誕生日"}, {1989, 4, 29, "みどりの日"},
        {1988, 12, 23, ""}, {1989, 12, 23, "天皇誕生日"}, {1989, 2, 24, "昭和天皇の大喪の礼"},
        {1990, 11, 12, "即位礼正殿の儀"}, {1993, 6, 9, "皇太子徳仁親王の結婚の儀"}, {1995, 7, 20, ""},
        {1996, 7, 20, "海の日"}, {1999, 1, 15, "成人の日"}, {2000, 1, 15, ""},
        {2000, 1, 10, "成人の日"}, {1999, 10, 10, "体育の日"}, {2000, 10, 9, "体育の日"},
        {2002, 7, 20, "海の日"}, {2003, 7, 20, ""}, {2003, 7, 21, "海の日"}, {2002, 9, 15, "敬老の日"},
        {2004, 9, 20, "敬老の日"}, {2006, 4, 29, "みどりの日"}, {2007, 4, 29, "昭和の日"},
        {2007, 5, 4, "みどりの日"}, {2015, 8, 11, ""}, {2016, 8, 11, "山の日"},
        {2018, 12, 23, "天皇誕生日"}, {2019, 12, 23, ""}, {2019, 2, 23, ""},
        {2019, 5, 1, "天皇の即位の日"}, {2019, 10, 22, "即位礼正殿の儀"}, {2020, 2, 23, "天皇誕生日"},
        {2020, 7, 20, ""}, {2020, 7, 23, "海の日"}, {2020, 7, 24, "スポーツの日"},
        {2020, 8, 10, "山の日"}, {2020, 8, 11, ""}, {2020, 10, 12, ""}, {2021, 7, 19, ""},
        {2021, 7, 22, "海の日"}, {2021, 7, 23, "スポーツの日"}, {2021, 8, 8, "山の日"},
        {2021, 10, 11, ""}, {2022, 7, 18, "海の日"}, {2022, 8, 11, "山の日"},
        {2022, 10, 10, "スポーツの日"}, {2022, 2, 23, "天皇誕生日"}, {2004, 3, 20, "春分の日"},
        {2012, 9, 22, "秋分の日"}, {2079, 11, 23, "勤労感謝の日"},
        // Substitutes up to 2006: the Monday after, even where 4 May would lie between.
        {1980, 11, 24, "振替休日"}, {1990, 12, 24, "振替休日"}, {1992, 5, 4, "振替休日"},
        {2002, 9, 16, "振替休日"}, {2003, 5, 4, ""}, {2003, 5, 6, ""},
        // From 2007: the first following day that is not a holiday.
        {2007, 4, 30, "振替休日"}, {2008, 5, 6, "振替休日"}, {2009, 5, 6, "振替休日"},
        {2014, 5, 6, "振替休日"}, {2018, 12, 24, "振替休日"}, {2019, 5, 6, "振替休日"},
        {2019, 8, 12, "振替休日"}, {2020, 2, 24, "振替休日"}, {2021, 8, 9, "振替休日"},
        {2026, 5, 6, "振替休日"}, {2079, 1, 2, "振替休日"},
        // Between two holidays, from 1986.
        {1985, 5, 4, ""}, {1987, 5, 4, "振替休日"}, {1988, 5, 4, "国民の休日"},
        {1996, 5, 4, "国民の休日"}, {2006, 5, 4, "国民の休日"}, {2009, 9, 22, "国民の休日"},
        {2015, 9, 22, "国民の休日"}, {2019, 4, 30, "国民の休日"}, {2019, 5, 2, "国民の休日"},
        {2026, 9, 22, "国民の休日"},
        // Equinox days after 2049 follow the sun, with what they bring about.
        {2051, 3, 21, "春分の日"}, {2051, 3, 20, ""}, {2052, 9, 22, "秋分の日"}, {2052, 9, 23, "振替休日"},
        {2060, 9, 21, "国民の休日"}, {2065, 9, 22, "秋分の日"}, {2065, 9, 23, ""},
    };
    for (const auto& c : days) {
        const char* n = national_holiday_name(c.y, c.m, c.d);
        EXPECT_EQ(std::string(n ? n : ""), c.name) << c.y << "-" << c.m << "-" << c.d;
    }
    const int none[][3] = {{1979, 1, 1}, {2080, 1, 1}, {2004, 0, 1}, {2004, 13, 1}, {2004, 1, 0}, {2004, 1, 32}};
    for (const auto& c : none) EXPECT_EQ(national_holiday_name(c[0], c[1], c[2]), nullptr) << c[0] << "-" << c[1];
}

// From a printed calendar: the law's holidays of the year, one substitute per Sunday
// holiday, and the weekdays between two holidays.
TEST(NationalHolidays, CountsPerYear) {
    const int years[][2] = {
        {1985, 15},  // 12 holidays; 5 May, 15 Sep, 3 Nov Sundays
        {1989, 17},  // 13 (29 Apr kept, 23 Dec added), 24 Feb; 1 Jan, 15 Jan Sundays; 4 May (Thu)
        {1990, 19},  // 13, 12 Nov; 11 Feb, 29 Apr, 23 Sep, 23 Dec Sundays; 4 May
        {1996, 19},  // 14 (20 Jul); 11 Feb, 5 May, 15 Sep, 3 Nov Sundays; 4 May (Sat)
        {2003, 15},  // 14; 23 Nov a Sunday; 4 May a Sunday
        {2009, 17},  // 15 (29 Apr and 4 May both); 3 May a Sunday (6 May); 22 Sep between
        {2019, 22},  // 15 (no 天皇誕生日), 1 May, 22 Oct; 5 May, 11 Aug, 3 Nov; 30 Apr, 2 May
        {2020, 18},  // 16 (11 Aug); 23 Feb, 3 May Sundays
        {2021, 17},  // 16; 8 Aug a Sunday
        {2079, 17},  // 16; 1 Jan a Sunday
    };
    for (const auto& c : years) {
        int count = 0;
        for (int m = 1; m <= 12; ++m) {
            MonthHolidays h;
            count += national_holidays_of_month(c[0], m, &h);
        }
        EXPECT_EQ(count, c[1]) << c[0];
    }
}

}  // namespace
