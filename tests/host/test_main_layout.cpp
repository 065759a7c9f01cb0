// Main window arithmetic: placement, hit tests, grid cells, texts, the
// settings path and the tick decisions (with alarms caught up after late ticks).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/main_layout.h"
#include "app/startup_layout.h"
#include "calendar/date.h"
#include "calendar/filetime.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/test_records.h"

namespace {

TEST(PlaceWindow, ScreenEdgeAdjustment) {
    struct Case {
        int x1, y1, x2, y2, sw, sh;
        WindowPos want;
    } cases[] = {
        {100, 100, 440, 440, 1024, 768, {100, 100, 340, 340}},   // fits
        {900, 100, 1240, 440, 1024, 768, {684, 100, 340, 340}},  // ends at the right edge
        {684, 0, 1024, 340, 1024, 768, {684, 0, 340, 340}},      // right edge == screen: no shift
        {10, 600, 350, 940, 1024, 768, {10, 428, 340, 340}},     // bottom edge moved up
        {0, 0, 1300, 900, 1024, 768, {0, 0, 1300, 900}},         // larger than the screen: 0, 0
        {-20, -5, 320, 335, 1024, 768, {0, 0, 340, 340}},        // negative corner clamped
        {1500, 1000, 1840, 1340, 1024, 768, {684, 428, 340, 340}},  // saved on a larger screen
    };
    for (const Case& c : cases) {
        int x1 = c.x1, y1 = c.y1;
        WindowPos p = place_window(&x1, &y1, c.x2, c.y2, c.sw, c.sh);
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2);
        EXPECT_EQ(p.x, c.want.x);
        EXPECT_EQ(p.y, c.want.y);
        EXPECT_EQ(p.width, c.want.width);
        EXPECT_EQ(p.height, c.want.height);
        EXPECT_EQ(x1, c.want.x);  // the adjusted corner stays in the settings
        EXPECT_EQ(y1, c.want.y);
    }
}

TEST(HitTest, ArrowsExcludeRightAndBottomEdges) {
    const CellRect left = {4, 2, 16, 14}, right = {320, 2, 332, 14};
    struct Case {
        int x, y, want;
    } cases[] = {
        {4, 2, 1},   {15, 13, 1}, {16, 5, 0},  {5, 14, 0}, {3, 5, 0},
        {320, 2, 2}, {331, 13, 2}, {332, 5, 0}, {100, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(arrow_at(left, right, c.x, c.y), c.want) << c.x << "," << c.y;
}

TEST(HitTest, MoveBandBetweenTopAndHeaderOffArrows) {
    const CellRect left = {4, 2, 16, 14}, right = {320, 2, 332, 14};
    const int header = 20;
    struct Case {
        int x, y;
        bool want;
    } cases[] = {
        {100, 1, false}, {100, 2, true}, {100, 19, true}, {100, 20, false},
        {8, 6, false},   {325, 6, false}, {8, 16, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(in_move_band(left, right, header, c.x, c.y), c.want) << c.x << "," << c.y;
}

TEST(HitTest, DayCellsIncludeAllEdgesAndSkipUnused) {
    CellRect cells[31];
    for (CellRect& c : cells) c = {-1, -1, -1, -1};
    cells[0] = {10, 50, 30, 60};
    cells[1] = {10, 50, 30, 60};  // overlapping (collapsed columns): the first day wins
    cells[4] = {40, 50, 60, 60};
    struct Case {
        int x, y, want;
    } cases[] = {
        {10, 50, 1}, {30, 60, 1}, {31, 55, -1}, {20, 61, -1},
        {40, 50, 5}, {60, 60, 5}, {-1, -1, -1},  // the unused cells' -1 never matches
    };
    for (const Case& c : cases) EXPECT_EQ(day_cell_at(cells, c.x, c.y), c.want) << c.x << "," << c.y;
}

TEST(MonthGrid, MetricsFollowAreaAndClock) {
    const CellRect area = {0, 0, 340, 301};
    MonthMetrics plain = month_metrics(area, 0);
    EXPECT_EQ(plain.col_unit, 14);
    EXPECT_EQ(plain.row_height, 37);
    EXPECT_EQ(plain.font_unit, 28);  // 2 * col_unit is smaller than a row
    EXPECT_EQ(plain.center_x, 170);
    EXPECT_EQ(plain.first_row_top, 76);
    EXPECT_EQ(month_metrics(area, 1).row_height, 33);
    EXPECT_EQ(month_metrics(area, 2).row_height, 30);
    EXPECT_EQ(month_metrics(area, 2).font_unit, 28);  // 2 * col_unit is still below a row

    const CellRect wide = {0, 0, 800, 161};
    EXPECT_EQ(month_metrics(wide, 0).font_unit, 20);  // the row height is smaller
}

TEST(MonthGrid, SaturdayStartNeedsSixRows) {
    // May 2004 starts on a Saturday and has 31 days.
    ASSERT_EQ(weekday_of(2004, 5, 1), 6);
    const CellRect area = {0, 0, 340, 301};
    MonthMetrics m = month_metrics(area, 0);
    MonthCells cells;
    month_cells(m, area.right, 20, 14, 6, 31, &cells);
    const int xc_sat = m.center_x + 3 * 3 * m.col_unit;
    EXPECT_EQ(cells.day_cells[0].left, xc_sat - 10 - 2);
    EXPECT_EQ(cells.day_cells[0].right, xc_sat + 10 + 2);
    EXPECT_EQ(cells.day_cells[0].top, m.first_row_top + 1);
    EXPECT_EQ(cells.day_cells[0].bottom, m.first_row_top + 14 - 2);
    // Day 2 is Sunday of the second row, day 31 Monday of the sixth.
    EXPECT_EQ(cells.day_cells[1].top, m.first_row_top + m.row_height + 1);
    EXPECT_EQ(cells.day_cells[1].left, m.center_x - 9 * m.col_unit - 12);
    EXPECT_EQ(cells.day_cells[30].top, 7 * m.row_height + 2 + 1);
    EXPECT_LE(cells.day_cells[30].bottom, 8 * m.row_height + 2);
    EXPECT_EQ(day_cell_at(cells.day_cells, xc_sat, m.first_row_top + 5), 1);
}

TEST(MonthGrid, ShortMonthLeavesUnusedCellsAndArrowsClamp) {
    const CellRect area = {0, 0, 200, 200};
    MonthMetrics m = month_metrics(area, 0);
    struct Case {
        int digit_h, b;
    } cases[] = {{5, 8}, {10, 8}, {14, 12}, {18, 16}, {40, 16}};
    for (const Case& c : cases) {
        MonthCells cells;
        month_cells(m, 150, 12, c.digit_h, 0, 28, &cells);
        SCOPED_TRACE(c.digit_h);
        EXPECT_EQ(cells.left_arrow.left, 4);
        EXPECT_EQ(cells.left_arrow.top, 2);
        EXPECT_EQ(cells.left_arrow.right, c.b + 4);
        EXPECT_EQ(cells.left_arrow.bottom, c.b + 2);
        EXPECT_EQ(cells.right_arrow.left, 150 - 4 - c.b);  // at the calendar area's edge
        EXPECT_EQ(cells.right_arrow.right, 146);
        EXPECT_EQ(cells.header_height, c.digit_h + 2);
        for (int d = 29; d <= 31; ++d) {
            EXPECT_EQ(cells.day_cells[d - 1].left, -1);
            EXPECT_EQ(cells.day_cells[d - 1].bottom, -1);
        }
        EXPECT_NE(cells.day_cells[27].left, -1);
    }
}

// Height-limited windows with a clock: the day font is sized from eight rows, the grid has
// nine or ten, so the digits are taller than a row. Cells keep within their rows.
TEST(MonthGrid, CellsStayWithinTheirRows) {
    struct Case {
        int w, h, clock_mode, digit_h;
        int cell_bottom_offset;  // bottom of day 1's click cell below the row top
    } cases[] = {
        {340, 340, 0, 29, 27},   // digits lower than a row: as measured
        {340, 200, 1, 25, 20},   // digital clock: rows of 22
        {340, 200, 2, 25, 17},   // analog clock: rows of 19
        {600, 250, 1, 32, 25},   // rows of 27, digits of 32
        {600, 250, 0, 31, 29},   // no clock: rows of 31 hold the digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " clock " << c.clock_mode);
        const CellRect area = {0, 0, c.w, c.h};
        const MonthMetrics m = month_metrics(area, c.clock_mode);
        MonthCells cells;
        month_cells(m, area.right, 20, c.digit_h, 0, 31, &cells);
        EXPECT_EQ(cells.day_cells[0].bottom - m.first_row_top, c.cell_bottom_offset);
        for (int d = 1; d + 7 <= 31; ++d) {
            // As drawn the cell is one pixel taller; the next row's cell starts below it.
            EXPECT_LT(cells.day_cells[d - 1].bottom + 1, cells.day_cells[d + 6].top) << d;
            const int x = (cells.day_cells[d - 1].left + cells.day_cells[d - 1].right) / 2;
            EXPECT_EQ(day_cell_at(cells.day_cells, x, cells.day_cells[d + 6].top), d + 7) << d;
        }
    }
}

TEST(MonthGrid, NarrowWindowCollapsesColumns) {
    const CellRect area = {0, 0, 20, 200};
    MonthMetrics m = month_metrics(area, 0);
    ASSERT_EQ(m.col_unit, 0);
    MonthCells cells;
    month_cells(m, area.right, 8, 10, 3, 30, &cells);
    for (int d = 1; d <= 7; ++d) EXPECT_EQ(cells.day_cells[d - 1].left, 10 - 4 - 2);
}

TEST(Texts, TipTitleAndDateText) {
    char buf[64];
    format_date_tip(buf, sizeof buf, 2004, 12, 8, 0);
    EXPECT_STREQ(buf, "2004年12月8日(水)");
    format_window_title(buf, sizeof buf, 1, 2004, 5, 0);
    EXPECT_STREQ(buf, "Tavelspore 2004年5月");
    format_window_title(buf, sizeof buf, 0, 2004, 5, 0);
    EXPECT_STREQ(buf, "Tavelspore May 2004");
    format_window_title(buf, 12, 0, 2004, 13, 0);  // bad month and short buffer stay bounded
    EXPECT_EQ(std::strlen(buf), 11u);
    LocalTime t = {2004, 3, 7, 9, 5, 1};
    format_date_text(buf, sizeof buf, t);
    EXPECT_STREQ(buf, "03/07/04");
}

TEST(Texts, TrayTipNamesTheNationalHoliday) {
    const struct {
        int y, m, d, national;
        const char* tip;
    } cases[] = {{2019, 5, 3, 1, "2019年5月3日(金) 憲法記念日"}, {2019, 5, 3, 0, "2019年5月3日(金)"},
                 {2019, 5, 7, 1, "2019年5月7日(火)"}, {1993, 6, 9, 1, "1993年6月9日(水) 皇太子徳仁親王の結婚の儀"}};
    char buf[64];
    for (const auto& c : cases) {
        format_tray_tip(buf, sizeof buf, c.y, c.m, c.d, c.national, 0);
        EXPECT_STREQ(buf, c.tip);
    }
}

TEST(SettingsPath, BoundedWithDefaultFallback) {
    const std::string dir_short = "C:\\Zelmar\\";
    const std::string name255(255, 'u');
    const std::string dir1023(1023, 'd');
    const std::string dir1000(1000, 'd');
    // dir + user + ".cfg" = 1023 bytes exactly fits a 1024-byte buffer; one more does not.
    const std::string dir_fit(1023 - 4 - 5, 'd');
    const std::string dir_over(1024 - 4 - 5, 'd');
    const std::string dir_default(1023 - 4 - 7, 'd');  // "default" fits exactly
    struct Case {
        const std::string* dir;
        const char* user;
        SettingsPathResult want;
        std::string path;
    } cases[] = {
        {&dir_short, "alice", kPathWithUser, "C:\\Zelmar\\alice.cfg"},
        {&dir_short, "", kPathDefault, "C:\\Zelmar\\default.cfg"},
        {&dir_short, nullptr, kPathDefault, "C:\\Zelmar\\default.cfg"},
        {&dir1000, name255.c_str(), kPathDefault, dir1000 + "default.cfg"},
        {&dir1023, name255.c_str(), kPathTooLong, ""},
        {&dir_fit, "alice", kPathWithUser, dir_fit + "alice.cfg"},
        {&dir_over, "alice", kPathTooLong, ""},
        {&dir_default, "alicelonger", kPathDefault, dir_default + "default.cfg"},
    };
    for (const Case& c : cases) {
        char out[1024 + 8];
        std::memset(out, 'X', sizeof out);
        SettingsPathResult r = settings_path_build(out, 1024, c.dir->c_str(), c.user);
        SCOPED_TRACE(testing::Message() << c.dir->size() << " " << (c.user ? c.user : "(null)"));
        EXPECT_EQ(r, c.want);
        EXPECT_EQ(std::string(out), c.path);
        for (size_t i = 1024; i < sizeof out; ++i) ASSERT_EQ(out[i], 'X');  // nothing past
    }
}

LocalTime at(int y, int mo, int d, int h, int mi, int s) { return LocalTime{y, mo, d, h, mi, s}; }

TEST(Tick, DateChangeAndClockDecisions) {
    TickMemory mem;  // as before the first tick
    TickPlan p = plan_tick(mem, at(2004, 5, 5, 23, 59, 58), 1, 1);
    EXPECT_TRUE(p.new_day);
    EXPECT_FALSE(p.repaint_month);  // the first tick only sets the tip
    EXPECT_TRUE(p.clock_due);
    finish_tick(&mem, p, at(2004, 5, 5, 23, 59, 58));

    p = plan_tick(mem, at(2004, 5, 5, 23, 59, 59), 1, 1);
    EXPECT_FALSE(p.new_day);
    EXPECT_TRUE(p.clock_due);    // seconds shown: every second
    EXPECT_FALSE(p.minute_changed);
    EXPECT_FALSE(plan_tick(mem, at(2004, 5, 5, 23, 59, 59), 1, 0).clock_due);  // once a minute
    EXPECT_FALSE(plan_tick(mem, at(2004, 5, 5, 23, 59, 59), 0, 1).clock_due);  // no clock
    finish_tick(&mem, p, at(2004, 5, 5, 23, 59, 59));

    // One reading gives date and time together: the new day and its first minute.
    p = plan_tick(mem, at(2004, 5, 6, 0, 0, 0), 1, 0);
    EXPECT_TRUE(p.new_day);
    EXPECT_TRUE(p.repaint_month);
    EXPECT_TRUE(p.clock_due);
    EXPECT_EQ(p.day, 6);
    EXPECT_EQ(p.alarm_upto, alarm_instant(2004, 5, 6, 0, 0));
}

TEST(Tick, YearFollowsTheTwoDigitReading) {
    struct Case {
        int in, want;
    } cases[] = {{1980, 1980}, {1999, 1999}, {2000, 2000}, {2079, 2079}, {2080, 1980}, {1979, 2079}};
    for (const Case& c : cases) EXPECT_EQ(calendar_year_of(c.in), c.want) << c.in;
}

TEST(Tick, AlarmWindowCoversEveryMinuteSinceTheLastCheck) {
    TickMemory mem;  // as before the first tick
    const uint64_t m0930 = alarm_instant(2004, 5, 5, 9, 30);
    struct Step {
        LocalTime now;
        bool check;
        uint64_t after, upto;
    } steps[] = {
        {at(2004, 5, 5, 9, 30, 10), true, m0930 - kOneMinute, m0930},  // first: this minute only
        {at(2004, 5, 5, 9, 30, 11), false, 0, 0},                      // same minute
        {at(2004, 5, 5, 9, 31, 0), true, m0930, m0930 + kOneMinute},   // normal next minute
        {at(2004, 5, 5, 11, 31, 2), true, m0930 + kOneMinute, m0930 + 121 * kOneMinute},  // late
        // The clock set back: the minutes lived again are not checked again; the check waits
        // until the clock passes the last minute checked.
        {at(2004, 5, 5, 10, 0, 0), false, 0, 0},
        {at(2004, 5, 5, 11, 31, 0), false, 0, 0},
        {at(2004, 5, 5, 11, 32, 0), true, m0930 + 121 * kOneMinute, m0930 + 122 * kOneMinute},
        // Over midnight the minutes run on without a gap.
        {at(2004, 5, 5, 23, 59, 0), true, m0930 + 122 * kOneMinute, m0930 + 869 * kOneMinute},
        {at(2004, 5, 6, 0, 0, 1), true, m0930 + 869 * kOneMinute, m0930 + 870 * kOneMinute},
        // Back over midnight: still waits.
        {at(2004, 5, 5, 23, 58, 0), false, 0, 0},
        {at(2004, 5, 6, 0, 1, 0), true, m0930 + 870 * kOneMinute, m0930 + 871 * kOneMinute},
        // Set back by more than a day (the clock was far off): starts over with this minute.
        {at(2004, 5, 4, 23, 59, 0), true, m0930 - 571 * kOneMinute - kOneMinute, m0930 - 571 * kOneMinute},
        {at(2004, 5, 5, 0, 0, 0), true, m0930 - 571 * kOneMinute, m0930 - 570 * kOneMinute},
    };
    for (const Step& s : steps) {
        TickPlan p = plan_tick(mem, s.now, 0, 0);
        SCOPED_TRACE(testing::Message() << s.now.hour << ":" << s.now.minute << ":" << s.now.second);
        EXPECT_EQ(p.check_alarms, s.check);
        if (s.check) {
            EXPECT_EQ(p.alarm_after, s.after);
            EXPECT_EQ(p.alarm_upto, s.upto);
        }
        finish_tick(&mem, p, s.now);
    }
}

// The first tick behind the previous run's mark (within a day) says so, once; the minutes up
// to the mark stay unchecked all the same.
TEST(TickPlan, TheFirstTickBehindTheStoredMarkTellsIt) {
    const uint64_t m0930 = alarm_instant(2004, 5, 5, 9, 30);
    const struct {
        const char* what;
        uint64_t mark;
        bool ticked;
        bool check;
        uint64_t held_back;
    } cases[] = {
        {"half an hour behind", m0930 + 30 * kOneMinute, false, false, m0930 + 30 * kOneMinute},
        {"a minute behind", m0930 + kOneMinute, false, false, m0930 + kOneMinute},
        {"a day behind", m0930 + kTicksPerDay, false, false, m0930 + kTicksPerDay},
        {"more than a day: starts over", m0930 + kTicksPerDay + kOneMinute, false, true, 0},
        {"the same minute", m0930, false, false, 0},
        {"ahead of the mark", m0930 - kOneMinute, false, true, 0},
        {"no mark", 0, false, true, 0},
        {"set back while running", m0930 + 30 * kOneMinute, true, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TickMemory mem;
        mem.last_checked = c.mark;
        mem.ticked = c.ticked;
        TickPlan p = plan_tick(mem, at(2004, 5, 5, 9, 30, 10), 0, 0);
        EXPECT_EQ(p.check_alarms, c.check);
        EXPECT_EQ(p.held_back_upto, c.held_back);
        finish_tick(&mem, p, at(2004, 5, 5, 9, 30, 10));
        // Told once: the next tick, still behind, says nothing.
        EXPECT_EQ(plan_tick(mem, at(2004, 5, 5, 9, 31, 0), 0, 0).held_back_upto, 0u);
    }
}

// Runs the ticks over one alarm entry and returns the index each tick finds (-1 none).
std::string fired_by(const LocalTime* ticks, int n) {
    TickMemory mem;  // as before the first tick
    std::string out;
    for (int i = 0; i < n; ++i) {
        TickPlan p = plan_tick(mem, ticks[i], 0, 0);
        int found = p.check_alarms ? find_due_alarm_between(schedule, p.alarm_after, p.alarm_upto) : -1;
        out += found >= 0 ? char('0' + found) : '-';
        finish_tick(&mem, p, ticks[i]);
    }
    return out;
}

class TickAlarms : public testing::Test {
protected:
    void SetUp() override {
        saved_count_ = schedule.count;
        schedule.count = 0;
        add(2004, 5, 5, 9, 30, 0);   // 09:30
        add(2004, 5, 5, 9, 45, 15);  // 10:00 less 15 minutes = 09:45
    }
    void TearDown() override { schedule.count = saved_count_; }
    static void add(int y, int m, int d, int h, int mi, int before) {
        ScheduleEntry& e = schedule.entries[schedule.count++];
        entry_blank(&e);
        e.year = y;
        e.month = m;
        e.day = d;
        e.has_time = 1;
        e.hour = h + (mi + before) / 60;
        e.minute = (mi + before) % 60;
        e.minutes_before = before;
        e.alarm_kind = 1;
        compute_alarm_at(&e);
    }
    int saved_count_ = 0;
};

TEST_F(TickAlarms, EachAlarmFiresOnceInItsMinute) {
    const LocalTime ticks[] = {at(2004, 5, 5, 9, 29, 59), at(2004, 5, 5, 9, 30, 0),
                               at(2004, 5, 5, 9, 30, 1),  at(2004, 5, 5, 9, 44, 59),
                               at(2004, 5, 5, 9, 45, 0),  at(2004, 5, 5, 9, 46, 0)};
    EXPECT_EQ(fired_by(ticks, 6), "-0--1-");
}

TEST_F(TickAlarms, LateTickAndSleepStillCatchTheAlarm) {
    // A tick delayed past 09:30 and a sleep from 09:40 to 09:50.
    const LocalTime late[] = {at(2004, 5, 5, 9, 29, 59), at(2004, 5, 5, 9, 31, 2)};
    EXPECT_EQ(fired_by(late, 2), "-0");
    const LocalTime sleep[] = {at(2004, 5, 5, 9, 40, 0), at(2004, 5, 5, 9, 50, 30)};
    EXPECT_EQ(fired_by(sleep, 2), "-1");
    // Exactly one hour without ticks: the minute number is the same as before.
    const LocalTime hour[] = {at(2004, 5, 5, 8, 45, 0), at(2004, 5, 5, 9, 45, 0)};
    EXPECT_EQ(fired_by(hour, 2), "-0");  // the first due entry in list order is shown
}

TEST_F(TickAlarms, FirstTickChecksOnlyTheCurrentMinute) {
    const LocalTime start_after[] = {at(2004, 5, 5, 9, 31, 0)};
    EXPECT_EQ(fired_by(start_after, 1), "-");
    const LocalTime start_in[] = {at(2004, 5, 5, 9, 30, 40)};
    EXPECT_EQ(fired_by(start_in, 1), "0");
}

TEST(Tick, ClockRepaintKind) {
    EXPECT_EQ(clock_repaint_kind(false, 0, false), kRepaintWhole);
    EXPECT_EQ(clock_repaint_kind(false, 1, true), kRepaintWhole);
    EXPECT_EQ(clock_repaint_kind(true, 0, true), kRepaintClock);
    EXPECT_EQ(clock_repaint_kind(true, 1, false), kRepaintClock);
    EXPECT_EQ(clock_repaint_kind(true, 1, true), kRepaintClockAndText);
}

TEST(Rects, WithinAndUnion) {
    const CellRect digital = {200, 300, 330, 320};
    const CellRect none = {0, 0, 0, 0}, flat = {10, 10, 40, 10};
    const struct {
        const char* what;
        CellRect r, outer;
        bool within;
        CellRect united;
    } cases[] = {
        {"itself", digital, digital, true, digital},
        {"a part", {210, 305, 300, 318}, digital, true, digital},
        {"one pixel beyond", {199, 300, 330, 320}, digital, false, {199, 300, 330, 320}},
        {"beyond below", {200, 300, 330, 321}, digital, false, {200, 300, 330, 321}},
        {"apart", {0, 0, 50, 40}, digital, false, {0, 0, 330, 320}},
        {"nothing in nothing", none, none, true, none},
        {"nothing in a rectangle", none, digital, true, digital},
        {"a flat one adds nothing", flat, digital, true, digital},
        {"a rectangle in nothing", digital, none, false, digital},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rect_within(c.r, c.outer), c.within) << c.what;
        const CellRect u = rect_union(c.r, c.outer);
        EXPECT_TRUE(u.left == c.united.left && u.top == c.united.top && u.right == c.united.right &&
                    u.bottom == c.united.bottom)
            << c.what;
    }
    EXPECT_TRUE(rect_empty(flat));
    EXPECT_TRUE(rect_empty(CellRect{5, 5, 4, 9}));
    EXPECT_FALSE(rect_empty(digital));
}

}  // namespace
