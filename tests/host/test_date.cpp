#include <gtest/gtest.h>
#include <limits.h>
#include <time.h>

#include "calendar/date.h"

namespace {

TEST(DateTest, LeapYears) {
    struct { int year, leap; } cases[] = {
        {1900, 0}, {2000, 1}, {2004, 1}, {2100, 0}, {2001, 0}, {1980, 1}, {2400, 1}, {1996, 1},
    };
    for (auto& c : cases) EXPECT_EQ(is_leap_year(c.year), c.leap) << c.year;
}

TEST(DateTest, DaysInMonth) {
    struct { int month, year, days; } cases[] = {
        {1, 2004, 31}, {2, 2004, 29}, {2, 2000, 29}, {2, 1900, 28}, {2, 2005, 28},
        {4, 2004, 30}, {9, 2004, 30}, {12, 2004, 31},
        // Outside 1..12 there is no such month: 0, never a read past the table.
        {0, 2004, 0}, {13, 2004, 0}, {-1, 2004, 0}, {99, 2004, 0}, {INT_MIN, 2004, 0}, {INT_MAX, 2004, 0},
    };
    for (auto& c : cases) EXPECT_EQ(days_in_month(c.month, c.year), c.days) << c.month << "/" << c.year;
}

TEST(DateTest, DaySerialFixedPoints) {
    struct { int y, m, d, serial; } cases[] = {
        {1980, 1, 1, 1},   {1980, 1, 2, 2},     {1980, 3, 1, 61},  // 31 + 29 + 1
        {1981, 1, 1, 367}, {1981, 3, 1, 426},   {2000, 1, 1, 7306},
        {2000, 3, 1, 7366}, {2079, 12, 31, 36525},
        {1975, 6, 1, 153},  // years before 1980 count as 1980
        {1980, 1, 35, 35},  // the day is not checked against the month
    };
    for (auto& c : cases)
        EXPECT_EQ(day_serial(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(day_serial(1975, 6, 1), day_serial(1980, 6, 1));
    EXPECT_EQ(day_serial(1980, 1, 35), day_serial(1980, 2, 4));
}

// Independent weekday (Sakamoto) to check day_serial and weekday_of day by day.
int reference_weekday(int y, int m, int d) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

TEST(DateTest, SerialAndWeekdayAcrossWorkingRange) {
    int expected = 1;
    for (int y = 1980; y <= 2079; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= days_in_month(m, y); ++d, ++expected) {
                ASSERT_EQ(day_serial(y, m, d), expected) << y << "-" << m << "-" << d;
                ASSERT_EQ(weekday_of(y, m, d), reference_weekday(y, m, d)) << y << "-" << m << "-" << d;
            }
}

TEST(DateTest, WeekdayFixedPoints) {
    struct { int y, m, d, w; } cases[] = {
        {1980, 1, 1, 2}, {2004, 1, 1, 4}, {2000, 2, 29, 2}, {2009, 5, 3, 0}, {2004, 6, 1, 2},
    };
    for (auto& c : cases) EXPECT_EQ(weekday_of(c.y, c.m, c.d), c.w) << c.y << "-" << c.m << "-" << c.d;
}

TEST(DateTest, OddArgumentsStaySafe) {
    // Months past 12 and negative days must neither crash nor give a weekday
    // outside 0..6 (UBSan/ASan watch the arithmetic and table reads).
    const int odd[] = {INT_MIN, -100, -1, 0, 13, 99, INT_MAX};
    for (int m : odd)
        for (int d : odd) {
            int w = weekday_of(2004, m, d);
            EXPECT_GE(w, 0);
            EXPECT_LE(w, 6);
        }
    EXPECT_EQ(day_serial(2004, 13, 1), day_serial(2005, 1, 1));
}

TEST(DateTest, SecondAndThirdMondayFixedPoints) {
    EXPECT_EQ(second_monday(2004, 1), 12);
    EXPECT_EQ(second_monday(2000, 10), 9);
    EXPECT_EQ(third_monday(2004, 7), 19);
    EXPECT_EQ(second_monday(2001, 10), 8);   // the 1st is a Monday
    EXPECT_EQ(second_monday(2000, 1), 10);   // the 1st is a Saturday
    EXPECT_EQ(second_monday(2002, 1), 14);   // the 1st is a Tuesday
    EXPECT_EQ(second_monday(2006, 1), 9);    // the 1st is a Sunday
}

TEST(DateTest, SecondAndThirdMondayEveryMonth) {
    for (int y = 1980; y <= 2079; ++y)
        for (int m = 1; m <= 12; ++m) {
            int s = second_monday(y, m);
            ASSERT_GE(s, 8);
            ASSERT_LE(s, 14);
            ASSERT_EQ(weekday_of(y, m, s), 1) << y << "-" << m;
            ASSERT_EQ(third_monday(y, m), s + 7);
        }
}

TEST(DateTest, EquinoxDays) {
    struct { int year, vernal, autumnal; } cases[] = {
        {1949, 20, 23}, {1950, 21, 23}, {1951, 21, 24}, {1960, 20, 23}, {1999, 21, 23},
        {2004, 20, 23}, {2012, 20, 22}, {2049, 20, 22}, {2050, 20, 23}, {1980, 20, 23},
    };
    for (auto& c : cases) {
        EXPECT_EQ(vernal_equinox_day(c.year), c.vernal) << c.year;
        EXPECT_EQ(autumnal_equinox_day(c.year), c.autumnal) << c.year;
    }
}

// After the table, floor(20.8431 + 0.242194 n - floor(n / 4)) for March and
// floor(23.2488 + 0.242194 n - floor(n / 4)) for September, n = year - 1980, up to 2099:
// 2051: n 71, 20.8431 + 17.1958 - 17 = 21.04; 2052: n 72, 23.2488 + 17.4380 - 18 = 22.69;
// 2096: n 116, 20.8431 + 28.0945 - 29 = 19.94; 2099: n 119, 23.2488 + 28.8211 - 29 = 23.07.
TEST(DateTest, EquinoxDaysAfterTheTable) {
    struct { int year, vernal, autumnal; } cases[] = {
        {2050, 20, 23}, {2051, 21, 23}, {2052, 20, 22}, {2054, 20, 23}, {2055, 21, 23},
        {2056, 20, 22}, {2078, 20, 22}, {2079, 20, 23}, {2096, 19, 22}, {2099, 20, 23},
        {2100, 20, 23},
    };
    for (auto& c : cases) {
        EXPECT_EQ(vernal_equinox_day(c.year), c.vernal) << c.year;
        EXPECT_EQ(autumnal_equinox_day(c.year), c.autumnal) << c.year;
    }
}

LocalTime g_fake_now;
LocalTime fake_clock() {
    return g_fake_now;
}

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { set_clock_source(nullptr); }
};

TEST_F(ClockTest, TodayMapsTwoDigitYearOnto1980To2079) {
    struct { int clock_year, year; } cases[] = {
        {2079, 2079}, {1980, 1980}, {2000, 2000}, {1999, 1999}, {2004, 2004},
        {2080, 1980}, {1979, 2079}, {2179, 2079},
    };
    set_clock_source(fake_clock);
    for (auto& c : cases) {
        g_fake_now = {c.clock_year, 7, 9, 23, 59, 58};
        int y = 0, m = 0, d = 0;
        get_today(&y, &m, &d);
        EXPECT_EQ(y, c.year) << c.clock_year;
        EXPECT_EQ(m, 7);
        EXPECT_EQ(d, 9);
    }
}

TEST_F(ClockTest, NullPointersAreSkipped) {
    set_clock_source(fake_clock);
    g_fake_now = {2004, 12, 31, 8, 5, 3};
    int y = 0, m = 0;
    get_today(&y, &m, nullptr);
    EXPECT_EQ(y, 2004);
    EXPECT_EQ(m, 12);
    int d = 0;
    get_today(nullptr, nullptr, &d);
    EXPECT_EQ(d, 31);
    get_today(nullptr, nullptr, nullptr);

    int h = -1, mi = -1, s = -1;
    get_now_time(&h, &mi, &s);
    EXPECT_EQ(h, 8);
    EXPECT_EQ(mi, 5);
    EXPECT_EQ(s, 3);
    get_now_time(nullptr, nullptr, nullptr);
}

TEST_F(ClockTest, NullSourceRestoresSystemClock) {
    set_clock_source(fake_clock);
    g_fake_now = {1985, 1, 2, 3, 4, 5};
    set_clock_source(nullptr);
    LocalTime now = get_local_now();
    time_t t = time(nullptr);
    struct tm tmv;
    localtime_r(&t, &tmv);
    EXPECT_EQ(now.year, tmv.tm_year + 1900);
    EXPECT_EQ(now.month, tmv.tm_mon + 1);
    int y = 0, m = 0, d = 0;
    get_today(&y, &m, &d);
    EXPECT_GE(y, 1980);
    EXPECT_LE(y, 2079);
    EXPECT_NE(y, 1985);
}

}  // namespace
