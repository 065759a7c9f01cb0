// Geometry and text of the clock below the month grid, free of any window system: the
// time text of every format, the 60 minute-mark directions, and the analog face (ticks,
// hands, radius limit) with the rectangles a clock-only repaint invalidates.
#pragma once

#include <cstddef>

#include "app/main_layout.h"

// Direction of minute mark i (0 = 12 o'clock, growing clockwise on the screen): cosine and
// sine of i * 0.10472 + 4.7124 radians.
extern double clock_cos[60];
extern double clock_sin[60];
// Fills both tables. clock_point fills them at its first use, so no caller has to.
void clock_tables_fill();

// The time text. method nonzero: 12-hour form with an "AM"/"PM" mark, before the time or,
// with ampm nonzero, after it; with_seconds adds ":%02d". Always starts with three spaces.
void format_clock_text(char* out, size_t size, int hour, int minute, int second, int method,
                       int ampm, int with_seconds);

// Digital clock: the text's rectangle, right-aligned at the anchor.
CellRect digital_clock_rect(int anchor_x, int anchor_y, int text_w, int text_h);

struct ClockPoint {
    int x, y;
};

struct AnalogClock {
    bool face;                 // false when the width leaves no room (radius <= 0)
    int r, cx, cy;
    CellRect face_rect;        // the square around the face: the clock-only repaint area
    ClockPoint tick_from[12], tick_to[12];
    ClockPoint hour_hand[4], minute_hand[4];
    int text_x, text_y;        // right edge and top of the time text
    CellRect text_rect;
};

// area_right: right edge of the calendar area; text_w: width of the time text (without
// seconds) in the clock font; hour 0..23, minute 0..59 (other values are wrapped).
void analog_clock(int area_right, int col_unit, int row_height, int anchor_x, int anchor_y,
                  int text_w, int hour, int minute, AnalogClock* out);

// The point at mark i (wrapped to 0..59) and fraction f of radius r around (cx, cy).
ClockPoint clock_point(int cx, int cy, int r, int i, double f);
