// Arithmetic of the main window, free of any window system: where the window goes on the
// screen, what the mouse hits, the month grid's cells, and what each
// one-second tick has to do. The window procedure applies these results.
#pragma once

#include "schedule/entry_dates.h"

#include <cstddef>
#include <cstdint>

struct LocalTime;
struct ScheduleEntry;

// A rectangle in client pixels (left, top, right, bottom).
struct CellRect {
    int left, top, right, bottom;
};

// ---- window placement ----

struct WindowPos {
    int x, y, width, height;
};

// Width and height come from the saved corners; a right or bottom edge at or beyond the
// screen moves the window back onto it, and never to a negative position. x1 and y1 are
// updated in place (the settings record keeps the adjusted corner), x2 and y2 are not.
WindowPos place_window(int* x1, int* y1, int x2, int y2, int screen_w, int screen_h);

// ---- hit testing ----

// A rectangle with no pixel in it (right <= left or bottom <= top).
bool rect_empty(const CellRect& r);
// Whether r lies within outer; an empty r always does.
bool rect_within(const CellRect& r, const CellRect& outer);
// The smallest rectangle holding both; an empty one adds nothing (two give the empty 0, 0, 0, 0).
CellRect rect_union(const CellRect& a, const CellRect& b);

// Arrow buttons test like PtInRect: right and bottom edges are outside.
bool point_in_rect(const CellRect& r, int x, int y);
// 1 on the left (previous) arrow, 2 on the right (next) one, 0 elsewhere.
int arrow_at(const CellRect& left_arrow, const CellRect& right_arrow, int x, int y);
// The header band where dragging moves the window: 1 < y < header_height, off the arrows.
bool in_move_band(const CellRect& left_arrow, const CellRect& right_arrow, int header_height,
                  int x, int y);
// Day cells hold all four edges; unused cells are -1 throughout. Returns the first day
// 1..31 whose cell holds the point, or -1.
int day_cell_at(const CellRect cells[31], int x, int y);

// ---- the month grid ----

// Values every paint derives from the calendar area.
struct MonthMetrics {
    int col_unit;        // one day column is 3 units wide
    int row_height;
    int font_unit;       // day font height: no more than a row (of the grid as the clock
                         // leaves it) nor than two column units
    int center_x;
    int first_row_top;   // top of the first week row
};

// clock_mode: 0 no clock, 1 digital, 2 analog (they take one and two rows off the grid).
MonthMetrics month_metrics(const CellRect& area, int clock_mode);

// What the month view lays out for the mouse.
struct MonthCells {
    CellRect left_arrow, right_arrow;
    int header_height;
    CellRect day_cells[31];  // -1 throughout for days the month lacks
};

// The DPI of a screen at 100 %: the sizes the program gives in pixels are for it.
constexpr int kBaseDpi = 96;
// pixels at kBaseDpi as many at dpi, rounded (dpi 0 or less counts as kBaseDpi).
int scaled_to_dpi(int pixels, int dpi);

// digit_w, digit_h: extent of "88" in the day font; first_weekday: weekday of the 1st;
// days: length of the month (clamped to 0..31). Cells keep one pixel less at the bottom
// than drawn, as clicks are tested. The month buttons follow the digits' height between
// 8 and 16 pixels at 96 DPI, and their margin is 4 pixels there: both grow with dpi.
void month_cells(const MonthMetrics& m, int area_right, int digit_w, int digit_h,
                 int first_weekday, int days, MonthCells* out, int dpi = kBaseDpi);

// The focus rectangle of the day cursor around a day's click cell: three pixels beyond the
// cell as drawn (today's box takes the pixel beside it), within the calendar area.
CellRect focus_rect_around(const CellRect& click_cell, const CellRect& area);

// ---- texts ----

// The tray tip of a date: "%d年%d月%d日(%s)" with the Japanese weekday name; with wareki
// nonzero the date's era year in place of "%d年" ("平成元年1月8日(日)").
void format_date_tip(char* out, size_t size, int year, int month, int day, int wareki);
// The tray tip with the holiday's name on a national holiday: "%d年%d月%d日(%s) %s"; on any
// other day, and when national (the switch of the shown holidays) is 0, format_date_tip.
void format_tray_tip(char* out, size_t size, int year, int month, int day, int national,
                     int wareki);
// The window title for the shown month: the program's name, then Japanese "%d年%d月" (with
// wareki nonzero the era year the month begins in: "令和元年5月") or English "<Month> %d".
void format_window_title(char* out, size_t size, int monthlang, int year, int month, int wareki);
// The run-time date text MM/DD/YY of a clock reading.
void format_date_text(char* out, size_t size, const LocalTime& now);

// ---- the one-second tick ----

// The year as the date reading gives it: its last two digits, 80..99 -> 19xx, 00..79 ->
// 20xx, so always within 1980..2079.
int calendar_year_of(int year);

// What the window remembers between ticks; a new one is as before the first tick.
struct TickMemory {
    int last_day = -1;
    int last_minute = 60;
    int last_second = 60;
    // Alarm instant checked up to, 0 = none yet. Before the first tick it holds the mark
    // stored by the previous run, if any.
    uint64_t last_checked = 0;
    bool ticked = false;         // a tick has run
};

struct TickPlan {
    int year, month, day;        // today, from the one clock reading
    bool new_day;                // the tray tip changes
    bool repaint_month;          // a new day after the first tick
    bool check_alarms;           // look for alarms due in (alarm_after, alarm_upto]
    uint64_t alarm_after, alarm_upto;
    uint64_t missed_upto;        // alarms due at or before this came due before the start
    // The first tick found the clock behind the previous run's mark (by at most 24 hours):
    // the mark, as the alarms due after alarm_upto less a minute up to it will not ring.
    // 0 otherwise.
    uint64_t held_back_upto;
    bool clock_due;              // the clock area needs repainting
    bool minute_changed;
};

constexpr uint64_t kOneMinute = 600000000ull;  // in 100-ns units

// Decides a tick from one clock reading. Alarms: every minute after the last one checked
// up to the current one, so a late tick or a sleep does not skip an alarm (the lookup itself
// reaches back at most 24 hours); with nothing checked yet, the current minute alone. The
// first tick of a run starts from the previous run's mark: what came due in between is
// missed (shown as such). A minute is never checked twice: with the clock set back, the
// check waits until the clock passes the last minute checked, unless that lies more than
// 24 hours ahead (a clock or mark far off), when it starts over with the current minute.
// When the first tick of a run finds the clock behind the previous run's mark, the plan
// says so (held_back_upto), for the user to be told once.
TickPlan plan_tick(const TickMemory& mem, const LocalTime& now, int clock_on, int seconds_on);
// Stores the reading and the checked instant once the tick is done.
void finish_tick(TickMemory* mem, const TickPlan& plan, const LocalTime& now);

// An entry just stored in the schedule dialog rings at once when an occurrence's alarm is
// due in the current minute (now_minute, its instant) and that minute has already been
// checked; *occurrence (when given) tells which.
bool rings_when_stored(const ScheduleEntry& e, uint64_t now_minute, uint64_t last_checked,
                       OccurrenceAlarm* occurrence = nullptr);

// The clock repaint a due tick makes.
enum ClockRepaint {
    kRepaintClock,          // only the clock rectangle
    kRepaintClockAndText,   // the clock and its text rectangle (analog, new minute)
    kRepaintWhole,          // the date text changed: the whole client area
};
ClockRepaint clock_repaint_kind(bool same_date_text, int analog, bool minute_changed);

