// The minute the alarms were checked up to: its stored form, what a start finds missed since
// the previous run, and an entry stored in the minute already checked. (Where the settings
// file keeps it: test_settings.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/main_layout.h"
#include "calendar/date.h"
#include "calendar/filetime.h"
#include "schedule/alarm_batch.h"
#include "schedule/alarm_mark.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"

namespace {

LocalTime at(int y, int mo, int d, int h, int mi) { return LocalTime{y, mo, d, h, mi, 30}; }

TEST(FiletimeToWallTime, ReadsBackWhatWasWritten) {
    const LocalTime cases[] = {{1601, 1, 1, 0, 0, 0},   {2000, 2, 29, 23, 59, 59}, {2004, 12, 31, 12, 0, 1},
                               {2079, 12, 31, 23, 59, 0}, {2100, 3, 1, 0, 0, 0},   {30827, 12, 31, 23, 59, 59}};
    for (const LocalTime& c : cases) {
        uint64_t ft = 0;
        ASSERT_TRUE(wall_time_to_filetime(c.year, c.month, c.day, c.hour, c.minute, c.second, 999, &ft));
        LocalTime t = {};
        ASSERT_TRUE(filetime_to_wall_time(ft, &t)) << c.year;
        EXPECT_EQ(std::memcmp(&t, &c, sizeof t), 0) << c.year << "-" << t.month << "-" << t.day << " "
                                                    << t.hour << ":" << t.minute << ":" << t.second;
    }
    uint64_t last = 0;
    ASSERT_TRUE(wall_time_to_filetime(30827, 12, 31, 23, 59, 59, 999, &last));
    LocalTime t = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(filetime_to_wall_time(last + 1, &t));
    EXPECT_EQ(t.year, 1);  // untouched
}

TEST(AlarmMark, StoredFormRoundTripsAndRefusesWhatIsNoMinute) {
    const uint64_t leap = alarm_instant(2004, 2, 29, 23, 59);
    char text[kAlarmMarkSize];
    alarm_mark_format(text, sizeof text, leap);
    EXPECT_STREQ(text, "200402292359");
    EXPECT_EQ(alarm_mark_parse(text), leap);
    // Seconds within the minute are dropped.
    alarm_mark_format(text, sizeof text, leap + 59 * kTicksPerSecond);
    EXPECT_STREQ(text, "200402292359");
    struct Bad {
        const char* text;
    } bad[] = {{""},           {"20040229235"},   {"2004022923590"}, {"2004022923 9"},
               {"200402302359"}, {"200413010000"}, {"200401012400"},  {"200401010060"},
               {"197912312359"}, {"208001010000"}, {"-00401010000"},  {"２００４"}};
    for (const Bad& b : bad) EXPECT_EQ(alarm_mark_parse(b.text), 0u) << b.text;
    EXPECT_EQ(alarm_mark_parse(nullptr), 0u);
    // Nothing to store: no instant, or one outside the program's years.
    std::strcpy(text, "x");
    alarm_mark_format(text, sizeof text, 0);
    EXPECT_STREQ(text, "");
    alarm_mark_format(text, sizeof text, alarm_instant(2080, 1, 1, 0, 0));
    EXPECT_STREQ(text, "");
    alarm_mark_format(text, 5, leap);  // a short buffer is cut, not overrun
    EXPECT_STREQ(text, "2004");
}

// What the first tick of a run finds, with the mark the previous run left.
class MissedAtStart : public testing::Test {
protected:
    void SetUp() override { schedule_clear(&schedule); }
    void TearDown() override { schedule_clear(&schedule); }
    // Memo letters of the entries found ("-" none), missed ones upper-cased.
    static std::string first_tick(uint64_t mark, const LocalTime& now) {
        TickMemory mem;
        mem.last_checked = mark;
        const TickPlan p = plan_tick(mem, now, 0, 0);
        if (!p.check_alarms) return "-";
        int due[kMaxEntries];
        const int n = find_due_alarms_between(schedule, p.alarm_after, p.alarm_upto, due, kMaxEntries);
        AlarmBatch b;
        alarm_batch_make(&b, schedule, due, n);
        alarm_batch_mark_missed(&b, p.missed_upto);
        std::string out;
        for (int k = 0; k < b.count; ++k) {
            const char c = b.item[k].entry.memo[0];
            out += b.item[k].missed ? char(c - 'a' + 'A') : c;
        }
        return out.empty() ? "-" : out;
    }
};

TEST_F(MissedAtStart, OnlyWhatCameDueBetweenTheMarkAndNow) {
    append_entry(&schedule, make_alarm_entry(2004, 5, 4, 9, 30, 0, 1, "a"));   // yesterday 09:30
    append_entry(&schedule, make_alarm_entry(2004, 5, 5, 8, 15, 15, 1, "b"));  // 08:00
    append_entry(&schedule, make_alarm_entry(2004, 5, 5, 9, 0, 0, 2, "c"));    // 09:00
    append_entry(&schedule, make_alarm_entry(2004, 5, 5, 9, 30, 0, 1, "d"));   // 09:30
    append_entry(&schedule, make_alarm_entry(2004, 5, 5, 9, 31, 0, 1, "e"));   // 09:31
    const uint64_t m0800 = alarm_instant(2004, 5, 5, 8, 0);
    const uint64_t m0900 = alarm_instant(2004, 5, 5, 9, 0);
    struct Case {
        const char* what;
        uint64_t mark;
        LocalTime now;
        const char* found;
    } cases[] = {
        {"first start: this minute alone", 0, at(2004, 5, 5, 9, 30), "d"},
        {"closed a minute ago: nothing missed", m0900 + 29 * kTicksPerMinute, at(2004, 5, 5, 9, 30), "d"},
        {"closed at 08:00 (rung): after it", m0800, at(2004, 5, 5, 9, 30), "Cd"},
        {"closed before 08:00", m0800 - kTicksPerMinute, at(2004, 5, 5, 9, 30), "BCd"},
        {"started at 09:29: 09:30 not yet", m0800 - kTicksPerMinute, at(2004, 5, 5, 9, 29), "BC"},
        {"closed three days ago: the last 24 hours", m0800 - 3 * kTicksPerDay, at(2004, 5, 5, 9, 30), "BCd"},
        {"24 hours before 09:29 reach yesterday's 09:30", m0800 - 3 * kTicksPerDay, at(2004, 5, 5, 9, 29), "ABC"},
        {"clock set back since: nothing", m0900 + 60 * kTicksPerMinute, at(2004, 5, 5, 9, 30), "-"},
        {"same minute again: nothing", m0900 + 30 * kTicksPerMinute, at(2004, 5, 5, 9, 30), "-"},
        {"mark two days ahead: starts over", m0900 + 2 * kTicksPerDay, at(2004, 5, 5, 9, 30), "d"},
    };
    for (const Case& c : cases) EXPECT_EQ(first_tick(c.mark, c.now), c.found) << c.what;
}

TEST_F(MissedAtStart, LaterTicksCatchUpWithoutCallingAnythingMissed) {
    append_entry(&schedule, make_alarm_entry(2004, 5, 5, 9, 40, 0, 1, "a"));
    TickMemory mem;
    mem.last_checked = alarm_instant(2004, 5, 5, 9, 0);
    TickPlan p = plan_tick(mem, at(2004, 5, 5, 9, 30), 0, 0);
    EXPECT_EQ(p.missed_upto, alarm_instant(2004, 5, 5, 9, 29));
    finish_tick(&mem, p, at(2004, 5, 5, 9, 30));
    p = plan_tick(mem, at(2004, 5, 5, 9, 45), 0, 0);  // a sleep over 09:40
    EXPECT_TRUE(p.check_alarms);
    EXPECT_EQ(p.missed_upto, 0u);
    EXPECT_EQ(find_due_alarm_between(schedule, p.alarm_after, p.alarm_upto), 0);
}

TEST(StoredEntry, RingsAtOnceOnlyInTheMinuteAlreadyChecked) {
    const uint64_t now = alarm_instant(2004, 5, 5, 9, 30);
    const ScheduleEntry due = make_alarm_entry(2004, 5, 5, 9, 40, 10);  // 09:30
    ScheduleEntry quiet = due;
    quiet.alarm_kind = 0;
    ScheduleEntry no_time = due;
    no_time.has_time = 0;
    const ScheduleEntry later = make_alarm_entry(2004, 5, 5, 9, 31, 0);
    const ScheduleEntry past = make_alarm_entry(2004, 5, 5, 9, 29, 0);
    struct Case {
        const char* what;
        const ScheduleEntry* e;
        uint64_t now, checked;
        bool rings;
    } cases[] = {
        {"due this minute, checked", &due, now, now, true},
        {"clock set back: checked beyond", &due, now, now + 5 * kTicksPerMinute, true},
        {"this minute not checked yet: the tick rings it", &due, now, now - kTicksPerMinute, false},
        {"no check yet", &due, now, 0, false},
        {"no alarm", &quiet, now, now, false},
        {"no time", &no_time, now, now, false},
        {"the next minute", &later, now, now, false},
        {"a minute past", &past, now, now, false},
        {"no clock reading", &due, 0, now, false},
    };
    for (const Case& c : cases) EXPECT_EQ(rings_when_stored(*c.e, c.now, c.checked), c.rings) << c.what;
}

}  // namespace
