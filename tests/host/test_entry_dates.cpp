// The days an entry falls on: day codes resolved by year, one day, the days of a month, the
// next day from a date and the days of a span, each held to the others; how day codes are
// read and written.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "calendar/date.h"
#include "schedule/entry_dates.h"
#include "tests/host/repeat_maker.h"

namespace {

TEST(EntryDates, ResolveDay) {
    struct { int day, month, year, expected; } cases[] = {
        {98, 1, 2004, 12}, {97, 7, 2004, 19}, {98, 10, 2000, 9},
        {99, 1, 1999, 15}, {99, 1, 2000, 10}, {99, 3, 2004, 20}, {99, 3, 1999, 21},
        {99, 9, 2012, 22}, {99, 9, 2004, 23}, {99, 10, 1999, 10}, {99, 10, 2000, 9},
        {99, 5, 2004, 99}, {99, -1, 2004, 99}, {99, 13, 2004, 99},
        {15, 6, 2004, 15}, {-1, 6, 2004, -1}, {0, 6, 2004, 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(resolve_day(c.day, c.month, c.year), c.expected) << c.day << "/" << c.month << "/" << c.year;
}

TEST(EntryDates, EntryOnDate) {
    ScheduleEntry second_monday_jan = make_entry(-1, 1, 98);
    ScheduleEntry movable_jan = make_entry(-1, 1, 99);
    ScheduleEntry dated = make_entry(2004, 3, 99);
    struct { const ScheduleEntry* e; int y, m, d; bool on; } cases[] = {
        {&second_monday_jan, 2004, 1, 12, true}, {&second_monday_jan, 2004, 1, 13, false},
        {&second_monday_jan, 2004, 2, 12, false},
        {&movable_jan, 1999, 1, 15, true}, {&movable_jan, 2000, 1, 10, true}, {&movable_jan, 2000, 1, 15, false},
        {&dated, 2004, 3, 20, true}, {&dated, 2005, 3, 20, false},
    };
    for (auto& c : cases) EXPECT_EQ(entry_on_date(c.e, c.y, c.m, c.d), c.on) << c.y << "-" << c.m << "-" << c.d;

    ScheduleEntry no_month = make_entry(-1, -1, 5), no_day = make_entry(-1, 5, -1);
    for (int m = -1; m <= 12; ++m)
        for (int d = -1; d <= 31; ++d) {
            EXPECT_FALSE(entry_on_date(&no_month, 2004, m == -1 ? 5 : m, d));
            EXPECT_FALSE(entry_on_date(&no_day, 2004, 5, d == -1 ? 1 : d));
        }
    EXPECT_FALSE(entry_on_date(nullptr, 2004, 1, 1));
}

// The days of one month, as the month grid, the day contents and the lists all see them.
TEST(EntryDates, DaysOfAMonth) {
    struct {
        ScheduleEntry e;
        int y, m;
        uint32_t days;
    } cases[] = {
        {make_entry(-1, 1, 98), 2004, 1, days_mask({12})},
        {make_entry(-1, 1, 98), 2004, 2, 0},
        {make_entry(-1, 7, 97), 2004, 7, days_mask({19})},
        {make_entry(-1, 1, 99), 1999, 1, days_mask({15})},
        {make_entry(-1, 1, 99), 2000, 1, days_mask({10})},
        {make_entry(-1, 3, 99), 2004, 3, days_mask({20})},
        {make_entry(-1, 9, 99), 2004, 9, days_mask({23})},
        {make_entry(-1, 10, 99), 1999, 10, days_mask({10})},
        {make_entry(-1, 10, 99), 2000, 10, days_mask({9})},
        {make_entry(-1, 5, 99), 2004, 5, 0},
        {make_entry(2004, 7, 98), 2004, 7, days_mask({12})},
        {make_entry(2004, 7, 98), 2005, 7, 0},
        {make_entry(2004, 6, 15), 2004, 6, days_mask({15})},
        {make_entry(2004, 6, 15), 2005, 6, 0},
        {make_entry(-1, 2, 29), 2004, 2, days_mask({29})},
        {make_entry(-1, 2, 29), 2005, 2, 0},
        {make_entry(-1, 2, 29), 2100, 2, 0},
        {make_entry(-1, 12, 31), 2079, 12, days_mask({31})},
        // Stored dates no calendar has.
        {make_entry(-1, 4, 31), 2004, 4, 0},
        {make_entry(-1, 2, 30), 2004, 2, 0},
        {make_entry(-1, 6, 0), 2004, 6, 0},
        {make_entry(-1, 6, 32), 2004, 6, 0},
        {make_entry(-1, 6, 96), 2004, 6, 0},
        {make_entry(-1, 6, 100), 2004, 6, 0},
        {make_entry(-1, 0, 5), 2004, 0, 0},
        {make_entry(-1, 13, 5), 2004, 13, 0},
        {make_entry(-1, -1, 5), 2004, -1, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.e.year << "/" << c.e.month << "/" << c.e.day << " in " << c.y
                                        << "-" << c.m);
        EXPECT_EQ(entry_month_days(c.e, c.y, c.m), c.days);
        for (int d = -1; d <= 32; ++d) EXPECT_EQ(entry_on_date(&c.e, c.y, c.m, d), d >= 1 && d <= 31 && ((c.days >> d) & 1)) << d;
        for (int holiday : {0, 1, 9}) {
            c.e.holiday = (uint8_t)holiday;
            const DayMarks marks = month_marks(&c.e, 1, c.y, c.m);
            EXPECT_EQ(marks.holiday, holiday ? c.days : 0u);
            EXPECT_EQ(marks.marked, holiday ? 0u : c.days);
        }
    }
}

TEST(EntryDates, NextOccurrence) {
    const CalendarDate kNone = {0, 0, 0};
    struct {
        ScheduleEntry e;
        CalendarDate from, next;
    } cases[] = {
        {make_entry(2004, 6, 1), {2003, 12, 31}, {2004, 6, 1}},
        {make_entry(2004, 6, 1), {2004, 6, 1}, {2004, 6, 1}},
        {make_entry(2004, 6, 1), {2004, 6, 2}, kNone},
        {make_entry(2004, 6, 1), {2005, 1, 1}, kNone},
        {make_entry(-1, 12, 20), {2004, 12, 20}, {2004, 12, 20}},
        {make_entry(-1, 12, 20), {2004, 12, 21}, {2005, 12, 20}},
        {make_entry(-1, 1, 5), {2004, 12, 20}, {2005, 1, 5}},
        // Every year is not cut at the calendar's last year.
        {make_entry(-1, 1, 5), {2079, 12, 20}, {2080, 1, 5}},
        // 29 February: the next leap year, eight years on across 2100.
        {make_entry(-1, 2, 29), {2005, 3, 1}, {2008, 2, 29}},
        {make_entry(-1, 2, 29), {2096, 3, 1}, {2104, 2, 29}},
        {make_entry(-1, 1, 99), {1999, 1, 16}, {2000, 1, 10}},
        {make_entry(-1, 1, 98), {2004, 1, 12}, {2004, 1, 12}},
        {make_entry(-1, 1, 98), {2004, 1, 13}, {2005, 1, 10}},
        {make_entry(2004, 1, 98), {2004, 1, 13}, kNone},
        // Days that never come.
        {make_entry(-1, 5, 99), {2004, 1, 1}, kNone},
        {make_entry(-1, 2, 30), {2004, 1, 1}, kNone},
        {make_entry(-1, 13, 1), {2004, 1, 1}, kNone},
        {make_entry(-1, 6, -1), {2004, 1, 1}, kNone},
        // A from-date that is no date.
        {make_entry(-1, 6, 1), {2004, 0, 1}, kNone},
        {make_entry(-1, 6, 1), {2004, 6, 32}, kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.e.year << "/" << c.e.month << "/" << c.e.day << " from "
                                        << c.from.year << "-" << c.from.month << "-" << c.from.day);
        CalendarDate next = {-7, -7, -7};
        const bool found = entry_next_occurrence(c.e, c.from, &next);
        ASSERT_EQ(found, c.next.year != 0);
        if (!found) continue;
        EXPECT_EQ(next.year, c.next.year);
        EXPECT_EQ(next.month, c.next.month);
        EXPECT_EQ(next.day, c.next.day);
    }
}

// Asking every day in turn, over 17 years: the next day and the days of a span are the days
// entry_on_date names, in order, none left out.
TEST(EntryDates, NextDayAndSpanAgreeWithEveryDayAsked) {
    std::vector<ScheduleEntry> entries = {
        make_entry(-1, 1, 1),   make_entry(-1, 2, 29),  make_entry(-1, 2, 28), make_entry(-1, 12, 31),
        make_entry(-1, 1, 98),  make_entry(-1, 11, 97), make_entry(-1, 1, 99), make_entry(-1, 3, 99),
        make_entry(-1, 9, 99),  make_entry(-1, 10, 99), make_entry(-1, 6, 99), make_entry(2000, 2, 29),
        make_entry(2003, 7, 98), make_entry(2010, 5, 5), make_entry(1995, 5, 5), make_entry(-1, 4, 31),
        make_entry(-1, 0, 1),   make_entry(-1, 6, 0),
    };
    const CalendarDate first = {1996, 1, 1}, last = {2012, 12, 31};
    std::vector<CalendarDate> every_day;
    for (int y = first.year; y <= last.year; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= days_in_month(m, y); ++d) every_day.push_back({y, m, d});

    for (const ScheduleEntry& e : entries) {
        SCOPED_TRACE(testing::Message() << e.year << "/" << e.month << "/" << e.day);
        std::vector<size_t> on;  // indexes into every_day
        for (size_t i = 0; i < every_day.size(); ++i)
            if (entry_on_date(&e, every_day[i].year, every_day[i].month, every_day[i].day)) on.push_back(i);

        CalendarDate span[40];
        const int n = entry_days_between(e, first, last, span, 40);
        ASSERT_EQ(size_t(n), on.size());
        for (int k = 0; k < n; ++k) {
            const CalendarDate& want = every_day[on[size_t(k)]];
            EXPECT_TRUE(span[k].year == want.year && span[k].month == want.month && span[k].day == want.day) << k;
        }
        // Every eleventh day of the first eight years asks for the next one: any day that
        // comes again comes within eight years, so inside the days asked.
        size_t next_on = 0;
        for (size_t i = 0; i < every_day.size() && every_day[i].year < first.year + 8; i += 11) {
            while (next_on < on.size() && on[next_on] < i) ++next_on;
            CalendarDate next;
            const bool found = entry_next_occurrence(e, every_day[i], &next);
            const CalendarDate& from = every_day[i];
            ASSERT_EQ(found, next_on < on.size()) << from.year << "-" << from.month << "-" << from.day;
            if (!found) continue;
            const CalendarDate& want = every_day[on[next_on]];
            EXPECT_TRUE(next.year == want.year && next.month == want.month && next.day == want.day)
                << from.year << "-" << from.month << "-" << from.day;
        }
    }
    // At most max days, and a span of one day.
    CalendarDate span[3];
    EXPECT_EQ(entry_days_between(make_entry(-1, 1, 1), first, last, span, 3), 3);
    EXPECT_EQ(span[2].year, 1998);
    EXPECT_EQ(entry_days_between(make_entry(-1, 1, 1), {2004, 1, 1}, {2004, 1, 1}, span, 3), 1);
    EXPECT_EQ(entry_days_between(make_entry(-1, 1, 1), {2004, 1, 2}, {2004, 12, 31}, span, 3), 0);
}

TEST(DayCodes, ReadAsStoredAndAsTyped) {
    using S = DayCodeSpelling;
    struct {
        const char* text;
        size_t n;
        S spelling;
        int code;
    } cases[] = {
        {"??", 2, S::kStored, kDayMovable},       {"M2", 2, S::kStored, kDaySecondMonday},
        {"M3", 2, S::kStored, kDayThirdMonday},   {"M2x", 2, S::kStored, kDaySecondMonday},
        {"m2", 2, S::kStored, 0},                 {"?x", 2, S::kStored, 0},
        {"?", 2, S::kStored, 0},                  {"M4", 2, S::kStored, 0},
        {"M2", 1, S::kStored, 0},                 {"", 2, S::kStored, 0},
        {"12", 2, S::kStored, 0},
        {"?", 3, S::kTyped, kDayMovable},         {"?12", 3, S::kTyped, kDayMovable},
        {"??", 3, S::kTyped, kDayMovable},        {"m2", 3, S::kTyped, kDaySecondMonday},
        {"M2", 3, S::kTyped, kDaySecondMonday},   {"m3", 3, S::kTyped, kDayThirdMonday},
        {"M3", 3, S::kTyped, kDayThirdMonday},    {"M", 3, S::kTyped, 0},
        {"M22", 3, S::kTyped, 0},                 {"M2", 1, S::kTyped, 0},
        {"12", 3, S::kTyped, 0},                  {"", 3, S::kTyped, 0},
        {"x?", 3, S::kTyped, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_day_code(c.text, c.n, c.spelling), c.code)
            << "\"" << c.text << "\" " << c.n << (c.spelling == S::kTyped ? " typed" : " stored");

    // Each code reads back from its own text either way; other days have none.
    for (int code : {kDayMovable, kDaySecondMonday, kDayThirdMonday}) {
        ASSERT_NE(day_code_text(code), nullptr);
        EXPECT_EQ(parse_day_code(day_code_text(code), 2, S::kStored), code);
        EXPECT_EQ(parse_day_code(day_code_text(code), 3, S::kTyped), code);
    }
    for (int day : {-1, 0, 1, 31, 96, 100}) EXPECT_EQ(day_code_text(day), nullptr) << day;
}

}  // namespace

// The marks kept with the list are those worked out anew after every kind of change: adding,
// replacing, marking for removal (in place, then told), compacting, clearing, sorting, and
// asking for another month and back.
TEST(EntryDates, KeptMonthMarksFollowEveryChangeOfTheList) {
    std::unique_ptr<ScheduleList> list(new ScheduleList);
    const ScheduleEntry fifth = make_entry(2024, 6, 5, 0, "a");
    const ScheduleEntry holiday = make_entry(2024, 6, 9, 1, "b");
    const ScheduleEntry yearly = make_entry(-1, 6, 20, 0, "c");
    const struct Step {
        const char* what;
        std::function<void(ScheduleList*)> change;
    } steps[] = {
        {"add", [&](ScheduleList* l) { schedule_add(l, &fifth); }},
        {"add a holiday", [&](ScheduleList* l) { schedule_add(l, &holiday); }},
        {"replace", [&](ScheduleList* l) { schedule_replace(l, 0, &yearly); }},
        {"another month", [](ScheduleList*) {}},
        {"mark for removal", [](ScheduleList* l) {
             l->entries[1].holiday = kHolidayRemove;
             schedule_changed(l);
         }},
        {"compact", [](ScheduleList* l) { schedule_compact(l); }},
        {"add again", [&](ScheduleList* l) { schedule_add(l, &holiday); }},
        {"sort", [](ScheduleList* l) { schedule_sort(l); }},
        {"clear", [](ScheduleList* l) { schedule_clear(l); }},
    };
    for (const Step& s : steps) {
        s.change(list.get());
        for (int month : {6, 7, 6}) {
            const DayMarks want = month_marks(list->entries, list->count, 2024, month);
            const DayMarks kept = schedule_month_marks(*list, 2024, month);
            EXPECT_EQ(kept.holiday, want.holiday) << s.what << " " << month;
            EXPECT_EQ(kept.marked, want.marked) << s.what << " " << month;
        }
    }
}
