// The old calendar's days: dates as published almanacs print them, the rules at their
// edges, and the table's own invariants. Every day 1980..2079 is also checked against an
// independent astronomical computation by tests/interop/check_almanac.py.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/almanac.h"
#include "calendar/date.h"
#include "calendar/era.h"
#include "calendar/sekki.h"
#include "calendar/zassetsu.h"

namespace {

std::string day_text(int y, int m, int d) {
    AlmanacDay a;
    if (!almanac_day(y, m, d, &a)) return "none";
    char buf[128];
    almanac_day_text(a, buf, sizeof buf);
    return buf;
}

// Published 旧暦 and 六曜: 旧正月 2023-01-22, 2024-02-10, 2025-01-29, 2026-02-17 and 1985-02-20
// (after 閏10月 1984); the leap months 1984 閏10月, 2017 閏5月, 2020 閏4月, 2023 閏2月, 2025 閏6月;
// 2014-12-22 朔旦冬至; the resolution of 2033-2034 (no leap month in 2033's first months,
// 2033-09-23 9月, 2033-12-22 閏11月, 2034-02-19 旧正月); new moons near midnight in 暦要項
// (2005-12-02 00:01, 2017-02-26 23:58) and by the published tables 2051-11-03 and
// 2074-08-22 (23:59:43 and 23:59:48 JST).
TEST(Almanac, PublishedDays) {
    const struct {
        int y, m, d;
        const char* text;
    } cases[] = {
        {2023, 1, 22, "旧暦 1月1日 先勝"},         {2024, 2, 10, "旧暦 1月1日 先勝"},
        {2025, 1, 29, "旧暦 1月1日 先勝"},         {2026, 2, 17, "旧暦 1月1日 先勝"},
        {1985, 2, 20, "旧暦 1月1日 先勝"},         {1985, 2, 19, "旧暦 12月30日 大安 / 雨水"},
        {1984, 11, 23, "旧暦 閏10月1日 仏滅"},     {2017, 6, 24, "旧暦 閏5月1日 大安"},
        {2020, 5, 23, "旧暦 閏4月1日 仏滅"},       {2023, 3, 22, "旧暦 閏2月1日 友引"},
        {2025, 7, 25, "旧暦 閏6月1日 赤口"},       {2014, 12, 22, "旧暦 11月1日 大安 / 冬至"},
        {2024, 1, 1, "旧暦 11月20日 赤口"},        {2024, 3, 20, "旧暦 2月11日 赤口 / 春分"},
        {2033, 9, 23, "旧暦 9月1日 先負 / 秋分"},  {2033, 11, 22, "旧暦 11月1日 大安 / 小雪"},
        {2033, 12, 21, "旧暦 11月30日 仏滅 / 冬至"}, {2033, 12, 22, "旧暦 閏11月1日 大安"},
        {2034, 1, 20, "旧暦 12月1日 赤口 / 大寒"},        {2034, 2, 19, "旧暦 1月1日 先勝"},
        {2034, 3, 20, "旧暦 2月1日 友引 / 春分"},  {2005, 12, 2, "旧暦 11月1日 大安"},
        {2017, 2, 26, "旧暦 2月1日 友引"},         {2051, 11, 3, "旧暦 10月1日 仏滅"},
        {2074, 8, 22, "旧暦 7月1日 先勝"},         {1980, 1, 1, "旧暦 11月14日 赤口"},
        {2079, 12, 31, "旧暦 12月9日 友引"},
    };
    for (const auto& c : cases) EXPECT_EQ(day_text(c.y, c.m, c.d), c.text) << c.y << "-" << c.m << "-" << c.d;
}

// 国立天文台 暦要項 2021 and 2024: 節分, the equinoxes, 八十八夜, 入梅, 半夏生, the four 土用入り,
// 二百十日, 二百二十日 and 彼岸 as printed there.
TEST(Almanac, PublishedZassetsu) {
    const struct {
        int y;
        Zassetsu kind;
        int m, d;
    } cases[] = {
        {2021, kSetsubun, 2, 2},         {2021, kHachijuhachiya, 5, 1},  {2021, kNihyakutoka, 8, 31},
        {2024, kSetsubun, 2, 3},         {2024, kHiganStartSpring, 3, 17}, {2024, kHiganEndSpring, 3, 23},
        {2024, kHachijuhachiya, 5, 1},   {2024, kNyubai, 6, 10},         {2024, kHangesho, 7, 1},
        {2024, kDoyoWinter, 1, 18},      {2024, kDoyoSpring, 4, 16},     {2024, kDoyoSummer, 7, 19},
        {2024, kDoyoAutumn, 10, 20},     {2024, kNihyakutoka, 8, 31},    {2024, kNihyakuhatsuka, 9, 10},
        {2024, kHiganStartAutumn, 9, 19}, {2024, kHiganEndAutumn, 9, 25},
    };
    for (const auto& c : cases) {
        MonthDay days[kZassetsuCount];
        ASSERT_TRUE(zassetsu_of_year(c.y, days));
        EXPECT_EQ(days[c.kind].month * 100 + days[c.kind].day, c.m * 100 + c.d) << c.y << " " << c.kind;
        EXPECT_TRUE(zassetsu_on(c.y, c.m, c.d) & (1u << c.kind)) << c.y << " " << c.kind;
    }
    EXPECT_EQ(solar_term_day(2021, kTermSpringBegins), 3);  // 立春 2021-02-03 23:59
    EXPECT_EQ(solar_term_on(2019, 11, 22), 16);              // 小雪 2019-11-22 23:59
}

// 社日: the 戊 day (stem 4) nearest the equinox day; from a 癸 day (stem 9) both lie five days
// away, and the instant decides: before noon the earlier one.
TEST(Almanac, ShanichiRule) {
    const int after_noon[10] = {4, 3, 2, 1, 0, -1, -2, -3, -4, 5};
    for (int stem = 0; stem < 10; ++stem) {
        EXPECT_EQ(shanichi_offset(stem, false), after_noon[stem]) << stem;
        EXPECT_EQ(shanichi_offset(stem, true), stem == 9 ? -5 : after_noon[stem]) << stem;
    }
    // Equinoxes on 癸 days: 2024-03-20 12:06 (just after noon), 2022-03-21 00:33, 2017-09-23
    // 05:02, 2019-09-23 16:50.
    const struct {
        int y, which, m, d;
    } cases[] = {{2024, kShanichiSpring, 3, 25}, {2022, kShanichiSpring, 3, 16}, {2017, kShanichiAutumn, 9, 18},
                 {2019, kShanichiAutumn, 9, 28}};
    for (const auto& c : cases) {
        MonthDay days[kZassetsuCount];
        ASSERT_TRUE(zassetsu_of_year(c.y, days));
        EXPECT_EQ(days[c.which].month * 100 + days[c.which].day, c.m * 100 + c.d) << c.y;
        EXPECT_EQ(day_stem(c.y, c.m, c.d), 4) << c.y;
    }
    EXPECT_EQ(day_stem(2000, 1, 1), 4);  // 戊午
    EXPECT_EQ(day_stem(1980, 1, 1), 9);  // 癸酉
    EXPECT_EQ(day_stem(2079, 12, 31), 3);  // 丁巳
    EXPECT_EQ(day_stem(1979, 12, 31), -1);
}

TEST(Almanac, TwoZassetsuOnOneDay) {
    // 2014: 春分 3-21 on a 辛 day, the 戊 day three days before it is also 彼岸入り.
    EXPECT_EQ(zassetsu_on(2014, 3, 18), (1u << kHiganStartSpring) | (1u << kShanichiSpring));
    EXPECT_EQ(day_text(2014, 3, 18), "旧暦 2月18日 先勝 / 彼岸入り・社日");
    EXPECT_EQ(zassetsu_on(2025, 9, 26), (1u << kShanichiAutumn) | (1u << kHiganEndAutumn));
}

TEST(Almanac, AddDays) {
    const struct {
        int y, m, d, n, ry, rm, rd;
    } cases[] = {
        {2024, 2, 4, 87, 2024, 5, 1},    {2023, 2, 4, 87, 2023, 5, 2},   {2024, 2, 4, 219, 2024, 9, 10},
        {2024, 3, 1, -1, 2024, 2, 29},   {2023, 3, 1, -1, 2023, 2, 28},  {2024, 1, 2, -5, 2023, 12, 28},
        {2023, 12, 29, 5, 2024, 1, 3},   {2024, 9, 30, 1, 2024, 10, 1},  {2024, 6, 15, 0, 2024, 6, 15},
        {2024, 13, 1, 5, 2024, 13, 1},   {2024, 5, 1, 400, 2024, 5, 1},
    };
    for (const auto& c : cases) {
        int y = 0;
        const MonthDay r = add_days(c.y, c.m, c.d, c.n, &y);
        EXPECT_EQ(r.month * 100 + r.day, c.rm * 100 + c.rd) << c.y << "-" << c.m << "-" << c.d << "+" << c.n;
        if (c.m >= 1 && c.m <= 12 && c.n <= 366) EXPECT_EQ(y, c.ry);
    }
}

// The table: every lunation 29 or 30 days, numbered in sequence (a leap month repeats the
// number before it), 36 leap months; the month walk agrees with the day-by-day lookup; the
// equinoxes fall on the days the holiday calendar uses.
TEST(Almanac, TableInvariants) {
    int leaps = 0;
    Lunation prev, cur;
    ASSERT_TRUE(lunation_at(0, &prev));
    EXPECT_LE(prev.start, 0);
    for (int n = 1; n < lunation_count(); ++n) {
        ASSERT_TRUE(lunation_at(n, &cur));
        const int length = cur.start - prev.start;
        EXPECT_TRUE(length == 29 || length == 30) << n;
        EXPECT_EQ(cur.month, cur.leap ? prev.month : prev.month % 12 + 1) << n;
        leaps += cur.leap;
        prev = cur;
    }
    EXPECT_GT(prev.start, kAlmanacLastDay);
    EXPECT_EQ(leaps, 36);
    EXPECT_FALSE(lunation_at(lunation_count(), &cur));

    int terms = 0;
    for (int y = 1980; y <= 2079; ++y) {
        EXPECT_EQ(solar_term_day(y, kTermVernalEquinox), vernal_equinox_day(y)) << y;
        EXPECT_EQ(solar_term_day(y, kTermAutumnalEquinox), autumnal_equinox_day(y)) << y;
        for (int m = 1; m <= 12; ++m) {
            AlmanacMonth month;
            ASSERT_TRUE(almanac_month(y, m, &month));
            for (int d = 1; d <= month.days; ++d) {
                LunarDate l;
                ASSERT_TRUE(lunar_date_of(y, m, d, &l));
                const AlmanacDay& a = month.day[d];
                ASSERT_TRUE(l.month == a.lunar.month && l.leap == a.lunar.leap && l.day == a.lunar.day)
                    << y << "-" << m << "-" << d;
                EXPECT_EQ(a.term, solar_term_on(y, m, d));
                EXPECT_EQ(a.zassetsu, zassetsu_on(y, m, d));
                terms += a.term >= 0;
            }
        }
    }
    EXPECT_EQ(terms, 2400);
}

TEST(Almanac, OutsideTheRange) {
    AlmanacMonth month;
    AlmanacDay day;
    LunarDate l;
    const int months[][2] = {{1979, 12}, {2080, 1}, {2024, 0}, {2024, 13}};
    for (const auto& m : months) EXPECT_FALSE(almanac_month(m[0], m[1], &month)) << m[0] << "-" << m[1];
    const int days[][3] = {{1979, 12, 31}, {2080, 1, 1}, {2023, 2, 29}, {2024, 4, 31}, {2024, 1, 0}};
    for (const auto& d : days) {
        EXPECT_FALSE(almanac_day(d[0], d[1], d[2], &day)) << d[0] << "-" << d[1] << "-" << d[2];
        EXPECT_FALSE(lunar_date_of(d[0], d[1], d[2], &l));
        EXPECT_EQ(zassetsu_on(d[0], d[1], d[2]), 0u);
    }
    EXPECT_EQ(solar_term_day(1979, 0), 0);
    EXPECT_EQ(solar_term_day(2024, 24), 0);
    EXPECT_EQ(solar_term_on(2024, 3, 32), -1);
    EXPECT_EQ(solar_longitude_day(2024, 10, nullptr), 0);
    EXPECT_EQ(lunation_of_day(-1), -1);
    EXPECT_EQ(lunation_of_day(kAlmanacLastDay + 1), -1);
}

TEST(Almanac, LabelUnderTheNumber) {
    AlmanacDay term_day, plain_day;
    ASSERT_TRUE(almanac_day(2024, 3, 20, &term_day));  // 春分, 赤口
    ASSERT_TRUE(almanac_day(2024, 3, 21, &plain_day));  // 先勝
    const struct {
        const AlmanacDay* day;
        bool rokuyo, terms;
        const char* label;
    } cases[] = {
        {&term_day, true, true, "春分"},   {&term_day, true, false, "赤口"}, {&term_day, false, true, "春分"},
        {&term_day, false, false, nullptr}, {&plain_day, true, true, "先勝"}, {&plain_day, false, true, nullptr},
    };
    for (const auto& c : cases) {
        const char* got = almanac_label(*c.day, c.rokuyo, c.terms);
        EXPECT_EQ(std::string(got ? got : "(none)"), c.label ? c.label : "(none)") << c.rokuyo << c.terms;
    }
}

TEST(Almanac, DayTextIsCutOnCharacters) {
    AlmanacDay a;
    ASSERT_TRUE(almanac_day(2014, 12, 22, &a));
    char buf[9];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(almanac_day_text(a, buf, sizeof buf), 7u);  // "旧暦 11" and not half of "月"
    EXPECT_STREQ(buf, "旧暦 11");
    EXPECT_EQ(almanac_day_text(a, buf, 0), 0u);
}

TEST(Era, YearsAndBoundaries) {
    const struct {
        int y, m, d;
        const char* text;
    } cases[] = {
        {1980, 1, 1, "昭和55年"},  {1989, 1, 7, "昭和64年"},  {1989, 1, 8, "平成元年"},
        {1989, 12, 31, "平成元年"}, {1990, 1, 1, "平成2年"},  {2019, 4, 30, "平成31年"},
        {2019, 5, 1, "令和元年"},   {2019, 12, 31, "令和元年"}, {2020, 1, 1, "令和2年"},
        {2026, 6, 1, "令和8年"},    {2079, 12, 31, "令和61年"}, {1926, 12, 25, "昭和元年"},
    };
    for (const auto& c : cases) {
        EraYear e;
        ASSERT_TRUE(era_of_date(c.y, c.m, c.d, &e)) << c.y;
        char buf[32];
        era_year_text(e, buf, sizeof buf);
        EXPECT_STREQ(buf, c.text) << c.y << "-" << c.m << "-" << c.d;
    }
    EraYear e;
    EXPECT_FALSE(era_of_date(1926, 12, 24, &e));
    EXPECT_FALSE(era_of_date(2019, 2, 29, &e));
    const struct {
        int y, m, era, year;
    } months[] = {{1989, 1, kEraShowa, 64}, {1989, 2, kEraHeisei, 1}, {2019, 4, kEraHeisei, 31},
                  {2019, 5, kEraReiwa, 1}};
    for (const auto& c : months) {
        ASSERT_TRUE(era_of_month(c.y, c.m, &e));
        EXPECT_EQ(e.era, c.era);
        EXPECT_EQ(e.year, c.year);
    }
    char small[6];
    EXPECT_EQ(era_year_text(EraYear{kEraReiwa, 1}, small, sizeof small), 4u);  // no half of 元
    EXPECT_STREQ(small, "令和");
    EXPECT_EQ(era_year_text(EraYear{kEraCount, 1}, small, sizeof small), 0u);
}

}  // namespace
