// The main window's paint. The composed picture (background, month, clock) stays in the
// off-screen surface between paints; a paint composes only what was marked since the last one
// (app/recompose.h) and copies its update rectangle to the window, so a window that was only
// uncovered or moved costs one blit. Composing the month also keeps the layout (title, month
// buttons, header band, day cells) that the mouse code tests against.
#include "app/background_choice.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/month_colours_win.h"
#include "app/month_paint_win.h"
#include "calendar/date.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "image/background_win.h"
#include "image/surface_win.h"

namespace {

void store_layout(MainState& s, const MonthPaintResult& r) {
    s.left_arrow_rect = r.left_arrow;
    s.right_arrow_rect = r.right_arrow;
    s.header_height = r.header_height;
    for (int i = 0; i < 31; ++i) s.day_cells[i] = r.day_cells[i];
}

CellRect cell_of(const RECT& r) { return CellRect{r.left, r.top, r.right, r.bottom}; }

bool clock_shown(const MainState& s) { return s.timer_running && s.settings->clock != 0; }

MonthInputs month_inputs(const MainState& s) {
    return MonthInputs{s.view.shown_year, s.view.shown_month, s.today_year,
                       s.today_month,     s.today_day,        s.pressed_arrow,
                       focus_day(s),      s.high_contrast ? 1 : 0};
}

// What changed since the picture was composed without coming as an event (a setting written
// by a dialog, the date read anew, the month on show, which the day cursor follows) is marked
// here, in the same place as every event.
void mark_unannounced_changes(MainState& s) {
    get_today(&s.today_year, &s.today_month, &s.today_day);
    cursor_follows_month(s);
    s.recompose.mark_settings(s.composed_settings, *s.settings);
    s.recompose.mark_inputs(s.composed_inputs, month_inputs(s));
    s.composed_settings = *s.settings;
    s.composed_inputs = month_inputs(s);
}

MonthView view_of(MainState& s) {
    MonthView v = {};
    v.settings = s.settings;
    v.schedule = s.schedule;
    v.feeds = &s.feed_entries;
    v.shown_year = s.view.shown_year;
    v.shown_month = s.view.shown_month;
    v.today_year = s.today_year;
    v.today_month = s.today_month;
    v.today_day = s.today_day;
    v.now_hour = s.now_hour;
    v.now_minute = s.now_minute;
    v.now_second = s.now_second;
    v.pressed_arrow = s.pressed_arrow;
    v.clock_shown = clock_shown(s);
    v.area = s.calendar_area;
    v.halo = s.halo;
    v.plain_back = s.plain_back;
    v.pictures = &s.text_pictures;
    v.shapes = shapes_shown(s.settings->DayShapes, s.high_contrast);
    v.dpi = s.dpi;
    v.focus_day = focus_day(s);
    return v;
}

// Window colour and background image; keeps the calendar area and the halo for the layers
// above.
void lay_background(MainState& s, const RECT& client) {
    const BackgroundChoice choice = background_choice_of(*s.settings);
    // A kept background covers the whole surface: the window colour would be drawn over.
    const bool filled = !background_covers_surface(choice);
    if (filled) surface_fill(GetSysColor(COLOR_WINDOW));
    bool halo = false;
    s.calendar_area = cell_of(draw_background(choice, client, &halo));
    s.halo = halo;
    s.plain_back = filled && !halo;
}

void store_clock(MainState& s, const MonthPaintResult& r) {
    if (!r.clock_drawn) return;
    s.clock_rect = r.clock_rect;
    s.clock_text_rect = r.clock_text_rect;
}

// The month, its picture kept when asked, the focus rectangle and the clock over it when
// asked, in one pass.
void draw_month(MainState& s, HWND hwnd, HDC dc, const RECT& client, const ComposeSteps& steps,
                const MonthColours& colours) {
    if (steps.draw_clock) get_now_time(&s.now_hour, &s.now_minute, &s.now_second);
    MonthView v = view_of(s);
    v.colours = &colours;
    v.month_only = !steps.draw_clock;
    v.after_month = steps.keep_month_picture ? surface_keep : nullptr;
    if (!steps.draw_focus) v.focus_day = 0;
    MonthPaintResult r = {};
    paint_month(dc, client.right, client.bottom, v, &r);
    SetWindowTextA(hwnd, r.title);
    store_layout(s, r);
    store_clock(s, r);
    s.focus_drawn = r.focus_rect;
}

void draw_clock(MainState& s, HDC dc, const RECT& client, const MonthColours& colours) {
    get_now_time(&s.now_hour, &s.now_minute, &s.now_second);
    MonthView v = view_of(s);
    v.colours = &colours;
    v.clock_only = true;
    MonthPaintResult r = {};
    paint_month(dc, client.right, client.bottom, v, &r);
    store_clock(s, r);
}

RECT fringe_of(const CellRect& r) {
    return RECT{r.left - kTextFringe, r.top - kTextFringe, r.right + kTextFringe, r.bottom + kTextFringe};
}

bool meets(const CellRect& a, const RECT& b) {
    RECT ra = {a.left, a.top, a.right, a.bottom}, out;
    return IntersectRect(&out, &ra, &b) != 0;
}

// The focus layer and the clock over the month's kept picture: the picture back under the
// focus rectangle last drawn (and under a clock rectangle that reaches into it: the frame is
// drawn by inverting, so it is drawn again whole), then the focus and the clock drawn anew.
void draw_over_kept_month(MainState& s, HDC dc, const RECT& client, const ComposeSteps& steps,
                          const CellRect clocks[2], const MonthColours& colours) {
    bool focus_touched = false;
    if (steps.restore_month_picture && !rect_empty(s.focus_drawn))
        for (int i = 0; i < 2; ++i) focus_touched |= meets(s.focus_drawn, fringe_of(clocks[i]));
    if ((steps.restore_under_focus || focus_touched) && !rect_empty(s.focus_drawn)) {
        const CellRect& f = s.focus_drawn;
        surface_restore_kept(RECT{f.left, f.top, f.right, f.bottom});
        s.focus_drawn = CellRect{0, 0, 0, 0};
    }
    if (steps.restore_month_picture)
        for (int i = 0; i < 2; ++i) surface_restore_kept(fringe_of(clocks[i]));
    const int day = focus_day(s);
    if ((steps.draw_focus || focus_touched) && day >= 1 && day <= 31) {
        s.focus_drawn = focus_rect_around(s.day_cells[day - 1], s.calendar_area);
        draw_day_focus(dc, s.focus_drawn);
    }
    if (steps.draw_clock) draw_clock(s, dc, client, colours);
}

// Composes what was marked; returns the part of the client it changed.
CellRect compose(MainState& s, HWND hwnd, const RECT& client) {
    const ComposeSteps steps = compose_steps(s.recompose.take(), clock_shown(s), focus_day(s) != 0);
    HDC dc = surface_dc();
    if (!dc || !surface_width() || !surface_height()) return CellRect{0, 0, 0, 0};
    const MonthColours colours = scheme_month_colours(s.high_contrast);
    const CellRect before[2] = {cell_of(s.clock_rect), cell_of(s.clock_text_rect)};
    const CellRect focus_before = s.focus_drawn;
    if (steps.drop_background_cache) background_drop_cache();
    if (steps.lay_background) lay_background(s, client);
    if (steps.draw_month)
        draw_month(s, hwnd, dc, client, steps, colours);
    else
        draw_over_kept_month(s, dc, client, steps, before, colours);
    const CellRect after[2] = {cell_of(s.clock_rect), cell_of(s.clock_text_rect)};
    return composed_area(steps, client.right, client.bottom, before, after, focus_before,
                         s.focus_drawn);
}

void copy_to(HDC target, const CellRect& r) {
    surface_blit_to(target, r.left, r.top, r.right - r.left, r.bottom - r.top, r.left, r.top,
                    SRCCOPY);
}

}  // namespace

int focus_day(const MainState& s) {
    if (s.focus_cue_hidden || !s.has_focus) return 0;
    if (s.cursor.year != s.view.shown_year || s.cursor.month != s.view.shown_month) return 0;
    return s.cursor.day;
}

void cursor_follows_month(MainState& s) {
    const DayCursor today = {s.today_year, s.today_month, s.today_day};
    s.cursor = cursor_in_month(s.cursor, s.view.shown_year, s.view.shown_month, today);
}

bool match_surface(MainState& s, int w, int h, ViewEvent made) {
    if (surface_width() == w && surface_height() == h && surface_dc()) return false;
    surface_create(w, h);
    background_drop_cache();
    s.recompose.mark(made);
    return true;
}

void repaint(MainState& s, HWND hwnd, ViewEvent e) {
    if (e == ViewEvent::kEntriesChanged) schedule_changed(s.schedule);
    s.recompose.mark(e);
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

void main_paint(MainState& s, HWND hwnd) {
    PaintDC paint(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    match_surface(s, client.right, client.bottom, ViewEvent::kSurfaceLost);
    mark_unannounced_changes(s);
    const CellRect changed = compose(s, hwnd, client);
    const CellRect update = cell_of(paint.update_rect());
    copy_to(paint.get(), update);
    // What the composition changed outside the update rectangle (a clock grown wider than the
    // one the tick invalidated) reaches the window as well.
    if (!rect_within(changed, update)) {
        WindowDC wdc(hwnd);
        if (wdc.get()) copy_to(wdc.get(), changed);
    }
}
