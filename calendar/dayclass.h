// How each day of a shown month is painted: Sunday, Saturday, holiday
// (from holiday entries), substitute holiday, marked by entries, and the
// resulting text colour.
#pragma once

#include <stdint.h>

#include "schedule/entry.h"

typedef uint32_t ColorRef;  // COLORREF layout: 0x00BBGGRR

constexpr ColorRef make_rgb(int r, int g, int b) {
    return (ColorRef)((uint32_t)(r & 0xff) | ((uint32_t)(g & 0xff) << 8) | ((uint32_t)(b & 0xff) << 16));
}

constexpr ColorRef kColorBlack = make_rgb(0, 0, 0);
constexpr ColorRef kColorRed = make_rgb(255, 0, 0);
constexpr ColorRef kColorBlue = make_rgb(0, 0, 255);
constexpr ColorRef kColorMagenta = make_rgb(255, 0, 255);

struct DayClass {
    bool holiday;     // an applying entry has a nonzero holiday byte
    bool marked;      // an applying entry has holiday 0
    bool sunday;
    bool saturday;
    bool substitute;  // the previous day of this month is a Sunday holiday
    bool red;         // holiday, sunday or substitute
    ColorRef color;   // text colour of the day number
    bool draw_box;    // paint the marked-day box behind the number
};

// Classifies every day of year/month against the entries in list[0..count).
// cmode nonzero: Saturdays blue, marked days boxed; zero: red/blue
// components from red/marked, no box. Fills out[0..n-1] and returns n,
// the number of days; a month outside 1..12 returns 0 and writes nothing.
int classify_month(int year, int month, const ScheduleEntry* list, int count, int cmode, DayClass out[31]);

// The fill of a marked day's box: the button face colour where it stands out from the window
// colour (the classic grey on white); where the two are too close to tell apart, as on the
// light schemes of today, a shade of the face about as far from the window as that grey is
// from white: darker on a light window, lighter on a dark one.
ColorRef marked_box_colour(ColorRef face, ColorRef window);
