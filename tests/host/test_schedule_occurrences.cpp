// The schedule dialog's rules for repeating entries: the first day of a rule, when a change
// or delete asks "この日だけ / すべて", what "この日だけ変更" makes of the series and the
// occurrence, and what an added entry keeps of the one it was typed over.
#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/schedule_dialog_rules.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_identity.h"
#include "tests/host/entry_maker.h"

namespace {

ScheduleEntry weekly_on(int y, int m, int d, uint8_t weekdays, const char* memo = "燃えるゴミ") {
    ScheduleEntry e = make_entry(y, m, d, 0, memo, 8, 0);
    e.repeat.kind = RepeatKind::kWeekly;
    e.repeat.interval = 1;
    e.repeat.weekdays = weekdays;
    std::strcpy(e.uid, "series-uid");
    return e;
}

constexpr uint8_t kMonThu = (1 << 1) | (1 << 4);

TEST(RepeatStart, OnlyADayOfAYear) {
    struct {
        int y, m, d;
        bool ok;
    } cases[] = {
        {2030, 6, 3, true},   {-1, 6, 3, false},    {2030, 6, kDayMovable, false},
        {2030, 2, 29, false}, {2032, 2, 29, true},  {1979, 1, 1, false},
        {2079, 12, 31, true}, {2030, -1, 1, false}, {2030, 6, -1, false},
    };
    for (const auto& c : cases) {
        CalendarDate start = {0, 0, 0};
        EXPECT_EQ(repeat_start_of(make_entry(c.y, c.m, c.d), &start), c.ok) << c.y << "-" << c.m << "-" << c.d;
        if (c.ok) EXPECT_EQ(date_ymd(start), c.y * 10000 + c.m * 100 + c.d);
    }
}

TEST(OccurrenceQuestion, AskedOnlyOnADayTheEntryRepeatsOn) {
    ScheduleEntry span = weekly_on(2030, 6, 3, 1 << 1);  // Mondays, three days long
    span.span_days = 2;
    struct {
        const char* what;
        ScheduleEntry e;
        ScheduleOpening opening;
        bool asks;
        int occurrence;
    } cases[] = {
        {"a Thursday of the series", weekly_on(2030, 6, 3, kMonThu), {2030, 6, 13, -1}, true, 20300613},
        {"a Tuesday", weekly_on(2030, 6, 3, kMonThu), {2030, 6, 11, -1}, false, 0},
        {"before the series", weekly_on(2030, 6, 3, kMonThu), {2030, 5, 30, -1}, false, 0},
        {"from the menu", weekly_on(2030, 6, 3, kMonThu), {}, false, 0},
        {"a one-off entry", make_entry(2030, 6, 3, 0, "m"), {2030, 6, 3, -1}, false, 0},
        {"every year", make_entry(-1, 5, 5, 0, "m"), {2031, 5, 5, -1}, true, 20310505},
        {"inside a span", span, {2030, 6, 12, -1}, true, 20300610},
        {"no such day", weekly_on(2030, 6, 3, kMonThu), {2030, 6, 31, -1}, false, 0},
    };
    for (const auto& c : cases) {
        CalendarDate day = {0, 0, 0};
        EXPECT_EQ(occurrence_on_opening_day(c.e, c.opening, &day), c.asks) << c.what;
        if (c.asks) EXPECT_EQ(date_ymd(day), c.occurrence) << c.what;
    }
}

// "この日だけ変更": the series leaves the day out; the occurrence becomes an entry of its own,
// on that day, with the series' identity and the day it stands for.
TEST(ChangeOneOccurrence, TheDayLeavesTheSeries) {
    struct {
        const char* what;
        int typed_y, typed_m, typed_d;  // the date fields when changed (-1: as the series)
        int single_ymd;
    } cases[] = {
        {"date fields as they were", -1, -1, -1, 20300613},
        {"moved to another day", 2030, 6, 14, 20300614},
    };
    for (const auto& c : cases) {
        ScheduleEntry series = weekly_on(2030, 6, 3, kMonThu);
        ScheduleEntry edited = series;
        edited.hour = 9;
        std::strcpy(edited.memo, "祝日で金曜に");
        if (c.typed_y != -1) {
            edited.year = c.typed_y;
            edited.month = c.typed_m;
            edited.day = c.typed_d;
        }
        ScheduleEntry single;
        ASSERT_TRUE(change_one_occurrence(&series, CalendarDate{2030, 6, 13}, edited, &single)) << c.what;
        EXPECT_EQ(single.year * 10000 + single.month * 100 + single.day, c.single_ymd) << c.what;
        EXPECT_EQ(single.repeat.kind, RepeatKind::kNone);
        EXPECT_EQ(single.skip_count, 0);
        EXPECT_STREQ(single.uid, "series-uid");
        EXPECT_EQ(single.recur_date, 20300613);
        EXPECT_EQ(single.recur_has_time, 1);
        EXPECT_EQ(single.recur_hour, 8);  // the series' time, not the edited one
        EXPECT_EQ(single.hour, 9);
        EXPECT_STREQ(single.memo, "祝日で金曜に");
        // The series is untouched but for the day it leaves out.
        EXPECT_EQ(series.hour, 8);
        EXPECT_STREQ(series.memo, "燃えるゴミ");
        ASSERT_EQ(series.skip_count, 1);
        EXPECT_EQ(series.skips[0], 20300613);
        EXPECT_FALSE(entry_on_date(&series, 2030, 6, 13));
        EXPECT_TRUE(entry_on_date(&series, 2030, 6, 17));
    }
}

TEST(ChangeOneOccurrence, NothingChangesWhenTheDayCannotBeLeftOut) {
    ScheduleEntry series = weekly_on(2030, 6, 3, kMonThu);
    const ScheduleEntry before = series;
    ScheduleEntry single = {};
    EXPECT_FALSE(change_one_occurrence(&series, CalendarDate{2030, 6, 11}, series, &single));  // a Tuesday
    EXPECT_EQ(std::memcmp(&series, &before, sizeof series), 0);
    // A series with no room left for another skipped day.
    for (int k = 0; k < kMaxSkips; ++k) {
        CalendarDate next;
        ASSERT_TRUE(entry_next_occurrence(series, CalendarDate{2030, 6, 3}, &next));
        ASSERT_TRUE(entry_skip_day(&series, next));
    }
    const ScheduleEntry full = series;
    CalendarDate next;
    ASSERT_TRUE(entry_next_occurrence(series, CalendarDate{2030, 6, 3}, &next));
    EXPECT_FALSE(change_one_occurrence(&series, next, series, &single));
    EXPECT_EQ(std::memcmp(&series, &full, sizeof series), 0);
}

// Add after selecting an entry makes an entry of its own: the copy never shares the
// selected one's identity or stands for one of its occurrences.
TEST(AsNewEntry, DropsIdentityAndOccurrence) {
    ScheduleEntry e = weekly_on(2030, 6, 3, kMonThu);
    e.recur_date = 20300613;
    e.recur_has_time = 1;
    e.recur_hour = 8;
    e.sequence = 4;
    e.modified = 99;
    as_new_entry(&e);
    EXPECT_STREQ(e.uid, "");
    EXPECT_EQ(e.recur_date, 0);
    EXPECT_EQ(e.recur_has_time, 0);
    EXPECT_EQ(e.sequence, 0u);
    EXPECT_EQ(e.modified, 0u);
    EXPECT_EQ(e.repeat.kind, RepeatKind::kWeekly);  // the rule is the user's to keep
    static ScheduleList list;
    schedule_clear(&list);
    ASSERT_EQ(schedule_add(&list, &e), 1);
    EXPECT_STRNE(list.entries[0].uid, "");
}

}  // namespace
