#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"

namespace {

// 1 January 1980 and 1 January 1970 as 100-ns counts since 1601.
constexpr uint64_t kFileTime1980 = 119600064000000000ULL;
constexpr uint64_t kFileTime1970 = 116444736000000000ULL;

ScheduleEntry make_alarm(int y, int m, int d, int hour, int minute, int before, int kind = 1) {
    return make_alarm_entry(y, m, d, hour, minute, before, kind);
}

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        memset(schedule.entries, 0, sizeof(schedule.entries));
        schedule.count = 0;
        set_memo_compare(nullptr);
    }
};

// The entry whose alarm falls on exactly this instant, as a tick that
// reaches it asks for it.
int due_at(uint64_t t) { return find_due_alarm_between(schedule, t == 0 ? 0 : t - 1, t); }

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST_F(EntryTest, BlankEntry) {
    ScheduleEntry e;
    memset(&e, 0xAB, sizeof(e));
    entry_blank(&e);
    ScheduleEntry expected;
    memset(&expected, 0, sizeof(expected));
    expected.hour = -1;
    expected.minute = -1;
    EXPECT_EQ(memcmp(&e, &expected, sizeof(e)), 0);
}

TEST_F(EntryTest, OrderingKeys) {
    ScheduleEntry with_time = make_entry(2004, 5, 5, 0, "", 0, 0);
    ScheduleEntry scrambled = make_entry(2004, 5, 5, 0, "m");
    scrambled.scramble = 1;
    scrambled.alarm_kind = 3;
    struct { ScheduleEntry a, b; int expected; const char* what; } cases[] = {
        {make_entry(2004, 5, 5), make_entry(-1, 1, 1), -1, "dated before every-year"},
        {make_entry(-1, 1, 1), make_entry(-1, 12, 31), -1, "every-year by month and day"},
        {make_entry(2004, 5, 5), with_time, -1, "no time before 00:00"},
        {make_entry(2004, 1, 1, 1), make_entry(2004, 12, 31, 0), 1, "holiday after ordinary"},
        {make_entry(2004, 1, 1, 9), make_entry(2004, 12, 31, 1), 1, "marked after holiday"},
        {make_entry(-1, 1, 31), make_entry(-1, 1, 97), -1, "day code after real days"},
        {make_entry(-1, 1, 99), make_entry(-1, 2, 1), -1, "day code before next month"},
        {make_entry(2003, 12, 31), make_entry(2004, 1, 1), -1, "year"},
        {make_entry(2004, -1, -1), make_entry(2004, 1, 1), -1, "unset month counts as -1"},
        {make_entry(2004, 5, 5, 0, "", 9, 30), make_entry(2004, 5, 5, 0, "", 10, 0), -1, "time"},
        {make_entry(2004, 5, 5, 0, "a"), make_entry(2004, 5, 5, 0, "b"), -1, "memo"},
        {make_entry(2004, 5, 5, 0, "z"), make_entry(2004, 5, 5, 0, "あ"), -1, "memo bytes unsigned"},
        {make_entry(2004, 5, 5, 0, "ab"), make_entry(2004, 5, 5, 0, "a"), 1, "longer memo after prefix"},
        {make_entry(2004, 5, 5, 0, "m"), scrambled, 0, "scramble and alarm kind ignored"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(sign(entry_compare(&c.a, &c.b)), c.expected) << c.what;
        EXPECT_EQ(sign(entry_compare(&c.b, &c.a)), -c.expected) << c.what << " (reversed)";
    }
}

int reversed_compare(const char* a, const char* b) {
    return strcmp(b, a);
}

TEST_F(EntryTest, MemoCompareSeam) {
    ScheduleEntry a = make_entry(2004, 5, 5, 0, "a"), b = make_entry(2004, 5, 5, 0, "b");
    set_memo_compare(reversed_compare);
    EXPECT_GT(entry_compare(&a, &b), 0);
    set_memo_compare(nullptr);
    EXPECT_LT(entry_compare(&a, &b), 0);
}

TEST_F(EntryTest, MemoWithoutTerminatorIsReadInsideField) {
    ScheduleEntry a = make_entry(2004, 5, 5), b = make_entry(2004, 5, 5);
    memset(a.memo, 'x', sizeof(a.memo));
    memset(b.memo, 'x', sizeof(b.memo));
    EXPECT_EQ(entry_compare(&a, &b), 0);
}

TEST_F(EntryTest, SortOrdersLiveEntriesOnly) {
    const ScheduleEntry input[] = {
        make_entry(-1, 12, 31), make_entry(2004, 5, 5, 1), make_entry(2004, 5, 5, 0, "", 9, 0), make_entry(-1, 1, 98),
        make_entry(2004, 5, 5), make_entry(1999, 1, 1), make_entry(-1, 1, 1), make_entry(2004, 5, 5, 0, "b"),
    };
    const int n = (int)(sizeof(input) / sizeof(input[0]));
    for (int i = 0; i < n; ++i) ASSERT_EQ(schedule_add(&schedule, &input[i]), 1);
    ScheduleEntry scratch = make_entry(1980, 1, 1, 0, "scratch");
    schedule.entries[n] = scratch;  // beyond schedulecount: must stay where it is
    schedule_sort(&schedule);
    ASSERT_EQ(schedule.count, n);
    for (int i = 0; i + 1 < n; ++i) EXPECT_LE(entry_compare(&schedule.entries[i], &schedule.entries[i + 1]), 0) << i;
    EXPECT_STREQ(schedule.entries[n].memo, "scratch");
    EXPECT_EQ(schedule.entries[0].year, 1999);
    EXPECT_EQ(schedule.entries[n - 1].holiday, 1);
}

TEST_F(EntryTest, AddSetsLastEditedAndRefusesWhenFull) {
    for (int i = 0; i < kMaxEntries; ++i) {
        ScheduleEntry e = make_entry(2004, 1 + i % 12, 1 + i % 28);
        ASSERT_EQ(schedule_add(&schedule, &e), 1) << i;
        ASSERT_EQ(schedule.entries[i].last_edited, 1);
        if (i > 0) {
            ASSERT_EQ(schedule.entries[i - 1].last_edited, 0);
        }
    }
    ASSERT_EQ(schedule.count, kMaxEntries);
    ScheduleEntry before = schedule.entries[kMaxEntries - 1];
    ScheduleEntry extra = make_entry(2079, 12, 31, 1, "extra");
    EXPECT_EQ(schedule_add(&schedule, &extra), 0);
    EXPECT_EQ(schedule.count, kMaxEntries);
    EXPECT_EQ(memcmp(&schedule.entries[kMaxEntries - 1], &before, sizeof(before)), 0);
    EXPECT_EQ(schedule_add(&schedule, nullptr), 0);
}

TEST_F(EntryTest, AddedCopyIsTerminated) {
    ScheduleEntry e = make_entry(2004, 1, 1);
    memset(e.memo, 'm', sizeof(e.memo));
    memset(e.sound_file, 's', sizeof(e.sound_file));
    ASSERT_EQ(schedule_add(&schedule, &e), 1);
    EXPECT_EQ(strlen(schedule.entries[0].memo), 80u);
    EXPECT_EQ(strlen(schedule.entries[0].sound_file), 266u);
}

TEST_F(EntryTest, ReplaceAndLastEdited) {
    for (int i = 0; i < 3; ++i) {
        ScheduleEntry e = make_entry(2004, 1, i + 1);
        schedule_add(&schedule, &e);
    }
    ScheduleEntry r = make_entry(2005, 6, 7, 0, "changed");
    schedule_replace(&schedule, 0, &r);
    EXPECT_STREQ(schedule.entries[0].memo, "changed");
    EXPECT_EQ(schedule.entries[0].last_edited, 1);
    EXPECT_EQ(schedule.entries[2].last_edited, 0);

    schedule_replace(&schedule, 3, &r);  // past the live entries: nothing happens
    schedule_replace(&schedule, -1, &r);
    EXPECT_EQ(schedule.count, 3);
    EXPECT_EQ(schedule.entries[3].year, 0);

    set_last_edited(&schedule, -1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(schedule.entries[i].last_edited, 0);
    set_last_edited(&schedule, 2);
    EXPECT_EQ(schedule.entries[2].last_edited, 1);
}

TEST_F(EntryTest, DeleteThreeOfTen) {
    for (int i = 0; i < 10; ++i) {
        char memo[8];
        snprintf(memo, sizeof(memo), "m%d", i);
        ScheduleEntry e = make_entry(2004, 10 - i, 1, 0, memo);  // added in reverse date order
        schedule_add(&schedule, &e);
    }
    schedule_sort(&schedule);
    const char* removed[] = {"m8", "m5", "m1"};
    for (int i = 0; i < 10; ++i)
        for (const char* r : removed)
            if (strcmp(schedule.entries[i].memo, r) == 0) schedule.entries[i].holiday = 9;
    set_last_edited(&schedule, -1);
    schedule_compact(&schedule);
    ASSERT_EQ(schedule.count, 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NE(schedule.entries[i].holiday, 9);
        for (const char* r : removed) EXPECT_STRNE(schedule.entries[i].memo, r);
        if (i > 0) {
            EXPECT_LT(entry_compare(&schedule.entries[i - 1], &schedule.entries[i]), 0);
        }
    }
}

TEST_F(EntryTest, CompactKeepsHolidayBytesAboveNine) {
    // Legacy imports may carry any holiday byte; 10 sorts after the marked 9s.
    ScheduleEntry keep = make_entry(2004, 1, 1, 10, "keep");
    ScheduleEntry drop = make_entry(2004, 1, 2, 9, "drop");
    ScheduleEntry plain = make_entry(2004, 1, 3, 0, "plain");
    schedule_add(&schedule, &keep);
    schedule_add(&schedule, &drop);
    schedule_add(&schedule, &plain);
    schedule_compact(&schedule);
    ASSERT_EQ(schedule.count, 2);
    EXPECT_STREQ(schedule.entries[0].memo, "plain");
    EXPECT_STREQ(schedule.entries[1].memo, "keep");
}

TEST_F(EntryTest, FileTimeFixedPoints) {
    uint64_t ft = 1;
    ASSERT_TRUE(wall_time_to_filetime(1601, 1, 1, 0, 0, 0, 0, &ft));
    EXPECT_EQ(ft, 0u);
    ASSERT_TRUE(wall_time_to_filetime(1970, 1, 1, 0, 0, 0, 0, &ft));
    EXPECT_EQ(ft, kFileTime1970);
    ASSERT_TRUE(wall_time_to_filetime(1980, 1, 1, 0, 0, 0, 0, &ft));
    EXPECT_EQ(ft, kFileTime1980);
    ASSERT_TRUE(wall_time_to_filetime(30827, 12, 31, 0, 0, 0, 0, &ft));
    EXPECT_EQ(ft, 0x7fff352bc602c000ULL);
    ASSERT_TRUE(wall_time_to_filetime(2004, 6, 1, 23, 59, 59, 999, &ft));
    uint64_t midnight = 0;
    ASSERT_TRUE(wall_time_to_filetime(2004, 6, 1, 0, 0, 0, 0, &midnight));
    EXPECT_EQ(ft - midnight, kTicksPerDay - 10000);
}

TEST_F(EntryTest, FileTimeValidation) {
    struct { int y, mo, d, h, mi, s, ms; bool ok; } cases[] = {
        {1600, 12, 31, 0, 0, 0, 0, false}, {1601, 1, 1, 0, 0, 0, 0, true},
        {30827, 12, 31, 23, 59, 59, 999, true}, {30828, 1, 1, 0, 0, 0, 0, false},
        {-1, 1, 1, 0, 0, 0, 0, false}, {0, 1, 1, 0, 0, 0, 0, false},
        {2000, 2, 29, 0, 0, 0, 0, true}, {2004, 2, 29, 0, 0, 0, 0, true},
        {1900, 2, 29, 0, 0, 0, 0, false}, {2003, 2, 29, 0, 0, 0, 0, false}, {2004, 2, 30, 0, 0, 0, 0, false},
        {2004, 4, 31, 0, 0, 0, 0, false}, {2004, 4, 30, 0, 0, 0, 0, true}, {2004, 12, 32, 0, 0, 0, 0, false},
        {2004, 0, 1, 0, 0, 0, 0, false}, {2004, 13, 1, 0, 0, 0, 0, false}, {2004, 1, 0, 0, 0, 0, 0, false},
        {2004, 1, 1, 24, 0, 0, 0, false}, {2004, 1, 1, 0, 60, 0, 0, false},
        {2004, 1, 1, 0, 0, 60, 0, false}, {2004, 1, 1, 0, 0, 0, 1000, false},
        {2004, 1, 1, -1, 0, 0, 0, false}, {2004, 1, 1, 0, -1, 0, 0, false},
        // Cut to 16 bits first: 65536 + n reads as n.
        {65536 + 2004, 65536 + 6, 65536 + 1, 65536 + 9, 65536, 65536, 65536, true},
        {2004, 1, 1, 65536 + 24, 0, 0, 0, false},
    };
    for (auto& c : cases) {
        uint64_t ft = 0x1234;
        bool ok = wall_time_to_filetime(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms, &ft);
        EXPECT_EQ(ok, c.ok) << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
        if (!ok) {
            EXPECT_EQ(ft, 0x1234u) << "output touched on failure";
        }
    }
    uint64_t a = 0, b = 0;
    ASSERT_TRUE(wall_time_to_filetime(65536 + 2004, 65536 + 6, 65536 + 1, 65536 + 9, 65536, 65536, 65536, &a));
    ASSERT_TRUE(wall_time_to_filetime(2004, 6, 1, 9, 0, 0, 0, &b));
    EXPECT_EQ(a, b);
    EXPECT_FALSE(wall_time_to_filetime(2004, 6, 1, 9, 0, 0, 0, nullptr));
}

TEST_F(EntryTest, FileTimeMatchesDaySerialAcrossRange) {
    for (int y = 1980; y <= 2079; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= days_in_month(m, y); ++d) {
                uint64_t ft = 0;
                ASSERT_TRUE(wall_time_to_filetime(y, m, d, 13, 7, 42, 5, &ft));
                const uint64_t expected = kFileTime1980 + (uint64_t)(day_serial(y, m, d) - 1) * kTicksPerDay +
                                          (13 * 3600ULL + 7 * 60 + 42) * kTicksPerSecond + 5 * 10000ULL;
                ASSERT_EQ(ft, expected) << y << "-" << m << "-" << d;
            }
}

TEST_F(EntryTest, FileTimeDaysAreContiguousOverFullRange) {
    // Each valid day starts exactly one day after the previous one, across
    // every century rule, from 1601 to 30827.
    uint64_t prev = 0;
    bool first = true;
    for (int y = 1601; y <= 30827; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d) {
                uint64_t ft = 0;
                const bool ok = wall_time_to_filetime(y, m, d, 0, 0, 0, 0, &ft);
                // Compared plainly first: eleven million assertions cost most of the test.
                if (ok != (d <= days_in_month(m, y))) ASSERT_EQ(ok, d <= days_in_month(m, y)) << y << "-" << m << "-" << d;
                if (!ok) continue;
                if (!first && ft - prev != kTicksPerDay) ASSERT_EQ(ft - prev, kTicksPerDay) << y << "-" << m << "-" << d;
                prev = ft;
                first = false;
            }
}

TEST_F(EntryTest, AlarmFifteenMinutesBefore) {
    ScheduleEntry other = make_alarm(2004, 6, 1, 8, 30, 0);
    ScheduleEntry e = make_alarm(2004, 6, 1, 9, 0, 15);
    EXPECT_EQ(e.alarm_at, alarm_instant(2004, 6, 1, 8, 45));
    EXPECT_EQ(alarm_instant(2004, 6, 1, 9, 0) - e.alarm_at, 15 * kTicksPerMinute);
    schedule_add(&schedule, &other);
    schedule_add(&schedule, &e);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 1, 8, 45)), 1);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 1, 8, 30)), 0);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 1, 8, 44)), -1);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 1, 9, 0)), -1);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 2, 8, 45)), -1);
}

TEST_F(EntryTest, AlarmNeedsKindAndTimeAndTakesListOrder) {
    ScheduleEntry silent = make_alarm(2004, 6, 1, 9, 0, 0, 0);
    ScheduleEntry untimed = make_alarm(2004, 6, 1, 9, 0, 0, 1);
    untimed.has_time = 0;
    ScheduleEntry first = make_alarm(2004, 6, 1, 9, 0, 0, 2);
    ScheduleEntry second = make_alarm(2004, 6, 1, 9, 0, 0, 3);
    for (auto* e : {&silent, &untimed, &first, &second}) schedule_add(&schedule, e);
    const uint64_t at = alarm_instant(2004, 6, 1, 9, 0);
    EXPECT_EQ(due_at(at), 2);
    EXPECT_EQ(find_due_alarm_between(schedule, at - kTicksPerMinute, at), 2);
    schedule.count = 2;
    EXPECT_EQ(due_at(at), -1);
}

// An every-year entry rings every year and a day code on the day it names, though neither
// has one stored instant; an entry whose time is unset never rings.
TEST_F(EntryTest, EveryYearAndDayCodeEntriesRingOnTheirDays) {
    ScheduleEntry every_year = make_alarm(-1, 6, 1, 9, 0, 0);
    ScheduleEntry day_code = make_alarm(2004, 1, 98, 9, 0, 0);
    ScheduleEntry no_time = make_entry(2004, 6, 1);
    no_time.alarm_kind = 1;
    no_time.has_time = 1;  // hour and minute still -1
    compute_alarm_at(&no_time);
    EXPECT_EQ(every_year.alarm_at, 0u);
    EXPECT_EQ(day_code.alarm_at, 0u);
    EXPECT_EQ(no_time.alarm_at, 0u);
    schedule_add(&schedule, &every_year);
    schedule_add(&schedule, &day_code);
    schedule_add(&schedule, &no_time);
    EXPECT_EQ(due_at(0), -1);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 1, 9, 0)), 0);
    EXPECT_EQ(due_at(alarm_instant(2031, 6, 1, 9, 0)), 0);
    EXPECT_EQ(due_at(alarm_instant(2004, 6, 2, 9, 0)), -1);
    EXPECT_EQ(due_at(alarm_instant(2004, 1, 12, 9, 0)), 1);  // the second Monday
    EXPECT_EQ(due_at(alarm_instant(2005, 1, 10, 9, 0)), -1);  // a day code with a year
    EXPECT_EQ(find_due_alarm_between(schedule, 0, alarm_instant(2079, 12, 31, 23, 59)), -1);
    EXPECT_EQ(alarm_instant(-1, 6, 1, 9, 0), 0u);
    EXPECT_EQ(alarm_instant(2004, 6, 1, 24, 0), 0u);
}

TEST_F(EntryTest, ComputeAlarmAtSafeForAnyStoredDate) {
    for (int m = -100; m <= 99; ++m)
        for (int d = -100; d <= 99; ++d) {
            ScheduleEntry e = make_entry(2004, m, d, 0, "", 9, 0);
            e.minutes_before = 10;
            e.alarm_at = 12345;
            compute_alarm_at(&e);
            const bool valid = m >= 1 && m <= 12 && d >= 1 && d <= days_in_month(m, 2004);
            if (!valid) {
                ASSERT_EQ(e.alarm_at, 0u) << m << "/" << d;
                continue;
            }
            const uint64_t expected = kFileTime1980 + (uint64_t)(day_serial(2004, m, d) - 1) * kTicksPerDay +
                                      8 * 3600 * kTicksPerSecond + 50 * kTicksPerMinute;
            ASSERT_EQ(e.alarm_at, expected) << m << "/" << d;
        }
    compute_alarm_at(nullptr);
}

TEST_F(EntryTest, DueAlarmBetweenWindow) {
    ScheduleEntry a845 = make_alarm(2004, 6, 1, 9, 0, 15);  // rings 08:45
    ScheduleEntry a847 = make_alarm(2004, 6, 1, 8, 47, 0);
    ScheduleEntry prev_day = make_alarm(2004, 5, 31, 8, 46, 0);
    schedule_add(&schedule, &a845);
    schedule_add(&schedule, &a847);
    schedule_add(&schedule, &prev_day);
    auto at = [](int d, int h, int mi) { return alarm_instant(2004, 6, d, h, mi); };
    struct { uint64_t after, upto; int expected; const char* what; } cases[] = {
        {at(1, 8, 44), at(1, 8, 45), 0, "on time"},
        {at(1, 8, 44), at(1, 8, 46), 0, "late tick still catches 08:45"},
        {at(1, 8, 45), at(1, 8, 46), -1, "already past 08:45"},
        {at(1, 8, 45), at(1, 8, 47), 1, "next one"},
        {at(1, 8, 0), at(1, 9, 0), 0, "after a sleep: first in list order"},
        {at(1, 8, 47), at(1, 8, 47), -1, "empty window"},
        {at(1, 9, 0), at(1, 8, 0), -1, "clock set back"},
        {alarm_instant(2004, 5, 31, 8, 45), alarm_instant(2004, 5, 31, 8, 46), 2, "previous day"},
        {0, 1000, -1, "tiny upto does not underflow"},
    };
    for (auto& c : cases) EXPECT_EQ(find_due_alarm_between(schedule, c.after, c.upto), c.expected) << c.what;
}

TEST_F(EntryTest, DueAlarmBetweenLooksBackAtMost24Hours) {
    ScheduleEntry e = make_alarm(2004, 6, 1, 8, 45, 0);
    schedule_add(&schedule, &e);
    const uint64_t t = e.alarm_at;
    struct { uint64_t upto; int expected; } cases[] = {
        {t + kTicksPerDay - kTicksPerMinute, 0},  // 23:59 back: still due
        {t + kTicksPerDay, -1},                   // exactly 24 h back: outside (window is open there)
        {t + kTicksPerDay + kTicksPerMinute, -1},
    };
    for (auto& c : cases) {
        EXPECT_EQ(find_due_alarm_between(schedule, 0, c.upto), c.expected);
        EXPECT_EQ(find_due_alarm_between(schedule, t - 1, c.upto), c.expected);
    }
}

}  // namespace
