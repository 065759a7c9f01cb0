// The main window's paint: everything is drawn into the off-screen surface and copied to
// the window in one blit: window colour, background, the month view and the clock. A full
// paint also keeps the layout (title, month buttons, header band, day cells) that the mouse
// code tests against; a clock-only paint keeps the month's layout as it was.
#include "app/background_choice.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
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

MonthView view_for_paint(MainState& s, const CellRect& area, bool halo, const RECT& update) {
    MonthView v = {};
    v.settings = s.settings;
    v.schedule = s.schedule;
    get_today(&s.today_year, &s.today_month, &s.today_day);
    get_now_time(&s.now_hour, &s.now_minute, &s.now_second);
    v.shown_year = s.view.shown_year;
    v.shown_month = s.view.shown_month;
    v.today_year = s.today_year;
    v.today_month = s.today_month;
    v.today_day = s.today_day;
    v.now_hour = s.now_hour;
    v.now_minute = s.now_minute;
    v.now_second = s.now_second;
    v.pressed_arrow = s.pressed_arrow;
    v.clock_only = paint_clock_only(s.clock_only_repaint, cell_of(update), cell_of(s.clock_rect),
                                    cell_of(s.clock_text_rect));
    v.clock_shown = s.timer_running && s.settings->clock != 0;
    v.area = area;
    v.halo = halo;
    return v;
}

}  // namespace

void draw_arrow_button(const MainState& s, HDC dc, int which, int pressed) {
    const CellRect& r = which == 0 ? s.left_arrow_rect : s.right_arrow_rect;
    if (r.right <= r.left || r.bottom <= r.top) return;  // not laid out yet
    const int p = pressed ? 1 : 0;
    if (dc) {
        draw_arrow_in_rect(dc, r, which, p);
        return;
    }
    WindowDC wdc(s.hwnd);
    if (wdc.get()) draw_arrow_in_rect(wdc.get(), r, which, p);
}

void main_paint(MainState& s, HWND hwnd) {
    PaintDC paint(hwnd);
    surface_fill(GetSysColor(COLOR_WINDOW));
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = surface_dc();
    if (dc) {
        bool halo = false;
        const CellRect area =
            cell_of(draw_background(background_choice_of(*s.settings), client, &halo));
        const MonthView v = view_for_paint(s, area, halo, paint.update_rect());
        MonthPaintResult r = {};
        paint_month(dc, client.right, client.bottom, v, &r);
        if (!v.clock_only) {
            SetWindowTextA(hwnd, r.title);
            store_layout(s, r);
        }
        if (r.clock_drawn) {
            s.clock_rect = r.clock_rect;
            s.clock_text_rect = r.clock_text_rect;
        }
    }
    surface_blit_to(paint.get(), 0, 0, client.right, client.bottom, 0, 0, SRCCOPY);
    s.clock_only_repaint = false;
}
