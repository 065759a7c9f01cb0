// Series and the richer entries through iCalendar: every field an entry holds beyond its date,
// written and read back; files in the shapes other programs write; a file read again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/filetime.h"
#include "entry_maker.h"
#include "ical_test_support.h"
#include "repeat_maker.h"
#include "schedule/entry_dates.h"

namespace {

using namespace ical_test;

ScheduleEntry with(ScheduleEntry e, void (*change)(ScheduleEntry*)) {
    change(&e);
    return e;
}

// Each entry written alone and read back is the entry again (its identity too), and written
// again gives the same bytes.
TEST(IcalSeries, EveryFieldComesBackAndWritesTheSameAgain) {
    const struct {
        const char* name;
        ScheduleEntry entry;
    } cases[] = {
        {"weekly, two days, every other week, skipped days",
         skipping(weekly(2024, 1, 1, {1, 3}, 2), {20240103, 20240129})},
        {"monthly, last friday, counted", counted(monthly_nth(2024, 1, 26, {-1}, 5), 10)},
        {"monthly, first and last day", monthly_on(2024, 1, 1, {1, -1}, 3)},
        {"daily at a time until a day", until(timed(daily(2024, 1, 1, 2), 23, 30), 20240301)},
        {"yearly every other year", yearly(2024, 2, 29, 2)},
        {"three days", spanning(make_entry(2024, 8, 12, 0, "trip"), 2)},
        {"into the next day", with(timed(make_entry(2024, 5, 5, 0, "night"), 22, 0), [](ScheduleEntry* e) {
             e->span_days = 1, e->has_end_time = 1, e->end_hour = 2, e->end_minute = 0;
         })},
        {"an end the same day", with(timed(make_entry(2024, 5, 5, 0, "m"), 9, 30), [](ScheduleEntry* e) {
             e->has_end_time = 1, e->end_hour = 10, e->end_minute = 45;
         })},
        {"lead in hours", with(timed(make_entry(2024, 5, 5, 0, "m"), 9, 0, 120), [](ScheduleEntry* e) {
             e->lead_unit = LeadUnit::kHours;
         })},
        {"lead in days, sound", with(timed(make_entry(2024, 5, 5, 0, "m"), 9, 0, 2880, 2), [](ScheduleEntry* e) {
             e->lead_unit = LeadUnit::kDays;
         })},
        {"lead of 150 minutes", timed(make_entry(2024, 5, 5, 0, "m"), 9, 0, 150)},
        {"day alarm the day before at 9:00", with(make_entry(2024, 5, 5, 0, "m"), [](ScheduleEntry* e) {
             e->day_alarm = 1, e->day_alarm_minute = -900, e->alarm_kind = 1;
         })},
        {"day alarm at 9:00 on a series", with(weekly(2024, 5, 6, {1}), [](ScheduleEntry* e) {
             e->day_alarm = 1, e->day_alarm_minute = 540, e->alarm_kind = 2;
         })},
        {"identity and version", with(make_entry(2024, 5, 5, 0, "m"), [](ScheduleEntry* e) {
             std::snprintf(e->uid, sizeof e->uid, "abc-123@example.com");
             e->sequence = 4;
             wall_time_to_filetime(2024, 4, 30, 18, 5, 7, 0, &e->modified);
         })},
        {"a changed occurrence", with(timed(make_entry(2024, 1, 16, 0, "moved"), 14, 0), [](ScheduleEntry* e) {
             std::snprintf(e->uid, sizeof e->uid, "series-1");
             e->recur_date = 20240115, e->recur_has_time = 1, e->recur_hour = 10;
         })},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = c.entry;
        entry_settle(&e);
        const std::string text = export_text({e});
        const Imported r = import_text(text);
        ASSERT_EQ(r.entries.size(), 1u) << c.name << "\n" << text;
        EXPECT_EQ(describe(r.entries[0]), describe(e)) << c.name << "\n" << text;
        EXPECT_EQ(r.counts.changed, 0) << c.name;
        if (e.uid[0]) EXPECT_STREQ(r.entries[0].uid, e.uid) << c.name;
        EXPECT_EQ(export_text(r.entries), text) << c.name;
    }
}

std::string vevent(const std::vector<std::string>& lines) {
    std::string s = "BEGIN:VEVENT\r\n";
    for (const auto& l : lines) s += l + "\r\n";
    return s + "END:VEVENT\r\n";
}

std::string file(const std::vector<std::string>& events) {
    std::string s = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\n";
    for (const auto& e : events) s += e;
    return s + "END:VCALENDAR\r\n";
}

// Files as other programs write them, each with a fault this reader once had.
TEST(IcalSeries, FilesOfOtherPrograms) {
    const std::string weekly = "RRULE:FREQ=WEEKLY;BYDAY=MO";
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> expect;
        int added, cut, cancelled, unreadable;
    } cases[] = {
        {"first day excluded",
         file({vevent({"DTSTART;TZID=Asia/Tokyo:20240108T100000", "DTEND;TZID=Asia/Tokyo:20240108T110000",
                       weekly, "EXDATE;TZID=Asia/Tokyo:20240108T100000", "UID:a@google.com", "SUMMARY:w"})}),
         {"2024-1-8 10:00 [w] rrule=FREQ=WEEKLY;BYDAY=MO exdate=20240108 end=20240108T1100"}, 1, 0, 0, 0},
        {"excluded in UTC", file({vevent({"DTSTART:20240108T010000Z", weekly,
                                          "EXDATE:20240115T010000Z,20240122T010000Z", "SUMMARY:w"})}),
         {"2024-1-8 10:00 [w] rrule=FREQ=WEEKLY;BYDAY=MO exdate=20240115,20240122"}, 1, 0, 0, 0},
        {"moved occurrence, before and after its series",
         file({vevent({"UID:s1", "RECURRENCE-ID;TZID=Tokyo Standard Time:20240115T100000",
                       "DTSTART;TZID=Tokyo Standard Time:20240116T140000", "SUMMARY:moved"}),
               vevent({"UID:s1", "DTSTART;TZID=Tokyo Standard Time:20240108T100000", weekly, "SUMMARY:w"}),
               vevent({"UID:s1", "RECURRENCE-ID;TZID=Tokyo Standard Time:20240122T100000",
                       "DTSTART;TZID=Tokyo Standard Time:20240122T100000", "STATUS:CANCELLED",
                       "SUMMARY:w"})}),
         {"2024-1-8 10:00 [w] rrule=FREQ=WEEKLY;BYDAY=MO exdate=20240115,20240122",
          "2024-1-16 14:00 [moved] recurid=20240115T1000"},
         2, 0, 1, 0},
        {"until before the start",
         file({vevent({"DTSTART;VALUE=DATE:20240110", "RRULE:FREQ=DAILY;UNTIL=20240105", "SUMMARY:x"})}),
         {}, 0, 0, 1, 0},
        {"cancelled", file({vevent({"DTSTART;VALUE=DATE:20240110", "STATUS:CANCELLED", "SUMMARY:x"})}),
         {}, 0, 0, 1, 0},
        {"one occurrence by count and by until",
         file({vevent({"DTSTART;VALUE=DATE:20240110", "RRULE:FREQ=DAILY;COUNT=1", "SUMMARY:c"}),
               vevent({"DTSTART;VALUE=DATE:20240111", "RRULE:FREQ=WEEKLY;UNTIL=20240117", "SUMMARY:u"})}),
         {"2024-1-10 [c]", "2024-1-11 [u]"}, 2, 0, 0, 0},
        {"before 1980",
         file({vevent({"DTSTART;VALUE=DATE:19791224", "RRULE:FREQ=WEEKLY;COUNT=4", "SUMMARY:c"}),
               vevent({"DTSTART;VALUE=DATE:19700105", "RRULE:FREQ=WEEKLY", "SUMMARY:w"}),
               vevent({"DTSTART;VALUE=DATE:19750131", "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1", "SUMMARY:m"}),
               vevent({"DTSTART;VALUE=DATE:19700101", "RRULE:FREQ=DAILY;UNTIL=19791231", "SUMMARY:gone"})}),
         {"1980-1-7 [c] rrule=FREQ=WEEKLY;BYDAY=MO;COUNT=2", "1980-1-7 [w] rrule=FREQ=WEEKLY;BYDAY=MO",
          "1980-1-31 [m] rrule=FREQ=MONTHLY;BYMONTHDAY=-1"},
         3, 0, 0, 1},
        {"several rules", file({vevent({"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=DAILY",
                                        "RRULE:FREQ=WEEKLY", "SUMMARY:r"})}),
         {"2024-1-1 [r]"}, 1, 1, 0, 0},
        {"start off the rule", file({vevent({"DTSTART;VALUE=DATE:20240104",
                                              "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=5", "SUMMARY:o"})}),
         {"2024-1-8 [o] rrule=FREQ=WEEKLY;BYDAY=MO;COUNT=4"}, 1, 1, 0, 0},
        {"first line indented", " " + file({vevent({"DTSTART;VALUE=DATE:20240101", "SUMMARY:i"})}),
         {"2024-1-1 [i]"}, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(c.text);
        ASSERT_TRUE(r.calendar) << c.name;
        EXPECT_EQ(describe_all(r.entries), c.expect) << c.name;
        EXPECT_EQ(r.counts.added, c.added) << c.name;
        EXPECT_EQ(r.counts.recurrence_cut, c.cut) << c.name;
        EXPECT_EQ(r.counts.cancelled, c.cancelled) << c.name;
        EXPECT_EQ(r.counts.unreadable, c.unreadable) << c.name;
    }
}

// A series updated from a file keeps leaving out the days of its own changed occurrences, and
// takes the file's excluded days for the others.
TEST(IcalSeries, AnUpdatedSeriesKeepsTheDaysOfItsChangedOccurrences) {
    ScheduleEntry series = skipping(weekly(2024, 1, 1, {1}), {20240108, 20240115});
    std::snprintf(series.uid, sizeof series.uid, "w1");
    ScheduleEntry moved = make_entry(2024, 1, 9, 0, "moved");
    std::snprintf(moved.uid, sizeof moved.uid, "w1");
    moved.recur_date = 20240108;
    const Imported r = import_text(
        file({vevent({"UID:w1", "DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=WEEKLY;BYDAY=MO",
                      "EXDATE;VALUE=DATE:20240122", "SUMMARY:renamed"})}),
        ical_host::japan(), {series, moved});
    EXPECT_EQ(describe_all(r.entries),
              (std::vector<std::string>{"2024-1-1 [renamed] rrule=FREQ=WEEKLY;BYDAY=MO exdate=20240108,20240122",
                                        "2024-1-9 [moved] recurid=20240108"}));
    EXPECT_EQ(r.counts.updated, 1);
}

// A file read again into the list it was read into: its events update their entries.
TEST(IcalSeries, ReadAgainUpdatesInsteadOfAdding) {
    const std::string first = file({vevent({"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20240101T000000Z",
                                            "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"})});
    const struct {
        const char* name;
        std::vector<std::string> lines;  // the event read the second time
        const char* expect;
        int added, updated, already;
    } cases[] = {
        {"the same", {"SEQUENCE:1", "LAST-MODIFIED:20240101T000000Z", "DTSTART;VALUE=DATE:20240110",
                      "SUMMARY:old"}, "2024-1-10 [old] seq=1", 0, 0, 1},
        {"renamed, moved, repeating",
         {"SEQUENCE:2", "DTSTART:20240111T090000", "RRULE:FREQ=DAILY;COUNT=3", "SUMMARY:new"},
         "2024-1-11 9:00 [new] rrule=FREQ=DAILY;COUNT=3 seq=2", 0, 1, 0},
        {"an older sequence", {"SEQUENCE:0", "DTSTART;VALUE=DATE:20240111", "SUMMARY:new"},
         "2024-1-10 [old] seq=1", 0, 0, 1},
        {"the same sequence, stamped earlier",
         {"SEQUENCE:1", "LAST-MODIFIED:20231231T000000Z", "DTSTART;VALUE=DATE:20240111", "SUMMARY:new"},
         "2024-1-10 [old] seq=1", 0, 0, 1},
        {"no version", {"DTSTART;VALUE=DATE:20240111", "SUMMARY:new"}, "2024-1-11 [new]", 0, 1, 0},
    };
    const Imported once = import_text(first);
    ASSERT_EQ(once.entries.size(), 1u);
    for (const auto& c : cases) {
        std::vector<std::string> lines = {"UID:e1"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        const Imported r = import_text(file({vevent(lines)}), ical_host::japan(), once.entries);
        ASSERT_EQ(r.entries.size(), 1u) << c.name;
        std::string got = describe(r.entries[0]);
        got = got.substr(0, got.find(" modified="));
        EXPECT_EQ(got, c.expect) << c.name;
        EXPECT_STREQ(r.entries[0].uid, "e1") << c.name;
        EXPECT_EQ(r.counts.added, c.added) << c.name;
        EXPECT_EQ(r.counts.updated, c.updated) << c.name;
        EXPECT_EQ(r.counts.already, c.already) << c.name;
    }
}

}  // namespace
