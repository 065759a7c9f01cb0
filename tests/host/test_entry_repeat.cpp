// Repeating and spanning entries as every view sees them: the days of a month (the grid's
// marks, holidays included), a day's entries, the occurrence covering a day, the next
// occurrence; skipping and detaching an occurrence; what a rule may hold. The rule kinds'
// days over 1980..2079 are also checked against python3-dateutil by the host layer
// (tests/interop/check_repeat.py).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/date.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_identity.h"
#include "tests/host/repeat_maker.h"

namespace {

uint32_t range_mask(int lo, int hi) {
    uint32_t m = 0;
    for (int d = lo; d <= hi; ++d) m |= 1u << d;
    return m;
}

std::string date_text(const CalendarDate& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

// The household examples and the hard days of each kind: starts and covered days of one month.
TEST(EntryRepeat, DaysOfAMonth) {
    struct {
        const char* what;
        ScheduleEntry e;
        int y, m;
        uint32_t starts, covered;
    } cases[] = {
        {"燃えるゴミ Mon, Thu", weekly(2024, 1, 4, {1, 4}), 2024, 2,
         days_mask({1, 5, 8, 12, 15, 19, 22, 26, 29}), days_mask({1, 5, 8, 12, 15, 19, 22, 26, 29})},
        {"before its first day", weekly(2024, 1, 4, {1, 4}), 2023, 12, 0, 0},
        {"資源ゴミ 2nd and 4th Wed", monthly_nth(2024, 1, 10, {2, 4}, 3), 2024, 5, days_mask({8, 22}),
         days_mask({8, 22})},
        {"every other Tue", weekly(2024, 1, 9, {2}, 2), 2024, 2, days_mask({6, 20}), days_mask({6, 20})},
        {"給料日 the 25th", monthly_on(2024, 1, 25, {25}), 2024, 2, days_mask({25}), days_mask({25})},
        {"the last Friday", monthly_nth(2024, 1, 26, {-1}, 5), 2024, 3, days_mask({29}), days_mask({29})},
        {"the last day, February of a leap year", monthly_on(2024, 1, 31, {-1}), 2024, 2, days_mask({29}),
         days_mask({29})},
        {"the 31st: April has none", monthly_on(2024, 1, 31, {31}), 2024, 4, 0, 0},
        {"the 31st and the last day: once", monthly_on(2024, 1, 31, {31, -1}), 2024, 5, days_mask({31}),
         days_mask({31})},
        {"29 February, a common year", yearly(2024, 2, 29), 2025, 2, 0, 0},
        {"29 February, the next leap year", yearly(2024, 2, 29), 2028, 2, days_mask({29}), days_mask({29})},
        {"every third year: not this one", yearly(2024, 6, 1, 3), 2026, 6, 0, 0},
        {"every third year", yearly(2024, 6, 1, 3), 2027, 6, days_mask({1}), days_mask({1})},
        {"two weeks of medicine", counted(daily(2026, 12, 25), 14), 2027, 1, range_mask(1, 7),
         range_mask(1, 7)},
        {"until a day", until(daily(2026, 12, 25), 20270114), 2027, 1, range_mask(1, 14), range_mask(1, 14)},
        {"skipped days", skipping(weekly(2024, 1, 4, {1, 4}), {20240205, 20240215}), 2024, 2,
         days_mask({1, 8, 12, 19, 22, 26, 29}), days_mask({1, 8, 12, 19, 22, 26, 29})},
        {"夏季休暇 8/10 to 8/14", spanning(make_entry(2024, 8, 10, 0, "v"), 4), 2024, 8, days_mask({10}),
         range_mask(10, 14)},
        {"a span into the next month", spanning(monthly_on(2024, 1, 30, {30}), 3), 2024, 4,
         days_mask({30}), days_mask({1, 2, 30})},
        {"a span out of February into March", spanning(monthly_on(2024, 1, 30, {30}), 3), 2024, 2, 0,
         days_mask({1, 2})},
        {"a span across the year", spanning(make_entry(2024, 12, 30, 0, "y"), 4), 2025, 1, 0,
         range_mask(1, 3)},
        {"a span of 40 days from two months back", spanning(monthly_nth(2024, 1, 1, {1}, 1, 3), 40), 2024, 2,
         0, range_mask(1, 10)},
        {"a skipped day starts no span", spanning(skipping(weekly(2024, 1, 5, {5}), {20240112}), 1), 2024, 1,
         days_mask({5, 19, 26}), days_mask({5, 6, 19, 20, 26, 27})},
        {"every year, spanning", spanning(make_entry(-1, 12, 31, 0, "e"), 1), 2031, 1, 0, days_mask({1})},
        {"a month the calendar lacks", weekly(2024, 1, 4, {1, 4}), 2024, 13, 0, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        entry_settle(&c.e);
        EXPECT_EQ(entry_month_starts(c.e, c.y, c.m), c.starts);
        EXPECT_EQ(entry_month_days(c.e, c.y, c.m), c.covered);
        for (int d = 1; d <= 31; ++d)
            EXPECT_EQ(entry_on_date(&c.e, c.y, c.m, d), ((c.covered >> d) & 1) != 0) << d;
        // The grid marks the days covered, each occurrence of a holiday entry a holiday.
        for (int holiday : {0, 1}) {
            c.e.holiday = static_cast<uint8_t>(holiday);
            const ScheduleEntry list[2] = {make_entry(2004, 1, 1), c.e};
            const DayMarks marks = month_marks(list, 2, c.y, c.m);
            EXPECT_EQ(marks.holiday, holiday ? c.covered : 0u);
            EXPECT_EQ(marks.marked, holiday ? 0u : c.covered);
        }
    }
}

// A timed entry that ends at 00:00 of its last day does not reach into it; one that ends
// later does (22:00〜02:00).
TEST(EntryRepeat, EndTimeDecidesTheLastDayCovered) {
    struct {
        int end_hour, end_minute, span;
        uint32_t covered;
    } cases[] = {
        {2, 0, 1, days_mask({3, 4})}, {0, 0, 1, days_mask({3})}, {0, 1, 1, days_mask({3, 4})},
        {0, 0, 2, days_mask({3, 4})}, {23, 0, 0, days_mask({3})},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = timed(make_entry(2025, 1, 3, 0, "m"), 22, 0);
        e.span_days = static_cast<int16_t>(c.span);
        e.has_end_time = 1;
        e.end_hour = static_cast<int8_t>(c.end_hour);
        e.end_minute = static_cast<int8_t>(c.end_minute);
        EXPECT_EQ(entry_month_days(e, 2025, 1), c.covered) << c.end_hour << ":" << c.end_minute << " +" << c.span;
    }
}

TEST(EntryRepeat, OccurrenceCoveringADay) {
    const ScheduleEntry vacation = spanning(yearly(2024, 8, 10), 4);
    const ScheduleEntry month_end = spanning(monthly_on(2024, 1, 30, {30}), 3);
    const struct {
        const ScheduleEntry* e;
        CalendarDate day, start;  // start year 0: none
    } cases[] = {
        {&vacation, {2025, 8, 10}, {2025, 8, 10}}, {&vacation, {2025, 8, 14}, {2025, 8, 10}},
        {&vacation, {2025, 8, 15}, {0, 0, 0}},     {&vacation, {2024, 8, 9}, {0, 0, 0}},
        {&month_end, {2024, 2, 2}, {2024, 1, 30}}, {&month_end, {2024, 4, 1}, {2024, 3, 30}},
        {&month_end, {2024, 3, 2}, {0, 0, 0}},     {&month_end, {2024, 2, 31}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        CalendarDate start = {-1, -1, -1};
        const bool found = entry_occurrence_covering(*c.e, c.day, &start);
        ASSERT_EQ(found, c.start.year != 0) << date_text(c.day);
        if (found) EXPECT_EQ(date_text(start), date_text(c.start)) << date_text(c.day);
    }
}

TEST(EntryRepeat, NextOccurrence) {
    // A rule that never falls on a day of its months: the 31st every twelve months from
    // February. Asked far ahead, it answers none at once instead of walking for ever.
    ScheduleEntry never = monthly_on(2024, 2, 28, {31}, 12);
    const struct {
        const char* what;
        ScheduleEntry e;
        CalendarDate from, next;  // next year 0: none
    } cases[] = {
        {"from before its start", weekly(2024, 1, 4, {1, 4}), {2020, 5, 5}, {2024, 1, 4}},
        {"from a day between", weekly(2024, 1, 4, {1, 4}), {2024, 1, 5}, {2024, 1, 8}},
        {"an ended rule", counted(weekly(2024, 1, 4, {1, 4}), 3), {2024, 1, 12}, {0, 0, 0}},
        {"the last of a count", counted(weekly(2024, 1, 4, {1, 4}), 3), {2024, 1, 9}, {2024, 1, 11}},
        {"every 99 years", yearly(1980, 3, 1, 99), {1981, 1, 1}, {2079, 3, 1}},
        {"past the calendar's years", yearly(1980, 3, 1, 99), {2079, 3, 2}, {2178, 3, 1}},
        {"a skipped first day", skipping(daily(2024, 1, 1), {20240101, 20240102}), {2023, 1, 1}, {2024, 1, 3}},
        {"never", never, {2030, 1, 1}, {0, 0, 0}},
        {"the 31st across short months", monthly_on(2024, 1, 31, {31}), {2024, 2, 1}, {2024, 3, 31}},
    };
    for (const auto& c : cases) {
        CalendarDate next = {-1, -1, -1};
        const bool found = entry_next_occurrence(c.e, c.from, &next);
        ASSERT_EQ(found, c.next.year != 0) << c.what;
        if (found) EXPECT_EQ(date_text(next), date_text(c.next)) << c.what;
    }
}

// The last day of a counted rule is worked out once and kept; an entry changed without being
// settled again still gets its right days (the kept day belongs to another rule).
TEST(EntryRepeat, CountedEndKeptAndNeverStale) {
    ScheduleEntry e = counted(weekly(2024, 1, 4, {1, 4}), 10);
    entry_settle(&e);
    EXPECT_EQ(e.repeat.count_last, 20240205);
    ScheduleEntry changed = e;
    changed.repeat.count = 2;
    EXPECT_EQ(entry_month_starts(changed, 2024, 1), days_mask({4, 8}));
    changed = e;
    changed.day = 8;
    EXPECT_EQ(entry_month_starts(changed, 2024, 2), days_mask({1, 5, 8}));
    entry_settle(&changed);
    EXPECT_EQ(changed.repeat.count_last, 20240208);
    // Skipped days still count.
    ScheduleEntry skipped = skipping(e, {20240111, 20240104, 20240111});
    entry_settle(&skipped);
    EXPECT_EQ(skipped.skip_count, 2);
    EXPECT_EQ(skipped.skips[0], 20240104);
    EXPECT_EQ(entry_month_starts(skipped, 2024, 2), days_mask({1, 5}));
}

TEST(EntryRepeat, SkipAndDetachAnOccurrence) {
    ScheduleEntry series = timed(weekly(2024, 1, 4, {1, 4}), 9, 30, 10);
    std::snprintf(series.uid, sizeof series.uid, "series-uid");
    ScheduleEntry single;
    // Only an occurrence can be skipped or detached.
    EXPECT_FALSE(entry_skip_day(&series, {2024, 1, 5}));
    EXPECT_FALSE(entry_detach_occurrence(&series, {2024, 1, 5}, &single));
    EXPECT_FALSE(entry_skip_day(&series, {2024, 2, 30}));
    EXPECT_EQ(series.skip_count, 0);

    ASSERT_TRUE(entry_skip_day(&series, {2024, 1, 15}));
    ASSERT_TRUE(entry_detach_occurrence(&series, {2024, 1, 11}, &single));
    EXPECT_EQ(entry_month_starts(series, 2024, 1), days_mask({4, 8, 18, 22, 25, 29}));
    EXPECT_EQ(series.skips[0], 20240111);  // ascending
    EXPECT_EQ(series.skips[1], 20240115);
    EXPECT_FALSE(entry_skip_day(&series, {2024, 1, 11}));  // already skipped

    EXPECT_EQ(entry_month_starts(single, 2024, 1), days_mask({11}));
    EXPECT_EQ(entry_month_starts(single, 2024, 2), 0u);
    EXPECT_STREQ(single.uid, "series-uid");
    EXPECT_EQ(single.recur_date, 20240111);
    EXPECT_TRUE(single.recur_has_time && single.recur_hour == 9 && single.recur_minute == 30);
    EXPECT_EQ(single.alarm_at, alarm_instant(2024, 1, 11, 9, 20));

    // A series without identity gets one to share; a full series takes no more.
    ScheduleEntry bare = daily(2024, 1, 1);
    ASSERT_TRUE(entry_detach_occurrence(&bare, {2024, 1, 2}, &single));
    EXPECT_NE(bare.uid[0], '\0');
    EXPECT_STREQ(single.uid, bare.uid);
    for (int d = 3; bare.skip_count < kMaxSkips; ++d) ASSERT_TRUE(entry_skip_day(&bare, civil_date_of(civil_day_number(2024, 1, 1) + d)));
    EXPECT_FALSE(entry_skip_day(&bare, {2024, 12, 1}));
}

TEST(EntryRepeat, WhatAnEntryMayHold) {
    auto with = [](ScheduleEntry e, void (*change)(ScheduleEntry*)) {
        change(&e);
        return e;
    };
    const ScheduleEntry ok = weekly(2024, 1, 4, {1, 4});
    const struct {
        const char* what;
        ScheduleEntry e;
        EntryFault fault;
    } cases[] = {
        {"a weekly rule", ok, EntryFault::kNone},
        {"a rule of every year", with(ok, [](ScheduleEntry* e) { e->year = -1; }), EntryFault::kRepeatInvalid},
        {"a rule on a day code", with(make_entry(-1, 1, 98, 0, "m"), [](ScheduleEntry* e) { e->repeat.kind = RepeatKind::kDaily; e->repeat.interval = 1; }), EntryFault::kRepeatInvalid},
        {"interval 0", with(ok, [](ScheduleEntry* e) { e->repeat.interval = 0; }), EntryFault::kRepeatInvalid},
        {"interval 100", with(ok, [](ScheduleEntry* e) { e->repeat.interval = 100; }), EntryFault::kRepeatInvalid},
        {"no weekday", with(ok, [](ScheduleEntry* e) { e->repeat.weekdays = 0; }), EntryFault::kRepeatInvalid},
        {"no day of the month", monthly_on(2024, 1, 4, {}), EntryFault::kRepeatInvalid},
        {"no k-th weekday", monthly_nth(2024, 1, 4, {}, 1), EntryFault::kRepeatInvalid},
        {"a kind not known", with(ok, [](ScheduleEntry* e) { e->repeat.kind = static_cast<RepeatKind>(9); }), EntryFault::kRepeatInvalid},
        {"until before the date", until(ok, 20240103), EntryFault::kRepeatEndInvalid},
        {"until no date", until(ok, 20240230), EntryFault::kRepeatEndInvalid},
        {"count 0", counted(ok, 0), EntryFault::kRepeatEndInvalid},
        {"count 10000", counted(ok, 10000), EntryFault::kRepeatEndInvalid},
        {"a year's span", spanning(ok, 365), EntryFault::kNone},
        {"a span too long", spanning(ok, 366), EntryFault::kSpanInvalid},
        {"an end time without a time", with(ok, [](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 10; }), EntryFault::kSpanInvalid},
        {"an end before the start", with(timed(ok, 14, 0), [](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 13; }), EntryFault::kSpanInvalid},
        {"14:00〜15:30", with(timed(ok, 14, 0), [](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 15; e->end_minute = 30; }), EntryFault::kNone},
        {"across midnight", with(spanning(timed(ok, 22, 0), 1), [](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 2; }), EntryFault::kNone},
        {"a week's lead", timed(ok, 9, 0, kMaxLeadMinutes), EntryFault::kNone},
        {"a lead past a week", timed(ok, 9, 0, kMaxLeadMinutes + 1), EntryFault::kLeadInvalid},
        {"the day before at 9:00", with(ok, [](ScheduleEntry* e) { e->day_alarm = 1; e->day_alarm_minute = -900; }), EntryFault::kNone},
        {"a day alarm with a time", with(timed(ok, 9, 0), [](ScheduleEntry* e) { e->day_alarm = 1; }), EntryFault::kLeadInvalid},
        {"a day alarm at 24:00", with(ok, [](ScheduleEntry* e) { e->day_alarm = 1; e->day_alarm_minute = 1440; }), EntryFault::kLeadInvalid},
        {"a skipped day that is no date", skipping(ok, {20240231}), EntryFault::kSkipsInvalid},
        {"the memo is checked before the rule", with(ok, [](ScheduleEntry* e) { e->memo[0] = '\0'; e->repeat.interval = 0; }), EntryFault::kMemoMissing},
    };
    for (auto c : cases) EXPECT_EQ(entry_fault(&c.e, nullptr), c.fault) << c.what;
}

}  // namespace
