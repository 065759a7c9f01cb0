// Drawing of the digital or analog clock below the month grid.
#pragma once

#include <windows.h>

#include "app/month_layout.h"

struct MonthColours;
struct Settings;

// Draws the clock for the settings `analog`, `second`, `method` and `ampm` at the frame's
// clock anchor and stores the areas a clock-only repaint invalidates: the text (digital) or
// the face square (analog) in clock_rect, the analog time text in text_rect (the digital
// clock puts its text rectangle in both).
// With halo the time text gets the halo through the halo mask of a client_w x client_h target.
// The text, ticks and hands take the colours given (nullptr: those of the current scheme).
void paint_clock(HDC dc, const Settings& settings, const MonthFrame& f, int area_right, int hour,
                 int minute, int second, bool halo, int client_w, int client_h, RECT* clock_rect,
                 RECT* text_rect, const MonthColours* colours = nullptr);
