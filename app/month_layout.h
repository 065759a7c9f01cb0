// Geometry and texts of the month view, free of any window system: from the calendar area,
// the measured digit size and the display settings to the places of the header, the
// weekday row, the day numbers and the clock anchor. The painter only draws what this
// computes. Builds on the grid arithmetic of main_layout.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/main_layout.h"
#include "app/text_runs.h"

// A shown month outside 1..12 (a hand-edited or stale value) is pulled into range before
// any table is indexed with it.
int clamp_shown_month(int month);

// Everything that is known before the day font is measured.
struct MonthFrame {
    MonthMetrics m;
    int clock_anchor_x, clock_anchor_y;  // right edge and top of the clock text
    int weekday_font_height;              // LOGFONT height (negative: character height)
    int weekday_y;                        // top of the weekday names
    int weekday_x[7];                     // centre of each weekday column, Sunday first
    int day_font_height;                  // LOGFONT height of day numbers, header and clock
    int header_x, header_y;               // centre top of the header text
    int dpi;                              // of the window: the month buttons' bounds
};

// clock_mode: 0 no clock, 1 digital, 2 analog. weeklang nonzero: Japanese weekday names,
// which are drawn larger and without the row offset of the English ones.
MonthFrame month_frame(const CellRect& area, int clock_mode, int weeklang, int dpi = kBaseDpi);

// The header text: "%d年 %d月" (monthlang nonzero) or "<Month> %d". The month is clamped.
void format_month_header(char* out, size_t size, int monthlang, int year, int month);

// The weekday name i (0 = Sunday), Japanese or English; "" outside 0..6.
const char* weekday_label(int weeklang, int i);

// The days of one shown month laid out with the measured "88" extent.
struct MonthGrid {
    int year, month;            // month clamped to 1..12
    int days;                   // length of the month
    int first_weekday;          // weekday of the 1st
    MonthCells cells;           // arrows, header band, click cells (-1 for missing days)
    CellRect drawn[31];         // cell as drawn: one pixel taller than the click cell
    int text_x[31], text_y[31]; // centre top of each day number
};

void month_grid(const MonthFrame& f, int area_right, int digit_w, int digit_h, int year,
                int month, MonthGrid* out);

// The day numbers as runs of text_runs.h, one per colour: each "%2d" centred on its x.
// widths: the day font's advance of ' ' (index 0) and of '0' to '9' (1 to 10); colours: the
// text colour of each day of the grid. Returns how many runs were written (at most max).
int day_text_runs(const MonthGrid& g, const uint32_t colours[31], const int widths[11],
                  TextRun* out, int max);
// The same with a shape for each day (a run's style, one run per colour and shape), each
// number measured in its shape's font: widths[shape] as above.
int day_text_runs_shaped(const MonthGrid& g, const uint32_t colours[31], const unsigned shapes[31],
                         const int (*widths)[11], TextRun* out, int max);

// Compared as year * 10000 + month * 100 + day: is the date before today?
bool date_before(int y, int m, int d, int ty, int tm, int td);
