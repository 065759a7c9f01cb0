// Alarms at every occurrence: the instants of a repeating, every-year or untimed entry in a
// window (across midnight, month ends, leads up to a week, skipped days), the minute check
// over days of ticks with the clock jumping back and forth (each occurrence rings once), the
// missed-while-closed window and snoozed batches per occurrence, and the texts they show.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "calendar/filetime.h"
#include "schedule/alarm_batch.h"
#include "schedule/alarm_text.h"
#include "schedule/entry_dates.h"
#include "tests/host/repeat_maker.h"
#include "tests/host/test_records.h"

namespace {

// "yyyymmddhhmm/day" of each ringing, as the dump compares them.
std::string rang(const OccurrenceAlarm& a) {
    LocalTime t;
    filetime_to_wall_time(a.at, &t);
    char b[40];
    std::snprintf(b, sizeof b, "%04d%02d%02d%02d%02d/%d", t.year, t.month, t.day, t.hour, t.minute, date_ymd(a.day));
    return b;
}

uint64_t at(int y, int m, int d, int h, int mi) { return alarm_instant(y, m, d, h, mi); }

TEST(OccurrenceAlarms, InstantsInAWindow) {
    ScheduleEntry day_before = weekly(2024, 1, 7, {0});
    day_before.alarm_kind = 1, day_before.day_alarm = 1, day_before.day_alarm_minute = -900;
    ScheduleEntry on_the_day = make_entry(-1, 9, 21, 0, "b");
    on_the_day.alarm_kind = 1, on_the_day.day_alarm = 1, on_the_day.day_alarm_minute = 8 * 60;
    ScheduleEntry quiet = timed(weekly(2024, 1, 4, {4}), 9, 0, 0, 0);
    const struct {
        const char* what;
        ScheduleEntry e;
        uint64_t after, upto;
        std::vector<std::string> rings;
    } cases[] = {
        {"the second Thursday", timed(weekly(2024, 1, 4, {4}), 9, 0), at(2024, 1, 10, 0, 0), at(2024, 1, 12, 0, 0),
         {"202401110900/20240111"}},
        {"a skipped Thursday never rings", skipping(timed(weekly(2024, 1, 4, {4}), 9, 0), {20240111}),
         at(2024, 1, 10, 0, 0), at(2024, 1, 12, 0, 0), {}},
        {"not before the first", timed(weekly(2024, 1, 4, {4}), 9, 0), at(2023, 12, 27, 0, 0), at(2023, 12, 29, 0, 0), {}},
        {"a lead across midnight", timed(daily(2024, 3, 1), 0, 10, 30), at(2024, 3, 4, 23, 0), at(2024, 3, 5, 0, 0),
         {"202403042340/20240305"}},
        {"a lead across a month end", timed(monthly_on(2024, 1, 1, {1}), 0, 10, 4 * 60 + 10), at(2024, 2, 29, 0, 0),
         at(2024, 3, 1, 0, 0), {"202402292000/20240301"}},
        {"a week ahead, before the first occurrence's month", timed(monthly_nth(2024, 1, 8, {2}, 1), 9, 0, kMaxLeadMinutes),
         at(2024, 2, 5, 0, 0), at(2024, 2, 6, 0, 0), {"202402050900/20240212"}},
        {"two of a daily entry in one day's window", timed(daily(2024, 1, 1), 9, 0), at(2024, 1, 4, 8, 59),
         at(2024, 1, 5, 9, 0), {"202401040900/20240104", "202401050900/20240105"}},
        {"the window is open before, closed after", timed(daily(2024, 1, 1), 9, 0), at(2024, 1, 4, 9, 0),
         at(2024, 1, 4, 9, 0) + kTicksPerMinute - 1, {}},
        {"every year, with a time", timed(make_entry(-1, 9, 21, 0, "y"), 9, 22), at(2031, 9, 21, 9, 21),
         at(2031, 9, 21, 9, 22), {"203109210922/20310921"}},
        {"every year, after 2079", timed(make_entry(-1, 1, 1, 0, "y"), 0, 0, 60), at(2079, 12, 31, 22, 0),
         at(2079, 12, 31, 23, 59), {"207912312300/20800101"}},
        {"a day without time, the day before at 9:00", day_before, at(2024, 1, 13, 0, 0), at(2024, 1, 14, 0, 0),
         {"202401130900/20240114"}},
        {"every year without a time, on the day", on_the_day, at(2030, 9, 21, 0, 0), at(2030, 9, 22, 0, 0),
         {"203009210800/20300921"}},
        {"no alarm kind", quiet, at(2024, 1, 10, 0, 0), at(2024, 1, 12, 0, 0), {}},
        {"counted: past the last", counted(timed(weekly(2024, 1, 4, {4}), 9, 0), 2), at(2024, 1, 17, 0, 0),
         at(2024, 1, 19, 0, 0), {}},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = c.e;
        entry_settle(&e);
        OccurrenceAlarm got[8];
        const int n = entry_alarms_between(e, c.after, c.upto, got, 8);
        std::vector<std::string> rings;
        for (int i = 0; i < n; ++i) rings.push_back(rang(got[i]));
        EXPECT_EQ(rings, c.rings) << c.what;
        EXPECT_EQ(entry_rings(e), c.e.alarm_kind != 0) << c.what;
    }
}

// A week of ticks a minute apart, with the clock put back an hour and forward a day on the
// way: every occurrence of the week rings once, none twice, a skipped one never.
TEST(OccurrenceAlarms, EachOccurrenceRingsOnceWhateverTheClockDoes) {
    ScheduleList list;
    schedule_clear(&list);
    append_entry(&list, skipping(timed(daily(2024, 1, 1), 9, 0, 15), {20240104}));
    append_entry(&list, timed(weekly(2024, 1, 1, {1, 3}), 23, 50, 20));
    append_entry(&list, timed(make_entry(-1, 1, 5, 0, "y"), 0, 5, 10));  // 4 Jan 23:55
    for (int i = 0; i < list.count; ++i) entry_settle(&list.entries[i]);
    std::map<std::string, int> rings;
    TickMemory mem;
    auto tick = [&](long long minute_of_week) {
        const LocalTime now = {2024, 1, 1 + int(minute_of_week / 1440), int(minute_of_week / 60 % 24), int(minute_of_week % 60), 0};
        const TickPlan p = plan_tick(mem, now, 0, 0);
        if (p.check_alarms) {
            DueAlarm due[kMaxEntries];
            const int n = find_due_occurrences_between(list, p.alarm_after, p.alarm_upto, due, kMaxEntries);
            for (int i = 0; i < n; ++i) ++rings[std::to_string(due[i].index) + "@" + rang(OccurrenceAlarm{due[i].at, due[i].day})];
        }
        finish_tick(&mem, p, now);
    };
    long long m = 0;
    for (; m < 3 * 1440; ++m) tick(m);
    for (m -= 60; m < 4 * 1440; ++m) tick(m);  // set back an hour
    for (m += 1440; m < 7 * 1440; m += 3) tick(m);  // a day forward, then late ticks
    const std::map<std::string, int> want = {
        {"0@202401010845/20240101", 1}, {"0@202401020845/20240102", 1}, {"0@202401030845/20240103", 1},
        {"0@202401050845/20240105", 1}, {"0@202401060845/20240106", 1}, {"0@202401070845/20240107", 1},
        {"1@202401012330/20240101", 1}, {"1@202401032330/20240103", 1},
        {"2@202401042355/20240105", 1},
    };
    // The day jumped over (5 January) lies within the 24 hours the next tick looks back.
    EXPECT_EQ(rings, want);
}

// The first tick after a start shows what came due while closed, marked missed, on the day
// of its occurrence; a batch put off and shown again with the next day's holds both days.
TEST(OccurrenceAlarms, MissedAndSnoozedPerOccurrence) {
    ScheduleList list;
    schedule_clear(&list);
    append_entry(&list, timed(daily(2024, 1, 1), 9, 0));
    append_entry(&list, timed(daily(2024, 1, 1), 9, 20));
    TickMemory mem;
    mem.last_checked = at(2024, 1, 4, 23, 0);
    TickPlan p = plan_tick(mem, LocalTime{2024, 1, 5, 9, 10, 0}, 0, 0);
    ASSERT_TRUE(p.check_alarms);
    DueAlarm due[8];
    int n = find_due_occurrences_between(list, p.alarm_after, p.alarm_upto, due, 8);
    ASSERT_EQ(n, 1);
    std::unique_ptr<AlarmBatch> first(new AlarmBatch);
    alarm_batch_make_due(first.get(), list, due, n);
    alarm_batch_mark_missed(first.get(), p.missed_upto);
    ASSERT_EQ(first->count, 1);
    EXPECT_TRUE(first->item[0].missed);
    EXPECT_EQ(first->item[0].entry.day, 5);
    EXPECT_EQ(first->item[0].entry.alarm_at, at(2024, 1, 5, 9, 0));

    // The next day's occurrence of the same entry joins the one put off: two alarms.
    finish_tick(&mem, p, LocalTime{2024, 1, 5, 9, 10, 0});
    mem.last_checked = at(2024, 1, 6, 8, 59);
    p = plan_tick(mem, LocalTime{2024, 1, 6, 9, 0, 0}, 0, 0);
    n = find_due_occurrences_between(list, p.alarm_after, p.alarm_upto, due, 8);
    ASSERT_EQ(n, 1);
    std::unique_ptr<AlarmBatch> next(new AlarmBatch);
    alarm_batch_make_due(next.get(), list, due, n);
    EXPECT_EQ(alarm_batch_add(first.get(), next.get()), 1);
    EXPECT_EQ(alarm_batch_add(first.get(), next.get()), 0);
    char text[512];
    format_alarm_batch(text, sizeof text, first.get(), false, false);
    EXPECT_STREQ(text, "2024年1月5日  9:00\r\ndaily\r\n(起動前の予定)\r\n\r\n2024年1月6日  9:00\r\ndaily\r\n予定時刻です");
}

TEST(OccurrenceAlarms, TextsSayTheLeadAsShown) {
    ScheduleEntry e = timed(make_entry(2024, 6, 1, 0, "m"), 9, 0, 120);
    ScheduleEntry day = make_entry(2024, 6, 1, 0, "d");
    day.alarm_kind = 1, day.day_alarm = 1;
    const struct {
        LeadUnit unit;
        int lead;
        int day_minute;  // for the entry without a time
        const char* timed_text;
        const char* day_text;
    } cases[] = {
        {LeadUnit::kMinutes, 120, 540, "2024年6月1日  9:00\r\nm\r\n120 分前です", "2024年6月1日\r\nd\r\n今日の予定です"},
        {LeadUnit::kHours, 120, -900, "2024年6月1日  9:00\r\nm\r\n2 時間前です", "2024年6月1日\r\nd\r\n1 日後の予定です"},
        {LeadUnit::kDays, 2880, -1440, "2024年6月1日  9:00\r\nm\r\n2 日前です", "2024年6月1日\r\nd\r\n1 日後の予定です"},
        {LeadUnit::kHours, 90, -1441, "2024年6月1日  9:00\r\nm\r\n90 分前です", "2024年6月1日\r\nd\r\n2 日後の予定です"},
    };
    for (const auto& c : cases) {
        e.lead_unit = c.unit;
        e.minutes_before = c.lead;
        day.day_alarm_minute = static_cast<int16_t>(c.day_minute);
        char text[256];
        format_alarm_entry(text, sizeof text, &e, false, false);
        EXPECT_STREQ(text, c.timed_text);
        format_alarm_entry(text, sizeof text, &day, false, false);
        EXPECT_STREQ(text, c.day_text);
    }
    char text[256];
    format_alarm_entry(text, sizeof text, &day, false, false, true);
    EXPECT_STREQ(text, "2024年6月1日\r\nd\r\n(起動前の予定)");
}

// An entry stored for the minute already checked rings its occurrence of that minute.
TEST(OccurrenceAlarms, StoredEntryRingsTheOccurrenceDueNow) {
    const ScheduleEntry e = timed(weekly(2024, 1, 4, {4}), 9, 10, 10);
    OccurrenceAlarm o;
    ASSERT_TRUE(rings_when_stored(e, at(2024, 1, 18, 9, 0), at(2024, 1, 18, 9, 0), &o));
    EXPECT_EQ(date_ymd(o.day), 20240118);
    EXPECT_FALSE(rings_when_stored(e, at(2024, 1, 17, 9, 0), at(2024, 1, 17, 9, 0)));
}

}  // namespace
