// The month view: weekday row, header, month buttons, coloured day numbers with marked
// boxes, today's box or past-day ticks, then the clock.
#include "app/month_paint_win.h"

#include <cstdio>
#include <cstring>

#include "app/clock_paint_win.h"
#include "app/halo_mask_win.h"
#include "app/month_layout.h"
#include "app/recompose.h"
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
    DcPenBrush shapes(dc, border, GetSysColor(COLOR_BTNFACE));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    shapes.pen(edge);
    const POINT edge_line[3] = {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top}};
    Polyline(dc, edge_line, 3);
    const COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
    shapes.colours(arrow, arrow);
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
    DcPenBrush black(dc, RGB(0, 0, 0), RGB(0, 0, 0));
    Polygon(dc, pts, 6);
}

namespace {

// The day numbers of the grid as runs for the dc's font, one per colour.
int day_number_runs(HDC dc, const MonthGrid& g, const uint32_t colours[31], TextRun runs[31]) {
    INT advance[10 + 1] = {};
    if (!GetCharWidth32A(dc, ' ', ' ', &advance[0]) || !GetCharWidth32A(dc, '0', '9', &advance[1]))
        return 0;
    int widths[11];
    for (int i = 0; i < 11; ++i) widths[i] = advance[i];
    return day_text_runs(g, colours, widths, runs, 31);
}

}  // namespace

void draw_day_numbers(HDC dc, const MonthGrid& g, const uint32_t colours[31], bool halo) {
    TextRun runs[31];
    const int n = day_number_runs(dc, g, colours, runs);
    const UINT old_align = SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (int i = 0; i < n; ++i) draw_text_run_halo(dc, runs[i], halo);
    SetTextAlign(dc, old_align);
}

namespace {

// The boxes behind marked days.
void draw_marked_boxes(HDC dc, const MonthGrid& g, const DayClass cls[31]) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    DcPenBrush box(dc, window, marked_box_colour(GetSysColor(COLOR_BTNFACE), window));
    for (int d = 0; d < g.days && d < 31; ++d) {
        if (!cls[d].draw_box) continue;
        const CellRect& c = g.drawn[d];
        Rectangle(dc, c.left, c.top, c.right, c.bottom);
    }
}

void draw_today_box(HDC dc, const CellRect& c, COLORREF colour) {
    OwnedPen pen(CreatePen(PS_SOLID, 2, colour));
    GdiSelect sp(dc, pen.get());
    GdiSelect sb(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, c.left, c.top, c.right, c.bottom);
}

// Today's box or the past days' ticks, over the numbers.
void draw_day_marks(HDC dc, const MonthGrid& g, const DayClass cls[31], const MonthView& v) {
    const bool today_shown = g.year == v.today_year && g.month == v.today_month;
    for (int d = 1; d <= g.days; ++d) {
        const CellRect& c = g.drawn[d - 1];
        if (v.settings->checkmark == 0) {
            if (today_shown && d == v.today_day)
                draw_today_box(dc, c, static_cast<COLORREF>(cls[d - 1].color));
        } else if (date_before(g.year, g.month, d, v.today_year, v.today_month, v.today_day)) {
            draw_check_mark(dc, c.left, c.top, c.right, c.bottom);
        }
    }
}

// Every text of the month and where it goes: the weekday names in the weekday font, the
// header and the day numbers in the day font.
struct MonthTexts {
    HFONT weekday_font, day_font;
    const char* weekday[7];
    COLORREF weekday_colour[7];
    int weekday_x[7], weekday_y;
    char header[64];
    int header_x, header_y;
    TextRun runs[31];
    int run_count;
};

void weekday_texts(const Settings& settings, const MonthFrame& f, MonthTexts* t) {
    for (int i = 0; i < 7; ++i) {
        COLORREF c = RGB(0, 0, 0);
        if (i == 0) c = RGB(255, 0, 0);
        if (i == 6 && settings.cmode == 1) c = RGB(0, 0, 255);  // the heading wants exactly 1
        t->weekday[i] = weekday_label(settings.weeklang, i);
        t->weekday_colour[i] = c;
        t->weekday_x[i] = f.weekday_x[i];
    }
    t->weekday_y = f.weekday_y;
}

// Writes the texts, each with the eight-position halo when halo_around is set. Into a halo
// mask (mask set) the colours are left as the mask has them. Leaves the day font selected.
void write_month_texts(HDC dc, const MonthTexts& t, bool halo_around, bool mask) {
    SelectObject(dc, t.weekday_font);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int i = 0; i < 7; ++i) {
        if (!mask) SetTextColor(dc, t.weekday_colour[i]);
        draw_text_halo(dc, t.weekday_x[i], t.weekday_y, t.weekday[i], halo_around);
    }
    SelectObject(dc, t.day_font);
    if (!mask) SetTextColor(dc, RGB(0, 0, 0));
    draw_text_halo(dc, t.header_x, t.header_y, t.header, halo_around);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (int i = 0; i < t.run_count; ++i) {
        if (mask)
            write_text_run(dc, t.runs[i], 0, 0);
        else
            draw_text_run_halo(dc, t.runs[i], halo_around);
    }
}

// The halo of every text laid at once through the halo mask; false when no mask can be had
// (the texts then bring their own).
bool lay_month_halo(HDC dc, int client_w, int client_h, const CellRect& area,
                    const MonthTexts& t) {
    HDC mask = halo_mask_begin(client_w, client_h);
    if (!mask) return false;
    {
        GdiSelect font(mask, t.day_font);
        write_month_texts(mask, t, false, true);
    }
    const RECT around = {area.left - kTextFringe, area.top - kTextFringe, area.right + kTextFringe,
                         area.bottom + kTextFringe};
    RECT clipped;
    const RECT client = {0, 0, client_w, client_h};
    if (IntersectRect(&clipped, &around, &client)) halo_mask_lay(dc, clipped);
    return true;
}

// The month in the weekday and day fonts: shapes behind the texts, the halo, the texts, the
// marks over them. Returns the laid-out grid in *g.
void draw_month_view(HDC dc, int client_w, int client_h, const MonthFrame& f,
                     const CellRect& area, const MonthView& v, MonthGrid* g) {
    const Settings& settings = *v.settings;
    MonthTexts t;
    t.weekday_font = view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height);
    t.day_font = view_font(settings, ViewFontRole::kDay, f.day_font_height);
    SelectObject(dc, t.day_font);
    SIZE digits = {0, 0};
    GetTextExtentPoint32A(dc, "88", 2, &digits);
    month_grid(f, area.right, digits.cx, digits.cy, v.shown_year, v.shown_month, g);

    MonthHolidays holidays;
    const bool national = national_holidays_shown(settings);
    if (national) national_holidays_of_month(g->year, g->month, &holidays);
    DayClass cls[31];
    const int n = classify_month(g->year, g->month,
                                 month_marks(v.schedule->entries, schedule_live_count(*v.schedule),
                                             g->year, g->month),
                                 national ? &holidays : nullptr, settings.cmode, cls);
    if (n < g->days) g->days = n;
    uint32_t colours[31] = {};
    for (int d = 0; d < g->days; ++d) colours[d] = cls[d].color;
    t.run_count = day_number_runs(dc, *g, colours, t.runs);
    weekday_texts(settings, f, &t);
    format_month_header(t.header, sizeof t.header, settings.monthlang, v.shown_year, v.shown_month);
    t.header_x = f.header_x;
    t.header_y = f.header_y;

    draw_arrow_in_rect(dc, g->cells.left_arrow, 0, v.pressed_arrow == 1);
    draw_arrow_in_rect(dc, g->cells.right_arrow, 1, v.pressed_arrow == 2);
    draw_marked_boxes(dc, *g, cls);
    const bool halo_laid = v.halo && lay_month_halo(dc, client_w, client_h, area, t);
    write_month_texts(dc, t, v.halo && !halo_laid, false);
    draw_day_marks(dc, *g, cls, v);
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
    // The dc's font comes back at the end only: selecting a font costs more than writing a
    // text, and the clock is written in the day font the month ends with.
    const HGDIOBJ old_font = GetCurrentObject(dc, OBJ_FONT);

    if (!v.clock_only) {
        format_window_title(out->title, sizeof out->title, settings.monthlang, v.shown_year,
                            clamp_shown_month(v.shown_month));
        const UINT old_align = GetTextAlign(dc);
        SetPolyFillMode(dc, WINDING);
        MonthGrid g;
        draw_month_view(dc, client_w, client_h, f, area, v, &g);
        SetTextAlign(dc, old_align);
        out->left_arrow = g.cells.left_arrow;
        out->right_arrow = g.cells.right_arrow;
        out->header_height = g.cells.header_height;
        for (int i = 0; i < 31; ++i) out->day_cells[i] = g.cells.day_cells[i];
        if (v.after_month) v.after_month();
    }
    if (v.clock_shown && !v.month_only) {
        paint_clock(dc, settings, f, area.right, v.now_hour, v.now_minute, v.now_second, v.halo,
                    client_w, client_h, &out->clock_rect, &out->clock_text_rect);
        out->clock_drawn = true;
    }
    if (old_font && GetCurrentObject(dc, OBJ_FONT) != old_font) SelectObject(dc, old_font);
}
