// How each day of a shown month is painted: Sunday, Saturday, holiday
// (from holiday entries), national holiday, substitute holiday, marked by
// entries, and the resulting text colour.
#pragma once

#include <stdint.h>

struct MonthHolidays;

typedef uint32_t ColorRef;  // COLORREF layout: 0x00BBGGRR

constexpr ColorRef make_rgb(int r, int g, int b) {
    return (ColorRef)((uint32_t)(r & 0xff) | ((uint32_t)(g & 0xff) << 8) | ((uint32_t)(b & 0xff) << 16));
}

// One of a colour's 8-bit channels: red at shift 0, green at 8, blue at 16.
inline int colour_channel(ColorRef c, int shift) { return static_cast<int>((c >> shift) & 0xff); }
// Perceived lightness 0..255 (ITU-R BT.601 weights).
inline int colour_lightness(ColorRef c) {
    const int r = colour_channel(c, 0), g = colour_channel(c, 8), b = colour_channel(c, 16);
    return (299 * r + 587 * g + 114 * b + 500) / 1000;
}

constexpr ColorRef kColorBlack = make_rgb(0, 0, 0);
constexpr ColorRef kColorRed = make_rgb(255, 0, 0);
constexpr ColorRef kColorBlue = make_rgb(0, 0, 255);
constexpr ColorRef kColorMagenta = make_rgb(255, 0, 255);

// What the schedule entries put on the days of one month: bit d stands for day d (1..31).
struct DayMarks {
    uint32_t holiday;  // an entry with a nonzero holiday byte falls on the day
    uint32_t marked;   // an entry with holiday byte 0 falls on the day
};

struct DayClass {
    bool holiday;     // an applying entry has a nonzero holiday byte
    bool national;    // a national holiday (substitute and in-between days included)
    bool marked;      // an applying entry has holiday 0
    bool sunday;
    bool saturday;
    bool substitute;  // the previous day of this month is a Sunday holiday
    bool red;         // holiday, national, sunday or substitute
    ColorRef color;   // text colour of the day number
    bool draw_box;    // paint the marked-day box behind the number
};

// Classifies every day of year/month from the entries' marks and the national holidays of
// that month (nullptr: none are shown). A national holiday is red like a holiday entry; only
// a Sunday holiday entry makes the Monday after it red. cmode nonzero: Saturdays blue,
// marked days boxed; zero: red/blue components from red/marked, no box. Fills out[0..n-1]
// and returns n, the number of days; a month outside 1..12 returns 0 and writes nothing.
int classify_month(int year, int month, const DayMarks& marks, const MonthHolidays* national,
                   int cmode, DayClass out[31]);

// The fill of a marked day's box: the button face colour where it stands out from the window
// colour (the classic grey on white); where the two are too close to tell apart, as on the
// light schemes of today, a shade of the face about as far from the window as that grey is
// from white: darker on a light window, lighter on a dark one.
ColorRef marked_box_colour(ColorRef face, ColorRef window);
