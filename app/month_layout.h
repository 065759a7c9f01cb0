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
    int label_font_height;                // of the line under the numbers; 0 without one
    int header_x, header_y;               // centre top of the header text
    int dpi;                              // of the window: the month buttons' bounds
};

// clock_mode: 0 no clock, 1 digital, 2 analog. weeklang nonzero: Japanese weekday names,
// which are drawn larger and without the row offset of the English ones. labels: a line
// under the day numbers is asked for (below). dpi: the window's, for the month buttons' bounds.
MonthFrame month_frame(const CellRect& area, int clock_mode, int weeklang, bool labels = false,
                       int dpi = kBaseDpi);
// A DPI handed over where the labels flag goes would read as "labels on": it does not compile.
MonthFrame month_frame(const CellRect& area, int clock_mode, int weeklang, int dpi) = delete;

// The header text: "%d年 %d月" (monthlang nonzero) or "<Month> %d". The month is clamped.
// With wareki nonzero the Japanese form names the era year the month begins in ("令和8年 12月";
// January 1989 is "昭和64年 1月", as its first seven days are).
void format_month_header(char* out, size_t size, int monthlang, int year, int month, int wareki);

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

// The line under the day numbers: each day's 六曜, or the solar term beginning on it, in a
// font half the numbers' height, in the row below the number. With the line asked for, the
// numbers (and the header and clock, which share their font) give up the part of the row it
// takes; where the rows leave too little room for a readable line it is left out, and the
// numbers keep their whole size. The rule sizes both fonts for lines up to a tenth taller
// than the fonts' heights (the faces the program offers by default); a face with more
// leading may measure too tall for its row, and then the line is left out (day_labels_fit).
constexpr int kMinDayLabelEm = 10;  // two kanji any smaller are hard to read
// The rows a line of text in a font of height h is expected to take.
int expected_line(int h);
// Whether the measured fonts fit: the number's line (digit_h) and the label's line (label_h)
// end a pixel above the next row, and the widest label (label_w) keeps a pixel inside its
// day's column on either side. False when the frame has no label line.
bool day_labels_fit(const MonthFrame& f, int digit_h, int label_h, int label_w);
// Top of the label line of day day_index (0-based) of the grid: just under its number. The
// labels are centred on the numbers' x.
inline int day_label_top(const MonthGrid& g, int day_index, int digit_h) {
    return g.text_y[day_index] + digit_h;
}

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
