#include <gtest/gtest.h>
#include <string.h>

#include <cstdlib>

#include <vector>

#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "calendar/national_holidays.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/entry_maker.h"

namespace {

struct Month {
    int n = 0;
    DayClass day[31];
    const DayClass& operator[](int d) const { return day[d - 1]; }  // 1-based
};

Month classify(int y, int m, const std::vector<ScheduleEntry>& list, int cmode = 1) {
    Month r;
    r.n = classify_month(y, m, month_marks(list.data(), (int)list.size(), y, m), nullptr, cmode, r.day);
    return r;
}

TEST(DayClassTest, DayCountsAndWeekends) {
    struct { int y, m, n; } cases[] = {{2004, 2, 29}, {2005, 2, 28}, {1900, 2, 28}, {2004, 1, 31}, {2004, 4, 30}};
    for (auto& c : cases) {
        Month r = classify(c.y, c.m, {});
        ASSERT_EQ(r.n, c.n);
        for (int d = 1; d <= r.n; ++d) {
            const int w = weekday_of(c.y, c.m, d);
            EXPECT_EQ(r[d].sunday, w == 0);
            EXPECT_EQ(r[d].saturday, w == 6);
            EXPECT_EQ(r[d].red, w == 0);
            EXPECT_FALSE(r[d].holiday || r[d].marked || r[d].substitute || r[d].draw_box);
        }
    }
}

TEST(DayClassTest, MonthOutsideRangeWritesNothing) {
    for (int m : {0, 13, -1, 99, -2147483647 - 1}) {
        DayClass out[31];
        memset(out, 0xA5, sizeof(out));
        ScheduleEntry e = make_entry(-1, m, 1, 1);
        EXPECT_EQ(classify_month(2004, m, month_marks(&e, 1, 2004, m), nullptr, 1, out), 0) << m;
        for (size_t i = 0; i < sizeof(out); ++i) ASSERT_EQ(((unsigned char*)out)[i], 0xA5);
    }
}

TEST(DayClassTest, MovableJanuaryDayFollowsShownYear) {
    std::vector<ScheduleEntry> list = {make_entry(-1, 1, 99, 1)};
    Month r1999 = classify(1999, 1, list);
    EXPECT_TRUE(r1999[15].holiday);
    EXPECT_TRUE(r1999[15].red);
    Month r2000 = classify(2000, 1, list);
    EXPECT_TRUE(r2000[10].holiday);
    EXPECT_TRUE(r2000[10].red);
    EXPECT_FALSE(r2000[15].holiday);
    EXPECT_FALSE(r2000[15].red);  // a Saturday
}

TEST(DayClassTest, DayCodesThatMatchNothingOrOneYear) {
    // Day 99 in May never resolves.
    Month may = classify(2004, 5, {make_entry(-1, 5, 99, 1)});
    for (int d = 1; d <= may.n; ++d) EXPECT_FALSE(may[d].holiday || may[d].marked) << d;

    // Day 98 tied to 2004: 12 July 2004 only.
    std::vector<ScheduleEntry> list = {make_entry(2004, 7, 98, 1)};
    Month jul04 = classify(2004, 7, list);
    for (int d = 1; d <= jul04.n; ++d) EXPECT_EQ(jul04[d].holiday, d == 12) << d;
    Month jul05 = classify(2005, 7, list);
    for (int d = 1; d <= jul05.n; ++d) EXPECT_FALSE(jul05[d].holiday) << d;

    // Day 97: third Monday.
    Month jul_third = classify(2004, 7, {make_entry(-1, 7, 97, 0)});
    for (int d = 1; d <= jul_third.n; ++d) EXPECT_EQ(jul_third[d].marked, d == 19) << d;
}

TEST(DayClassTest, SundayHolidayCarriesToMondayOnly) {
    // Sunday 3 May 2009 and, in the second list, Monday 4 May as well.
    std::vector<ScheduleEntry> lists[] = {
        {make_entry(-1, 5, 3, 1)},
        {make_entry(-1, 5, 3, 1), make_entry(-1, 5, 4, 1)},
    };
    for (auto& list : lists) {
        Month r = classify(2009, 5, list);
        EXPECT_TRUE(r[3].sunday && r[3].holiday && r[3].red);
        EXPECT_FALSE(r[3].substitute);
        EXPECT_TRUE(r[4].red);
        EXPECT_TRUE(r[4].substitute);
        EXPECT_EQ(r[4].color, kColorRed);
        EXPECT_FALSE(r[5].red);  // a holiday on the Monday passes nothing on
        EXPECT_FALSE(r[5].substitute);
        EXPECT_EQ(r[5].color, kColorBlack);
    }
    // A Sunday without a holiday does not carry.
    Month plain = classify(2009, 5, {});
    EXPECT_TRUE(plain[3].red);
    EXPECT_FALSE(plain[4].red);
}

TEST(DayClassTest, MonthEndSundayHolidayDoesNotCarryIntoNextMonth) {
    ASSERT_EQ(weekday_of(2006, 4, 30), 0);
    std::vector<ScheduleEntry> list = {make_entry(-1, 4, 30, 1)};
    Month apr = classify(2006, 4, list);
    EXPECT_TRUE(apr[30].holiday && apr[30].red);
    Month may = classify(2006, 5, list);
    EXPECT_FALSE(may[1].red);
    EXPECT_FALSE(may[1].substitute);
}

TEST(DayClassTest, ColoursByMode) {
    // May 2009: 3rd Sunday, 4th Monday, 5th Tuesday, 9th Saturday, 16th Saturday.
    std::vector<ScheduleEntry> list = {
        make_entry(2009, 5, 3, 0),   // Sunday with an ordinary entry
        make_entry(2009, 5, 5, 0),   // marked weekday
        make_entry(2009, 5, 9, 1),   // Saturday holiday
        make_entry(2009, 5, 16, 0),  // marked Saturday
        make_entry(2009, 5, 20, 1),  // weekday holiday that is also marked
        make_entry(2009, 5, 20, 0),
    };
    struct { int day, cmode; ColorRef color; bool box; } cases[] = {
        {3, 0, kColorMagenta, false}, {3, 1, kColorRed, true},
        {4, 0, kColorBlack, false},   {4, 1, kColorBlack, false},
        {5, 0, kColorBlue, false},    {5, 1, kColorBlack, true},
        {9, 0, kColorRed, false},     {9, 1, kColorRed, false},
        {16, 0, kColorBlue, false},   {16, 1, kColorBlue, true},
        {23, 0, kColorBlack, false},  {23, 1, kColorBlue, false},  // plain Saturday
        {20, 0, kColorMagenta, false}, {20, 1, kColorRed, true},
    };
    Month by_mode[2] = {classify(2009, 5, list, 0), classify(2009, 5, list, 1)};
    for (auto& c : cases) {
        const DayClass& dc = by_mode[c.cmode][c.day];
        EXPECT_EQ(dc.color, c.color) << "day " << c.day << " cmode " << c.cmode;
        EXPECT_EQ(dc.draw_box, c.box) << "day " << c.day << " cmode " << c.cmode;
    }
    EXPECT_TRUE(by_mode[1][20].holiday && by_mode[1][20].marked);
    // Any nonzero cmode colours Saturdays.
    EXPECT_EQ(classify(2009, 5, {}, 8)[23].color, kColorBlue);
}

TEST(DayClassTest, EntriesWithoutValidDateNeverMatch) {
    std::vector<ScheduleEntry> list = {
        make_entry(-1, -1, 5, 1), make_entry(-1, 5, -1, 1), make_entry(-1, -1, -1, 0),
        make_entry(2009, 5, 0, 1), make_entry(2009, 5, 32, 1),
    };
    Month r = classify(2009, 5, list);
    for (int d = 1; d <= r.n; ++d) EXPECT_FALSE(r[d].holiday || r[d].marked) << d;
}

TEST(DayClassTest, ListIsReadOnlyUpToCount) {
    std::vector<ScheduleEntry> list = {make_entry(-1, 5, 5, 1), make_entry(-1, 5, 6, 1)};
    DayClass out[31];
    ASSERT_EQ(classify_month(2009, 5, month_marks(list.data(), 1, 2009, 5), nullptr, 1, out), 31);
    EXPECT_TRUE(out[4].holiday);
    EXPECT_FALSE(out[5].holiday);
    ASSERT_EQ(classify_month(2009, 5, month_marks(nullptr, 5, 2009, 5), nullptr, 1, out), 31);
    ASSERT_EQ(classify_month(2009, 5, month_marks(list.data(), -3, 2009, 5), nullptr, 1, out), 31);
    EXPECT_FALSE(out[4].holiday);
}

}  // namespace

namespace {

// Every entry asked about every day: what a day's holiday and marked flags mean.
void classify_by_asking_every_entry(int y, int m, const ScheduleEntry* list, int count,
                                    bool holiday[32], bool marked[32]) {
    for (int d = 1; d <= 31; ++d) {
        holiday[d] = marked[d] = false;
        for (int i = 0; i < count; ++i) {
            if (!entry_on_date(&list[i], y, m, d)) continue;
            (list[i].holiday != 0 ? holiday : marked)[d] = true;
        }
    }
}

}  // namespace

TEST(DayClassTest, SameFlagsAsAskingEveryEntryAboutEveryDay) {
    // Day codes of every kind, including ones that match nothing, over fixed and yearly
    // entries, holidays and plain ones, some on the same day.
    const int days[] = {1, 2, 15, 28, 29, 30, 31, 0, 32, 96, 97, 98, 99, 100, -3};
    const int years[] = {-1, 1999, 2000, 2004, 2009};
    std::vector<ScheduleEntry> list;
    int k = 0;
    for (int m = 0; m <= 13; ++m)
        for (int d : days)
            for (int y : years) {
                ScheduleEntry e;
                entry_blank(&e);
                e.year = y;
                e.month = m;
                e.day = d;
                e.holiday = static_cast<uint8_t>((k++ % 3) == 0 ? 1 : 0);
                list.push_back(e);
            }
    for (int y = 1999; y <= 2009; ++y)
        for (int m = 1; m <= 12; ++m) {
            DayClass out[31];
            const int n =
                classify_month(y, m, month_marks(list.data(), int(list.size()), y, m), nullptr, 1, out);
            bool holiday[32], marked[32];
            classify_by_asking_every_entry(y, m, list.data(), int(list.size()), holiday, marked);
            for (int d = 1; d <= n; ++d) {
                EXPECT_EQ(out[d - 1].holiday, holiday[d]) << y << "-" << m << "-" << d;
                EXPECT_EQ(out[d - 1].marked, marked[d]) << y << "-" << m << "-" << d;
            }
        }
}

// Shown national holidays turn their days red and change nothing else: entries keep their
// marks and boxes, and only a Sunday holiday entry passes red on to the Monday.
TEST(DayClassTest, NationalHolidaysAddRedDaysOnly) {
    // On 憲法記念日, on 5 May (a Sunday in 2019), a Sunday off the holidays, a day between two.
    const std::vector<ScheduleEntry> list = {make_entry(-1, 5, 3, 0), make_entry(-1, 5, 5, 1),
                                             make_entry(2019, 5, 12, 1), make_entry(-1, 9, 22, 0)};
    for (int y : {1989, 2009, 2019, 2020, 2026})
        for (int m = 1; m <= 12; ++m)
            for (int cmode : {0, 1}) {
                MonthHolidays h;
                national_holidays_of_month(y, m, &h);
                Month on;
                on.n = classify_month(y, m, month_marks(list.data(), (int)list.size(), y, m), &h, cmode, on.day);
                const Month off = classify(y, m, list, cmode);
                for (int d = 1; d <= off.n; ++d) {
                    const DayClass &a = on[d], &b = off[d];
                    const ColorRef red = cmode ? kColorRed : make_rgb(255, 0, a.marked ? 255 : 0);
                    EXPECT_TRUE(a.national == (h.name[d] != nullptr) && !b.national && a.red == (b.red || a.national) &&
                                a.holiday == b.holiday && a.marked == b.marked && a.substitute == b.substitute &&
                                a.draw_box == b.draw_box && a.color == (a.national ? red : b.color))
                        << y << "-" << m << "-" << d << " cmode " << cmode;
                }
            }
}
namespace {

int luma(ColorRef c) {
    return (299 * int(c & 0xff) + 587 * int(c >> 8 & 0xff) + 114 * int(c >> 16 & 0xff) + 500) / 1000;
}

TEST(MarkedBoxColour, SchemesOfOldAndNew) {
    const struct {
        const char* scheme;
        ColorRef face, window, want;
    } cases[] = {
        {"classic grey", make_rgb(192, 192, 192), make_rgb(255, 255, 255), make_rgb(192, 192, 192)},
        {"beige of 2000", make_rgb(212, 208, 200), make_rgb(255, 255, 255), make_rgb(212, 208, 200)},
        {"grey on a dark window", make_rgb(192, 192, 192), make_rgb(0, 0, 0), make_rgb(192, 192, 192)},
        {"today's light grey", make_rgb(240, 240, 240), make_rgb(255, 255, 255), make_rgb(191, 191, 191)},
        {"face as the window", make_rgb(255, 255, 255), make_rgb(255, 255, 255), make_rgb(191, 191, 191)},
        {"all black", make_rgb(0, 0, 0), make_rgb(0, 0, 0), make_rgb(64, 64, 64)},
    };
    for (const auto& c : cases) EXPECT_EQ(marked_box_colour(c.face, c.window), c.want) << c.scheme;
}

TEST(MarkedBoxColour, DarkerShadeKeepsTheHue) {
    const ColorRef face = make_rgb(236, 233, 216), window = make_rgb(255, 255, 255);
    const ColorRef got = marked_box_colour(face, window);
    const int r = int(got & 0xff), g = int(got >> 8 & 0xff), b = int(got >> 16 & 0xff);
    EXPECT_LT(r, 236);
    EXPECT_LT(b, 216);
    EXPECT_GT(r, b);  // still warmer than grey: the same factor on every channel
    EXPECT_NEAR(r * 216.0 / 236, b, 1.0);
    EXPECT_NEAR(luma(got), 255 - 64, 2);
}

// Whatever the two colours, the box stands out from the window; a face that already does is
// left as it is.
TEST(MarkedBoxColour, AlwaysVisible) {
    const int levels[] = {0, 16, 60, 100, 127, 128, 160, 200, 224, 240, 250, 255};
    for (int f : levels)
        for (int w : levels)
            for (int tint = 0; tint < 3; ++tint) {
                const ColorRef face = make_rgb(f, tint == 1 ? f / 2 : f, tint == 2 ? 255 - f / 4 : f);
                const ColorRef window = make_rgb(w, w, tint == 2 ? w / 2 : w);
                const ColorRef got = marked_box_colour(face, window);
                const int gap = std::abs(luma(got) - luma(window));
                SCOPED_TRACE(testing::Message() << std::hex << face << " on " << window);
                EXPECT_GE(gap, 32);
                if (std::abs(luma(face) - luma(window)) >= 32) EXPECT_EQ(got, face);
            }
}

}  // namespace
