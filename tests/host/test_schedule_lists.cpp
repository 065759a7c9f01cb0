// The two schedule lists: which entries the day contents and the recent list hold (in
// list order), their row texts, the distance and next-year rules, entries with impossible
// stored dates, and the days-ahead combo box.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "dialogs/schedule_lists.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/entry_maker.h"
#include "tests/host/repeat_maker.h"

namespace {

// An entry with a memo, as the lists show it.
ScheduleEntry entry(int year, int month, int day, const char* memo, int holiday = 0) {
    return make_entry(year, month, day, holiday, memo);
}

struct Today {
    int y, m, d;
};

std::vector<RecentRow> recent(const std::vector<ScheduleEntry>& list, Today t, int width) {
    std::vector<RecentRow> rows;
    for (const ScheduleEntry& e : list) {
        RecentRow r;
        if (recent_row(&e, t.y, t.m, t.d, width, &r)) rows.push_back(r);
    }
    return rows;
}

std::vector<std::string> recent_memos(const std::vector<ScheduleEntry>& list, Today t,
                                      int width) {
    std::vector<std::string> memos;
    for (const RecentRow& r : recent(list, t, width)) memos.push_back(r.memo);
    return memos;
}

std::vector<std::string> day_memos(const std::vector<ScheduleEntry>& list, int y, int m, int d) {
    std::vector<std::string> memos;
    for (const ScheduleEntry& e : list) {
        DayRow r;
        if (day_contents_row(&e, y, m, d, &r)) memos.push_back(r.memo);
    }
    return memos;
}

using Memos = std::vector<std::string>;

TEST(RecentList, DistanceLabelsAndWidth) {
    const Today today = {2004, 6, 1};
    struct Case {
        int day_of_june;  // the entry's date
        int width;
        bool listed;
        const char* label;
        const char* date;
    } cases[] = {
        {1, 10, true, "今日", " 6月 1日(火)"},     {2, 10, true, "明日", " 6月 2日(水)"},
        {3, 10, true, "明後日", " 6月 3日(木)"},   {4, 10, true, " 3日後", " 6月 4日(金)"},
        {11, 10, true, "10日後", " 6月11日(金)"},  {12, 10, false, "", ""},
        {12, 11, true, "11日後", " 6月12日(土)"},
        // A stored width outside 1..99 counts as its nearest end.
        {2, 0, true, "明日", " 6月 2日(水)"},      {3, 0, false, "", ""},
        {3, -7, false, "", ""},                   {30, 500, true, "29日後", " 6月30日(水)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "June " << c.day_of_june << " width " << c.width);
        const std::vector<RecentRow> rows = recent({entry(-1, 6, c.day_of_june, "m")}, today, c.width);
        ASSERT_EQ(rows.size(), c.listed ? 1u : 0u);
        if (!c.listed) continue;
        EXPECT_EQ(rows[0].days, c.day_of_june - 1);
        EXPECT_STREQ(rows[0].label, c.label);
        EXPECT_STREQ(rows[0].date, c.date);
    }
}

TEST(RecentList, WidthReachesNinetyNineDaysAtMost) {
    const Today today = {2004, 6, 1};  // 99 days on: 8 September; 100 days: 9 September
    EXPECT_EQ(recent_memos({entry(2004, 9, 8, "99"), entry(2004, 9, 9, "100")}, today, 99),
              (Memos{"99"}));
    EXPECT_EQ(recent_memos({entry(2004, 9, 8, "99"), entry(2004, 9, 9, "100")}, today, 1000),
              (Memos{"99"}));
}

TEST(RecentList, EveryYearEntriesAndTheNextYear) {
    struct Case {
        Today today;
        ScheduleEntry e;
        int width;
        long days;  // -1: not listed
        const char* date;
    } cases[] = {
        // A month before this one falls in next year.
        {{2004, 12, 20}, entry(-1, 1, 5, "m"), 16, 16, " 1月 5日(水)"},
        {{2004, 12, 20}, entry(-1, 1, 5, "m"), 15, -1, ""},
        // An earlier day of this month has passed and is not listed.
        {{2004, 12, 20}, entry(-1, 12, 19, "m"), 99, -1, ""},
        {{2004, 12, 20}, entry(-1, 12, 20, "m"), 99, 0, "12月20日(月)"},
        // Across the end of February in a leap and a common year.
        {{2004, 2, 27}, entry(-1, 3, 1, "m"), 10, 3, " 3月 1日(月)"},
        {{2005, 2, 27}, entry(-1, 3, 1, "m"), 10, 2, " 3月 1日(火)"},
        // Next year's day codes are resolved for next year.
        {{2004, 11, 20}, entry(-1, 1, 98, "m"), 60, 51, " 1月10日(月)"},
        {{1999, 12, 20}, entry(-1, 1, 99, "m"), 30, 21, " 1月10日(月)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.today.y << "-" << c.today.m << "-" << c.today.d << " entry "
                                        << c.e.month << "/" << c.e.day);
        const std::vector<RecentRow> rows = recent({c.e}, c.today, c.width);
        ASSERT_EQ(rows.size(), c.days < 0 ? 0u : 1u);
        if (c.days < 0) continue;
        EXPECT_EQ(rows[0].days, c.days);
        EXPECT_STREQ(rows[0].date, c.date);
    }
}

// Day codes in January before and after 2000 (code 99 moved from the 15th to the second
// Monday), and code 99 in a month where it names no day.
TEST(RecentList, DayCodes) {
    struct Case {
        Today today;
        ScheduleEntry e;
        long days;
        const char* date;
    } cases[] = {
        {{1999, 1, 1}, entry(-1, 1, 99, "m"), 14, " 1月15日(金)"},
        {{2000, 1, 1}, entry(-1, 1, 99, "m"), 9, " 1月10日(月)"},
        {{2000, 1, 11}, entry(-1, 1, 99, "m"), -1, ""},  // 15 January 2000 is not its day
        {{1999, 1, 1}, entry(-1, 1, 98, "m"), 10, " 1月11日(月)"},
        {{2004, 1, 1}, entry(-1, 1, 98, "m"), 11, " 1月12日(月)"},
        {{2004, 1, 1}, entry(-1, 1, 97, "m"), 18, " 1月19日(月)"},
        {{2004, 3, 1}, entry(-1, 3, 99, "m"), 19, " 3月20日(土)"},
        {{2004, 9, 1}, entry(-1, 9, 99, "m"), 22, " 9月23日(木)"},
        {{1999, 10, 1}, entry(-1, 10, 99, "m"), 9, "10月10日(日)"},
        {{2004, 10, 1}, entry(-1, 10, 99, "m"), 10, "10月11日(月)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.today.y << "-" << c.today.m << "-" << c.today.d << " code "
                                        << c.e.day << " month " << c.e.month);
        const std::vector<RecentRow> rows = recent({c.e}, c.today, 99);
        ASSERT_EQ(rows.size(), c.days < 0 ? 0u : 1u);
        if (c.days < 0) continue;
        EXPECT_EQ(rows[0].days, c.days);
        EXPECT_STREQ(rows[0].date, c.date);
    }
}

TEST(ScheduleLists, MovableDayInMayIsNeverListed) {
    const std::vector<ScheduleEntry> list = {entry(-1, 5, 99, "may"), entry(2004, 5, 99, "may04")};
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= days_in_month(m, 2004); ++d) {
            EXPECT_TRUE(recent_memos(list, {2004, m, d}, 99).empty()) << m << "/" << d;
            EXPECT_TRUE(day_memos(list, 2004, m, d).empty()) << m << "/" << d;
        }
}

TEST(ScheduleLists, YearBoundEntriesOnlyInTheirYear) {
    const std::vector<ScheduleEntry> list = {entry(2005, 1, 3, "2005"), entry(2004, 1, 3, "2004"),
                                             entry(2004, 7, 98, "July")};
    EXPECT_EQ(recent_memos(list, {2004, 12, 30}, 10), (Memos{"2005"}));
    EXPECT_EQ(recent_memos(list, {2005, 12, 30}, 10), (Memos{}));
    EXPECT_EQ(recent_memos(list, {2003, 12, 30}, 10), (Memos{"2004"}));
    EXPECT_EQ(day_memos(list, 2004, 7, 12), (Memos{"July"}));
    EXPECT_EQ(day_memos(list, 2005, 7, 11), (Memos{}));
    EXPECT_EQ(day_memos(list, 2005, 1, 3), (Memos{"2005"}));
    EXPECT_EQ(day_memos(list, 2006, 1, 3), (Memos{}));
}

TEST(ScheduleLists, TimeAndAlarmColumns) {
    struct Case {
        int hour, minute, alarm_kind;
        const char* time;
        const char* alarm;
    } cases[] = {
        {9, 5, 0, " 9:05", ""},  {9, 5, 1, " 9:05", "A"}, {23, 59, 3, "23:59", "A"},
        {0, 0, 2, " 0:00", "A"}, {-1, -1, 1, "", ""},     {-1, -1, 0, "", ""},
        {10, -1, 2, "", ""},     {-1, 30, 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute << " kind " << c.alarm_kind);
        ScheduleEntry e = make_entry(2004, 6, 1, 0, "m", c.hour, c.minute, c.alarm_kind);
        e.hour = c.hour;  // a stored file may hold a time with one half unset
        e.minute = c.minute;
        RecentRow r;
        ASSERT_TRUE(recent_row(&e, 2004, 6, 1, 10, &r));
        EXPECT_STREQ(r.time, c.time);
        EXPECT_STREQ(r.alarm, c.alarm);
        DayRow dr;
        ASSERT_TRUE(day_contents_row(&e, 2004, 6, 1, &dr));
        EXPECT_STREQ(dr.time, c.time);
    }
}

// Rows keep the order of the schedule list; nothing is sorted by distance.
TEST(ScheduleLists, RowsKeepListOrder) {
    const std::vector<ScheduleEntry> list = {
        entry(2004, 6, 5, "fifth"), entry(-1, 6, 1, "today", 1), entry(2004, 6, 3, "third"),
        entry(2004, 6, 1, "today again"), entry(2004, 5, 31, "yesterday"),
    };
    const std::vector<RecentRow> rows = recent(list, {2004, 6, 1}, 10);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(rows[0].memo, "fifth");
    EXPECT_STREQ(rows[0].label, " 4日後");
    EXPECT_STREQ(rows[1].memo, "today");
    EXPECT_EQ(rows[1].image, 1);
    EXPECT_STREQ(rows[2].memo, "third");
    EXPECT_EQ(rows[2].image, 0);
    EXPECT_STREQ(rows[3].memo, "today again");
    EXPECT_EQ(day_memos(list, 2004, 6, 1), (Memos{"today", "today again"}));
}

// The day contents list exactly the entries that make the month grid mark or colour a
// day, for every day of sample years.
TEST(DayContents, MatchesTheMonthGridEveryDay) {
    std::vector<ScheduleEntry> list = {
        entry(-1, 1, 1, "new year", 1),  entry(-1, 1, 99, "coming of age", 1),
        entry(-1, 3, 99, "vernal", 1),   entry(-1, 9, 99, "autumnal", 1),
        entry(-1, 10, 99, "sports", 1),  entry(-1, 7, 98, "second monday"),
        entry(-1, 11, 97, "third monday"), entry(-1, 5, 99, "never"),
        entry(2000, 4, 29, "dated"),     entry(2009, 5, 3, "sunday holiday", 1),
        entry(-1, 2, 29, "leap day"),    entry(-1, 12, 31, "year end"),
        entry(-1, 6, 15, "plain"),       entry(-1, 6, 15, "plain twice"),
        entry(-1, 0, 5, "month zero"),   entry(-1, 13, 5, "month thirteen"),
        entry(-1, 4, 0, "day zero"),     entry(-1, 4, 31, "april 31"),
    };
    for (int y : {1999, 2000, 2009, 2079}) {
        for (int m = 1; m <= 12; ++m) {
            DayClass days[31];
            const int n =
                classify_month(y, m, month_marks(list.data(), (int)list.size(), y, m), nullptr, 1, days);
            ASSERT_EQ(n, days_in_month(m, y));
            for (int d = 1; d <= n; ++d) {
                const Memos memos = day_memos(list, y, m, d);
                int holidays = 0;
                for (const ScheduleEntry& e : list)
                    if (entry_on_date(&e, y, m, d) && e.holiday) ++holidays;
                SCOPED_TRACE(testing::Message() << y << "-" << m << "-" << d);
                EXPECT_EQ(days[d - 1].holiday || days[d - 1].marked, !memos.empty());
                EXPECT_EQ(days[d - 1].holiday, holidays > 0);
            }
        }
    }
    EXPECT_EQ(day_memos(list, 2000, 1, 10), (Memos{"coming of age"}));
    EXPECT_EQ(day_memos(list, 2000, 1, 15), (Memos{}));
    EXPECT_EQ(day_memos(list, 1999, 1, 15), (Memos{"coming of age"}));
    EXPECT_EQ(day_memos(list, 2004, 6, 15), (Memos{"plain", "plain twice"}));
}

// Hand-edited or legacy files can hold dates no calendar has: nothing is listed for them
// and nothing past a table is read.
TEST(ScheduleLists, ImpossibleStoredDates) {
    const std::vector<ScheduleEntry> list = {
        entry(-1, 0, 5, "month zero"), entry(-1, 13, 5, "month thirteen"),
        entry(-1, -1, -1, "unset"),    entry(-1, 2, 29, "leap day"),
        entry(-1, 6, 0, "day zero"),   entry(-1, 6, 31, "june 31"),
        entry(-1, 6, -3, "day minus"), entry(1975, 6, 3, "1975"),
        entry(-1, 6, 96, "code 96"),   entry(-1, 2147483647, 5, "huge month"),
    };
    // Every date of two years, wide window: only the real leap day ever appears.
    for (int y : {2004, 2005}) {
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= days_in_month(m, y); ++d) {
                const Memos rec = recent_memos(list, {y, m, d}, 99);
                // From March on the entry counts in next year, whose February is short.
                const bool near_leap_day = y == 2004 && m <= 2;
                EXPECT_EQ(rec, near_leap_day ? Memos{"leap day"} : Memos{}) << y << "-" << m << "-" << d;
                const Memos day = day_memos(list, y, m, d);
                EXPECT_EQ(day, y == 2004 && m == 2 && d == 29 ? Memos{"leap day"} : Memos{});
            }
    }
    // The start of the range: a year before 1980 is not taken for 1980.
    EXPECT_EQ(recent_memos(list, {1980, 6, 1}, 10), (Memos{}));
    // Dates the month does not have and months outside 1..12 as the day asked for.
    EXPECT_EQ(day_memos(list, 2005, 2, 29), (Memos{}));
    EXPECT_EQ(day_memos(list, 2004, 6, 31), (Memos{}));
    EXPECT_EQ(day_memos(list, 2004, 13, 5), (Memos{}));
    EXPECT_EQ(day_memos(list, 2004, 0, 5), (Memos{}));
}

TEST(ScheduleLists, FullMemoIsCutOnACharacterBoundary) {
    ScheduleEntry a = entry(2004, 6, 1, "");
    std::memset(a.memo, 'x', sizeof a.memo);  // no terminator in all 81 bytes
    ScheduleEntry b = a;
    b.memo[79] = '\x82';  // a double-byte character across the 80th byte
    b.memo[80] = '\xa0';
    const std::string eighty(80, 'x');
    RecentRow r;
    ASSERT_TRUE(recent_row(&a, 2004, 6, 1, 10, &r));
    EXPECT_EQ(std::string(r.memo), eighty);
    ASSERT_TRUE(recent_row(&b, 2004, 6, 1, 10, &r));
    EXPECT_EQ(std::string(r.memo), eighty.substr(0, 79));
    DayRow d;
    ASSERT_TRUE(day_contents_row(&b, 2004, 6, 1, &d));
    EXPECT_EQ(std::string(d.memo), eighty.substr(0, 79));
}

TEST(ScheduleLists, HolidayImageForAnyNonZeroByte) {
    struct Case {
        int holiday, image;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {255, 1}};
    for (const Case& c : cases) {
        const ScheduleEntry e = entry(2004, 6, 1, "m", c.holiday);
        EXPECT_EQ(entry_image(&e), c.image) << c.holiday;
        DayRow d;
        ASSERT_TRUE(day_contents_row(&e, 2004, 6, 1, &d));
        EXPECT_EQ(d.image, c.image);
    }
}

// The old calendar's row of the day contents (dates from the published almanac: 冬至 on
// 22 December 2014 was 旧暦 11月1日, 大安): the whole line with 旧暦・節気 on, the 六曜 alone
// with only 六曜 on, nothing with both off or outside the old calendar's years.
TEST(ScheduleLists, OldCalendarRow) {
    const struct {
        int y, m, d, rokuyo, kyureki;
        const char* memo;  // nullptr: no row
    } cases[] = {
        {2014, 12, 22, 0, 1, "旧暦 11月1日 大安 / 冬至"},
        {2014, 12, 22, 1, 1, "旧暦 11月1日 大安 / 冬至"},
        {2014, 12, 22, 1, 0, "大安"},
        {2014, 12, 22, 0, 0, nullptr},
        {2014, 3, 18, 0, 1, "旧暦 2月18日 先勝 / 彼岸入り・社日"},
        {2033, 12, 22, 5, 0, "大安"},  // any nonzero switch is on
        {2017, 6, 24, 0, 1, "旧暦 閏5月1日 大安"},
        {1979, 12, 31, 1, 1, nullptr},
        {2080, 1, 1, 1, 1, nullptr},
        {2023, 2, 29, 1, 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d << " " << c.rokuyo << c.kyureki);
        DayRow row;
        row.image = 7;
        std::strcpy(row.time, "x");
        const bool got = day_contents_almanac_row(c.y, c.m, c.d, c.rokuyo, c.kyureki, &row);
        ASSERT_EQ(got, c.memo != nullptr);
        if (!got) continue;
        EXPECT_STREQ(row.memo, c.memo);
        EXPECT_EQ(row.image, 0);
        EXPECT_STREQ(row.time, "");
    }
}

TEST(ScheduleLists, HeadersAndLabels) {
    char buf[64];
    struct Header {
        int y, m, d;
        const char* want;
    } headers[] = {
        {2004, 5, 3, "2004年 5月 3日(月)"},
        {1994, 12, 31, "1994年12月31日(土)"},
        {2000, 2, 29, "2000年 2月29日(火)"},
        {2079, 12, 31, "2079年12月31日(日)"},
    };
    for (const Header& h : headers) {
        format_list_header(buf, sizeof buf, h.y, h.m, h.d, 0);
        EXPECT_STREQ(buf, h.want);
    }
    struct Label {
        long n;
        const char* want;
    } labels[] = {{0, "今日"}, {1, "明日"}, {2, "明後日"}, {3, " 3日後"}, {10, "10日後"}, {99, "99日後"}};
    for (const Label& l : labels) {
        format_distance_label(buf, sizeof buf, l.n);
        EXPECT_STREQ(buf, l.want);
    }
}

// The national holiday rows: the flag, no time or alarm, the holiday's name, in date order.
TEST(ScheduleLists, NationalHolidayRows) {
    const struct {
        int y, m, d, national;
        const char* name;  // nullptr: no row
    } days[] = {{2019, 5, 3, 1, "憲法記念日"}, {2019, 5, 6, 1, "振替休日"}, {2019, 5, 3, 0, nullptr},
                {2019, 5, 7, 1, nullptr}};
    for (const auto& c : days) {
        DayRow row;
        ASSERT_EQ(day_contents_holiday_row(c.y, c.m, c.d, c.national, &row), c.name != nullptr) << c.m << "/" << c.d;
        if (c.name) {
            EXPECT_TRUE(row.image == 1 && row.time[0] == '\0') << c.d;
            EXPECT_STREQ(row.memo, c.name);
        }
    }
    const struct {
        Today today;
        int width, national, max;
        std::vector<std::string> rows;
    } ranges[] = {
        {{2019, 4, 29}, 3, 1, 9, {"今日| 4月29日(月)|昭和の日", "明日| 4月30日(火)|国民の休日",
                                  "明後日| 5月 1日(水)|天皇の即位の日", " 3日後| 5月 2日(木)|国民の休日"}},
        {{2019, 12, 30}, 5, 1, 9, {"明後日| 1月 1日(水)|元日"}},
        {{2021, 8, 1}, 10, 1, 9, {" 7日後| 8月 8日(日)|山の日", " 8日後| 8月 9日(月)|振替休日"}},
        {{2019, 3, 1}, 99, 1, 2, {"20日後| 3月21日(木)|春分の日", "59日後| 4月29日(月)|昭和の日"}},
        {{2019, 4, 29}, 10, 0, 9, {}},
        {{2079, 12, 30}, 99, 1, 9, {}},
    };
    for (const auto& c : ranges) {
        RecentRow rows[kMaxRecentHolidays];
        const int n = recent_holiday_rows(c.today.y, c.today.m, c.today.d, c.width, c.national, rows, c.max);
        std::vector<std::string> got;
        for (int i = 0; i < n; ++i) {
            EXPECT_TRUE(rows[i].image == 1 && rows[i].time[0] == '\0' && rows[i].alarm[0] == '\0');
            got.push_back(std::string(rows[i].label) + "|" + rows[i].date + "|" + rows[i].memo);
        }
        EXPECT_EQ(got, c.rows) << c.today.y << "-" << c.today.m << "-" << c.today.d;
    }
}

TEST(TodoWidth, ComboItemsSortInNumericOrder) {
    char prev[8] = "", item[8];
    for (int k = 1; k <= 99; ++k) {
        format_todo_width_item(item, sizeof item, k);
        ASSERT_EQ(std::strlen(item), 2u) << k;
        ASSERT_EQ(std::atoi(item), k);
        // The box is sorted as text: item k - 1 must stay width k.
        if (k > 1) {
            ASSERT_LT(std::strcmp(prev, item), 0) << k;
        }
        std::memcpy(prev, item, sizeof item);
    }
    format_todo_width_item(item, sizeof item, 1);
    EXPECT_STREQ(item, " 1");
}

TEST(TodoWidth, ClampSelectionAndPick) {
    struct Stored {
        int width, clamped, index;
    } stored[] = {{10, 10, 9}, {1, 1, 0}, {99, 99, 98}, {0, 1, 0},
                  {-4, 1, 0},  {100, 99, 98}, {150, 99, 98}, {2147483647, 99, 98}};
    for (const Stored& s : stored) {
        EXPECT_EQ(clamp_todo_width(s.width), s.clamped) << s.width;
        EXPECT_EQ(todo_width_item_index(s.width), s.index) << s.width;
    }
    struct Pick {
        int index, width;
        bool changed;
        int after;
    } picks[] = {
        {4, 10, true, 5},    {9, 10, false, 10}, {98, 150, true, 99}, {0, 0, true, 1},
        {-1, 10, false, 10}, {99, 10, false, 10}, {98, 99, false, 99},
    };
    for (const Pick& p : picks) {
        int w = p.width;
        EXPECT_EQ(todo_width_pick(p.index, &w), p.changed) << p.index << " " << p.width;
        EXPECT_EQ(w, p.after) << p.index << " " << p.width;
    }
}

// The recent list of repeating entries: one row per occurrence in the days it covers, in
// date order (one day's rows in list order), an occurrence begun before today on today, the
// time with its end, and no more rows than asked for.
TEST(ScheduleLists, RecentRowsOfEveryOccurrenceInDateOrder) {
    ScheduleEntry meeting = timed(weekly(2024, 1, 2, {2}), 14, 0, 0, 1);
    std::snprintf(meeting.memo, sizeof meeting.memo, "会議");
    meeting.has_end_time = 1, meeting.end_hour = 15, meeting.end_minute = 30;
    ScheduleEntry vacation = spanning(make_entry(2024, 5, 30, 1, "休暇"), 4);
    ScheduleEntry trash = skipping(weekly(2024, 1, 4, {1, 4}), {20240606});
    std::snprintf(trash.memo, sizeof trash.memo, "ゴミ");
    const std::vector<ScheduleEntry> list = {meeting, vacation, trash, entry(2024, 6, 3, "一度")};
    std::vector<RecentRow> rows(kMaxRecentRows);
    const int n = recent_rows(list.data(), (int)list.size(), 2024, 6, 1, 10, rows.data(), kMaxRecentRows);
    std::vector<std::string> got;
    for (int i = 0; i < n; ++i)
        got.push_back(std::string(rows[i].label) + " " + rows[i].date + " " + rows[i].time + " " + rows[i].alarm + " " + rows[i].memo);
    const std::vector<std::string> want = {
        "今日  6月 1日(土)   休暇",
        "明後日  6月 3日(月)   ゴミ",
        "明後日  6月 3日(月)   一度",
        " 3日後  6月 4日(火) 14:00〜15:30 A 会議",
        " 9日後  6月10日(月)   ゴミ",
        "10日後  6月11日(火) 14:00〜15:30 A 会議",
    };
    EXPECT_EQ(got, want);
    EXPECT_TRUE(entry_time_has_end(&list[0]));
    EXPECT_FALSE(entry_time_has_end(&list[1]));
    EXPECT_EQ(rows[0].image, 1);
    // Rows past max are left out; an impossible today or an empty list gives none.
    EXPECT_EQ(recent_rows(list.data(), (int)list.size(), 2024, 6, 1, 10, rows.data(), 2), 2);
    EXPECT_EQ(recent_rows(list.data(), (int)list.size(), 2024, 6, 31, 10, rows.data(), 10), 0);
    EXPECT_EQ(recent_rows(list.data(), 0, 2024, 6, 1, 10, rows.data(), 10), 0);
    // A daily entry over the widest list: a row a day, 100 of them.
    const ScheduleEntry every_day = daily(2024, 1, 1);
    EXPECT_EQ(recent_rows(&every_day, 1, 2024, 6, 1, 99, rows.data(), kMaxRecentRows), 100);
}

// The occurrences of the recent list against the days asked of each entry one by one: for
// every day from today to the width, each entry starting an occurrence on it, in list order;
// before them the occurrences begun earlier that last into today. Todays at month and year
// ends, in leap Februaries and on the 1st, over the narrowest and the widest list.
TEST(ScheduleLists, RecentOccurrencesAgreeWithEachEntrysDays) {
    ScheduleEntry night = timed(weekly(2023, 1, 6, {5}), 23, 0);  // Fridays 23:00 to 01:00
    night.has_end_time = 1, night.end_hour = 1, night.end_minute = 0;
    std::vector<ScheduleEntry> list = {
        skipping(weekly(2023, 1, 3, {2, 4}), {20240229, 20250102}),
        until(daily(2023, 12, 30, 3), 20240315),
        monthly_nth(2023, 1, 13, {2, -1}, 5),
        monthly_on(2023, 1, 31, {31}),
        monthly_on(2023, 1, 31, {-1}, 2),
        spanning(monthly_on(2023, 1, 28, {28}), 5),
        counted(yearly(2020, 2, 29), 4),
        make_entry(-1, 12, 31, 0, "every year"),
        make_entry(-1, 1, 1, 1, "new year"),
        spanning(make_entry(2024, 2, 27, 0, "trip"), 6),
        make_entry(2024, 3, 1, 0, "once"),
        night,
        counted(weekly(2024, 1, 1, {1, 3, 5}, 2), 9),
    };
    for (ScheduleEntry& e : list) entry_settle(&e);
    const struct {
        int y, m, d;
    } todays[] = {{2024, 1, 31}, {2024, 2, 28}, {2024, 2, 29}, {2024, 3, 1},  {2023, 12, 25},
                  {2024, 10, 31}, {2024, 12, 31}, {2025, 1, 1},  {2023, 2, 28}, {2024, 5, 4}};
    std::vector<RecentOccurrence> got(kMaxRecentRows);
    for (const auto& t : todays)
        for (int width : {1, 7, 31, 60, 99}) {
            const CalendarDate today{t.y, t.m, t.d};
            const long long t0 = civil_day_number(t.y, t.m, t.d);
            std::vector<std::string> want;
            for (int i = 0; i < (int)list.size(); ++i) {
                CalendarDate began;
                if (entry_occurrence_covering(list[i], today, &began) && date_ymd(began) < date_ymd(today))
                    want.push_back(std::to_string(i) + "@0");
            }
            for (int n = 0; n <= width; ++n) {
                const CalendarDate d = civil_date_of(t0 + n);
                for (int i = 0; i < (int)list.size(); ++i) {
                    CalendarDate one[1];
                    if (entry_days_between(list[i], d, d, one, 1) == 1) want.push_back(std::to_string(i) + "@" + std::to_string(n));
                }
            }
            const int count = recent_occurrences(list.data(), (int)list.size(), t.y, t.m, t.d, width, got.data(),
                                                 kMaxRecentRows);
            std::vector<std::string> have;
            for (int k = 0; k < count; ++k) {
                const RecentOccurrence& o = got[k];
                have.push_back(std::to_string(o.entry) + "@" + std::to_string(o.days));
                EXPECT_EQ(civil_day_number(o.day.year, o.day.month, o.day.day), t0 + o.days)
                    << t.y << "-" << t.m << "-" << t.d << " +" << width;
            }
            EXPECT_EQ(have, want) << t.y << "-" << t.m << "-" << t.d << " +" << width;
        }
}

}  // namespace
