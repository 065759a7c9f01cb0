// Drawing of the month view and the clock into a device context (normally the off-screen
// surface's). The geometry comes from month_layout.h and clock_layout.h; this only draws.
//
// The main window composes in layers (app/recompose.h): the month over the background, its
// picture kept (after_month), the clock over it; a new time puts the kept month back under the
// clock and draws the clock alone (clock_only).
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/main_layout.h"

class TextPictures;
struct MonthColours;
struct ScheduleList;
struct FeedEntries;
struct Settings;

struct MonthView {
    const Settings* settings;               // the display options and the font
    const ScheduleList* schedule;           // the entries that mark and colour days
    int shown_year, shown_month;            // month clamped to 1..12 before use
    int today_year, today_month, today_day; // as get_today gave them for this paint
    int now_hour, now_minute, now_second;   // as get_now_time gave them for this paint
    int pressed_arrow;                      // 0 none, 1 left, 2 right: drawn pressed
    bool clock_only;                        // draw only the clock (the month is skipped)
    bool month_only;                        // draw only the month (rows laid out as ever)
    void (*after_month)();                  // called between the month and the clock
    bool clock_shown;                       // the timer runs and the setting `clock` is on
    CellRect area;                          // calendar area; empty: the whole client
    bool halo;                              // a background image is on show
    bool plain_back;                        // the area lies on COLOR_WINDOW alone
    TextPictures* pictures;                 // texts copied from pictures over a plain back
    const MonthColours* colours;            // nullptr: the current scheme's
    bool shapes;                            // holidays, Sundays, Saturdays by shape as well
    int dpi;                                // the window's; 0: 96
    int focus_day;                          // the day cursor's focus rectangle; 0 none
    const FeedEntries* feeds = nullptr;     // the subscribed events that mark days too
};

struct MonthPaintResult {
    // Written by a full paint only (left untouched by a clock-only one).
    CellRect left_arrow, right_arrow;
    int header_height;
    CellRect day_cells[31];  // click cells; -1 throughout for days the month lacks
    char title[64];          // the window title for the shown month
    bool texts_copied;       // the texts came from their pictures (MonthView::pictures)
    // Written whenever the clock is drawn (clock_drawn true).
    bool clock_drawn;
    RECT clock_rect, clock_text_rect;
    // Written by a full paint: the focus rectangle drawn (empty when none was).
    CellRect focus_rect;
};

// Draws the month view (unless v.clock_only), the focus rectangle around v.focus_day and the
// clock (when v.clock_shown and not v.month_only) over what the dc already holds; it does not
// fill the window colour. Nothing is drawn without the
// view's settings and schedule list. The two view fonts are kept for the next paint
// (view_font) and the day font is left selected in the dc (use_view_font); every other GDI
// object it makes is deleted before it returns, and the dc gets its other objects back.
// With v.pictures over a plain back the texts are copied from their pictures wherever that
// gives the same pixels as writing them.
void paint_month(HDC dc, int client_w, int client_h, const MonthView& v, MonthPaintResult* out);

// A month button in rectangle r: which 0 points left, 1 right; pressed draws it sunken with
// the arrow one pixel to the right.
void draw_arrow_in_rect(HDC dc, const CellRect& r, int which, int pressed);
// The day numbers of the grid in the dc's font, each "%2d" centred on its x, one call per
// colour (colours: each day's text colour).
struct MonthGrid;
void draw_day_numbers(HDC dc, const MonthGrid& g, const uint32_t colours[31], bool halo);
// The past-day tick in a cell, in colour (the window text's of the classic scheme: black).
void draw_check_mark(HDC dc, int left, int top, int right, int bottom, COLORREF colour = RGB(0, 0, 0));
// The day cursor's focus rectangle (the system's dotted focus frame) in r.
void draw_day_focus(HDC dc, const CellRect& r);
