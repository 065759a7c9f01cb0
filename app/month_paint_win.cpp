// The month view: weekday row, header, month buttons, coloured day numbers with marked
// boxes, today's box or past-day ticks, then the clock.
#include "app/month_paint_win.h"

#include <cstdio>
#include <cstring>

#include "app/clock_paint_win.h"
#include "app/month_layout.h"
#include "app/view_text_win.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "calendar/national_holidays.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/month_marks.h"

void draw_arrow_in_rect(HDC dc, const CellRect& r, int which, int pressed) {
    const int p = pressed ? 1 : 0;
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
    const COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
    OwnedPen pen(CreatePen(PS_SOLID, 0, arrow));
    OwnedBrush brush(CreateSolidBrush(arrow));
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

void draw_check_mark(HDC dc, int l, int t, int r, int u) {
    const int w = r - l, h = u - t;
    const POINT pts[6] = {{l, (t + u) / 2},
                          {l + w / 4, u - h / 6},
                          {r, t + h / 4},
                          {r - w / 10, t + h / 4 - h / 20},
                          {l + w / 4 + w / 24, u - h / 6 - h / 12},
                          {l, (t + u) / 2}};
    OwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    OwnedBrush brush(CreateSolidBrush(RGB(0, 0, 0)));
    GdiSelect sp(dc, pen.get());
    GdiSelect sb(dc, brush.get());
    Polygon(dc, pts, 6);
}

namespace {

void draw_marked_box(HDC dc, const CellRect& c) {
    OwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOW)));
    OwnedBrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    GdiSelect sp(dc, pen.get());
    GdiSelect sb(dc, brush.get());
    Rectangle(dc, c.left, c.top, c.right, c.bottom);
}

void draw_today_box(HDC dc, const CellRect& c, COLORREF colour) {
    OwnedPen pen(CreatePen(PS_SOLID, 2, colour));
    GdiSelect sp(dc, pen.get());
    GdiSelect sb(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, c.left, c.top, c.right, c.bottom);
}

void draw_weekday_row(HDC dc, const Settings& settings, const MonthFrame& f, bool halo) {
    GdiSelect sf(dc, view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height));
    for (int i = 0; i < 7; ++i) {
        COLORREF c = RGB(0, 0, 0);
        if (i == 0) c = RGB(255, 0, 0);
        if (i == 6 && settings.cmode == 1) c = RGB(0, 0, 255);  // the heading wants exactly 1
        SetTextColor(dc, c);
        draw_text_halo(dc, f.weekday_x[i], f.weekday_y, weekday_label(settings.weeklang, i), halo);
    }
}

// Days, header and buttons in the day font; returns the laid-out grid in *g.
void draw_days(HDC dc, const MonthFrame& f, const CellRect& area, const MonthView& v,
               MonthGrid* g) {
    const Settings& settings = *v.settings;
    GdiSelect sf(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
    SetTextColor(dc, RGB(0, 0, 0));
    char text[64];
    format_month_header(text, sizeof text, settings.monthlang, v.shown_year, v.shown_month);
    draw_text_halo(dc, f.header_x, f.header_y, text, v.halo);

    SIZE digits = {0, 0};
    GetTextExtentPoint32A(dc, "88", 2, &digits);
    month_grid(f, area.right, digits.cx, digits.cy, v.shown_year, v.shown_month, g);
    draw_arrow_in_rect(dc, g->cells.left_arrow, 0, v.pressed_arrow == 1);
    draw_arrow_in_rect(dc, g->cells.right_arrow, 1, v.pressed_arrow == 2);

    MonthHolidays holidays;
    const bool national = national_holidays_shown(settings);
    if (national) national_holidays_of_month(g->year, g->month, &holidays);
    DayClass cls[31];
    const int n = classify_month(g->year, g->month,
                                 month_marks(v.schedule->entries, schedule_live_count(*v.schedule),
                                             g->year, g->month),
                                 national ? &holidays : nullptr, settings.cmode, cls);
    const bool today_shown = g->year == v.today_year && g->month == v.today_month;
    for (int d = 1; d <= n && d <= g->days; ++d) {
        const CellRect& c = g->drawn[d - 1];
        const COLORREF colour = static_cast<COLORREF>(cls[d - 1].color);
        if (cls[d - 1].draw_box) draw_marked_box(dc, c);
        std::snprintf(text, sizeof text, "%2d", d);
        SetTextColor(dc, colour);
        draw_text_halo(dc, g->text_x[d - 1], g->text_y[d - 1], text, v.halo);
        if (settings.checkmark == 0) {
            if (today_shown && d == v.today_day) draw_today_box(dc, c, colour);
        } else if (date_before(g->year, g->month, d, v.today_year, v.today_month, v.today_day)) {
            draw_check_mark(dc, c.left, c.top, c.right, c.bottom);
        }
    }
}

}  // namespace

void paint_month(HDC dc, int client_w, int client_h, const MonthView& v, MonthPaintResult* out) {
    out->clock_drawn = false;
    if (!dc || !v.settings || !v.schedule) return;
    const Settings& settings = *v.settings;
    CellRect area = v.area;
    if (area.right <= area.left || area.bottom <= area.top) area = {0, 0, client_w, client_h};
    const int clock_mode = v.clock_shown ? (settings.analog != 0 ? 2 : 1) : 0;
    const MonthFrame f = month_frame(area, clock_mode, settings.weeklang);
    SetBkMode(dc, TRANSPARENT);

    if (!v.clock_only) {
        format_window_title(out->title, sizeof out->title, settings.monthlang, v.shown_year,
                            clamp_shown_month(v.shown_month));
        const UINT old_align = SetTextAlign(dc, TA_CENTER | TA_TOP);
        SetPolyFillMode(dc, WINDING);
        draw_weekday_row(dc, settings, f, v.halo);
        MonthGrid g;
        draw_days(dc, f, area, v, &g);
        SetTextAlign(dc, old_align);
        out->left_arrow = g.cells.left_arrow;
        out->right_arrow = g.cells.right_arrow;
        out->header_height = g.cells.header_height;
        for (int i = 0; i < 31; ++i) out->day_cells[i] = g.cells.day_cells[i];
    }
    if (v.clock_shown) {
        paint_clock(dc, settings, f, area.right, v.now_hour, v.now_minute, v.now_second, v.halo,
                    &out->clock_rect, &out->clock_text_rect);
        out->clock_drawn = true;
    }
}
