// The main window's paint: everything is drawn into the off-screen surface and copied to
// the window in one blit. This paint fills the window colour, lays out the month view
// (title, month buttons, header band and day cells, which the mouse code tests against)
// and draws the two month buttons.
#include "app/gdi.h"
#include "app/main_layout.h"
#include "app/main_state.h"
#include "app/main_window_internal.h"
#include "app/month_paint.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "image/surface_win.h"

namespace {

int clock_mode() {
    if (!main_state.timer_running || settings.clock == 0) return 0;
    return settings.analog != 0 ? 2 : 1;
}

void store_cells(const MonthCells& cells) {
    main_state.left_arrow_rect = cells.left_arrow;
    main_state.right_arrow_rect = cells.right_arrow;
    main_state.header_height = cells.header_height;
    for (int i = 0; i < 31; ++i) main_state.day_cells[i] = cells.day_cells[i];
}

void lay_out_month(HWND hwnd, HDC dc, const RECT& client) {
    get_today(&main_state.today_year, &main_state.today_month, &main_state.today_day);
    char title[128];
    format_window_title(title, sizeof title, settings.monthlang, main_state.shown_year,
                        main_state.shown_month);
    SetWindowTextA(hwnd, title);

    const CellRect area = {client.left, client.top, client.right, client.bottom};
    const MonthMetrics m = month_metrics(area, clock_mode());
    SIZE digits = {0, 0};
    {
        OwnedFont font(create_view_font(-m.font_unit));
        GdiSelect sel(dc, font.get());
        GetTextExtentPoint32A(dc, "88", 2, &digits);
    }
    MonthCells cells;
    month_cells(m, area.right, digits.cx, digits.cy,
                weekday_of(main_state.shown_year, main_state.shown_month, 1),
                days_in_month(main_state.shown_month, main_state.shown_year), &cells);
    store_cells(cells);
    draw_arrow_button(dc, 0, main_state.pressed_arrow == 1);
    draw_arrow_button(dc, 1, main_state.pressed_arrow == 2);
}

}  // namespace

void draw_arrow_button(HDC dc, int which, int pressed) {
    const CellRect& r = which == 0 ? main_state.left_arrow_rect : main_state.right_arrow_rect;
    if (r.right <= r.left || r.bottom <= r.top) return;  // not laid out yet
    const int p = pressed ? 1 : 0;
    if (dc) {
        draw_arrow_in_rect(dc, r, which, p);
        return;
    }
    WindowDC wdc(main_state.hwnd);
    if (wdc.get()) draw_arrow_in_rect(wdc.get(), r, which, p);
}

void main_paint(HWND hwnd) {
    PaintDC paint(hwnd);
    surface_fill(GetSysColor(COLOR_WINDOW));
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = surface_dc();
    if (dc) SetBkMode(dc, TRANSPARENT);
    if (!main_state.clock_only_repaint && dc) lay_out_month(hwnd, dc, client);
    surface_blit_to(paint.get(), 0, 0, client.right, client.bottom, 0, 0, SRCCOPY);
    main_state.clock_only_repaint = false;
}
