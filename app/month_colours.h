// The colours and shapes the month view and the clock are drawn in, from the colours of the
// user's scheme: no text in a fixed black or white. Ordinary text takes the window text
// colour; the red of Sundays and holidays and the blue of Saturdays are kept legible on the
// window colour (lightened on a dark window, darkened on a mid-grey one); the halo over a
// background image is the window colour. With a high-contrast scheme every colour is one of
// the scheme's own.
//
// Shapes tell the days apart without colour: holidays are underlined (national ones,
// substitutes and the user's holiday entries: underlining is how a date of note is marked
// and reads clearly under digits in any face), Sundays bold (the strongest mark, as red is
// the strongest colour), Saturdays italic where they are coloured (a lighter mark for the
// lighter colour), and marked days keep their box also where Saturdays are not coloured.
// The shapes are on with a high-contrast scheme and when the `DayShapes` setting asks.
#pragma once

#include "calendar/dayclass.h"

// The scheme's colours the month view uses (GetSysColor of each).
struct SchemeColours {
    ColorRef window;          // COLOR_WINDOW
    ColorRef window_text;     // COLOR_WINDOWTEXT
    ColorRef button_face;     // COLOR_BTNFACE
    ColorRef hot_light;       // COLOR_HOTLIGHT
    ColorRef highlight;       // COLOR_HIGHLIGHT
    ColorRef highlight_text;  // COLOR_HIGHLIGHTTEXT
};

struct MonthColours {
    ColorRef back;         // the window colour the calendar lies on
    ColorRef text;         // header, Monday to Friday, ordinary days, the clock's time
    ColorRef red;          // Sundays and holidays
    ColorRef blue;         // Saturdays where coloured; marked days without boxes
    ColorRef magenta;      // a red day that is marked, without boxes
    ColorRef box;          // behind a marked day
    bool box_text_own;     // a number on a box keeps its day's colour (else box_text)
    ColorRef box_text;
    ColorRef halo;         // around texts over a background image
    ColorRef tick;         // the past days' ticks
    ColorRef clock_ticks, hour_hand, minute_hand;
};

MonthColours month_colours(const SchemeColours& scheme, bool high_contrast);

// fg as it is when it can be told from back; else moved toward white (on a dark back) or
// black (on a light one) until it can.
ColorRef legible_on(ColorRef fg, ColorRef back);
// a mixed with b: share of b in 255ths (0 is a, 255 is b), each channel rounded.
ColorRef blend(ColorRef a, ColorRef b, int share);

// A day's text colour on the window colour (cmode: Saturdays coloured and marked days boxed
// when nonzero); boxed: the day is drawn on its marked box.
ColorRef day_text_colour(const DayClass& c, int cmode, const MonthColours& m, bool boxed);
// The colour of a weekday's name in the heading (0 Sunday .. 6 Saturday): Sunday red,
// Saturday blue only when cmode is exactly 1.
ColorRef weekday_colour(int weekday, int cmode, const MonthColours& m);

// Shapes, as bits of a font's look.
constexpr unsigned kShapeNone = 0;
constexpr unsigned kShapeBold = 1;
constexpr unsigned kShapeItalic = 2;
constexpr unsigned kShapeUnderline = 4;
constexpr unsigned kShapeKinds = 8;  // every combination of the three

// Whether the days are told apart by shape: the setting asks for it, or the scheme is a
// high-contrast one.
bool shapes_shown(int day_shapes_setting, bool high_contrast);
// The shape of a day's number (shown: shapes_shown).
unsigned day_shape(const DayClass& c, int cmode, bool shown);
// The shape of a weekday's name in the heading: Sunday bold, Saturday italic where the
// heading colours it (cmode exactly 1).
unsigned weekday_shape(int weekday, int cmode, bool shown);
// Whether a day is drawn on a marked box.
bool day_boxed(const DayClass& c, bool shown);

// A font's weight and italic flag with a shape applied: bold and italic each turn the base
// font's own the other way (a font that is bold already shows Sundays in a regular weight),
// so a shape always differs from the base.
int shaped_weight(int base_weight, unsigned shape);
int shaped_italic(int base_italic, unsigned shape);
