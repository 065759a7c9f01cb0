// The main window's paint: everything is drawn into the off-screen surface and copied to
// the window in one blit. This paint fills the window colour, lays out the month view
// (title, month buttons, header band and day cells, which the mouse code tests against)
// and draws the two month buttons.
#include "app/gdi.h"
#include "app/main_layout.h"
#include "app/main_state.h"
#include "app/main_window_internal.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "image/surface_win.h"

namespace {

HFONT create_day_font(int font_unit) {
    LOGFONTA lf = {};
    lf.lfHeight = -font_unit;
    lf.lfWeight = settings.weight;
    lf.lfItalic = static_cast<BYTE>(settings.italic);
    lf.lfCharSet = static_cast<BYTE>(settings.charset);
    settings_face_name(lf.lfFaceName, sizeof lf.lfFaceName);
    return CreateFontIndirectA(&lf);
}

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
        OwnedFont font(create_day_font(m.font_unit));
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

void draw_arrow_into(HDC dc, const CellRect& r, int which, int p) {
    const COLORREF border = GetSysColor(p ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    const COLORREF edge = GetSysColor(p ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    {
        OwnedPen pen(CreatePen(PS_SOLID, 0, border));
        OwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        GdiSelect sp(dc, pen.get());
        GdiSelect sb(dc, face.get());
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    {
        OwnedPen pen(CreatePen(PS_SOLID, 0, edge));
        GdiSelect sp(dc, pen.get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.right - 1, r.top);
    }
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    OwnedPen pen(CreatePen(PS_SOLID, 0, text));
    OwnedBrush brush(CreateSolidBrush(text));
    GdiSelect sp(dc, pen.get());
    GdiSelect sb(dc, brush.get());
    const int mid = (r.top + r.bottom) / 2;
    POINT pts[3];
    if (which == 0) {
        pts[0] = {r.right - 4 + p, r.top + 4};
        pts[1] = {r.right - 4 + p, r.bottom - 4};
        pts[2] = {r.left + 4 + p, mid};
    } else {
        pts[0] = {r.left + 4 + p, r.top + 4};
        pts[1] = {r.left + 4 + p, r.bottom - 4};
        pts[2] = {r.right - 4 + p, mid};
    }
    Polygon(dc, pts, 3);
}

}  // namespace

void draw_arrow_button(HDC dc, int which, int pressed) {
    const CellRect& r = which == 0 ? main_state.left_arrow_rect : main_state.right_arrow_rect;
    if (r.right <= r.left || r.bottom <= r.top) return;  // not laid out yet
    const int p = pressed ? 1 : 0;
    if (dc) {
        draw_arrow_into(dc, r, which, p);
        return;
    }
    WindowDC wdc(main_state.hwnd);
    if (wdc.get()) draw_arrow_into(wdc.get(), r, which, p);
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
