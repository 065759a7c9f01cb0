// The month view: weekday row, header, month buttons, coloured day numbers with marked
// boxes, today's box or past-day ticks, then the clock.
#include "app/month_paint_win.h"

#include <cstdio>
#include <cstring>

#include "app/clock_paint_win.h"
#include "app/halo_mask_win.h"
#include "app/month_layout.h"
#include "app/recompose.h"
#include "app/text_picture_fit.h"
#include "app/text_pictures_win.h"
#include "app/view_font.h"
#include "app/view_text_win.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "calendar/national_holidays.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

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
    DcPenBrush black(dc, kColorBlack, kColorBlack);
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

COLORREF box_colour(COLORREF window) {
    return marked_box_colour(GetSysColor(COLOR_BTNFACE), window);
}

// The boxes behind marked days.
void draw_marked_boxes(HDC dc, const MonthGrid& g, const DayClass cls[31]) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    DcPenBrush box(dc, window, box_colour(window));
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
    ViewFontKey weekday_key, day_key;
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
        COLORREF c = kColorBlack;
        if (i == 0) c = kColorRed;
        if (i == 6 && settings.cmode == 1) c = kColorBlue;  // the heading wants exactly 1
        t->weekday[i] = weekday_label(settings.weeklang, i);
        t->weekday_colour[i] = c;
        t->weekday_x[i] = f.weekday_x[i];
    }
    t->weekday_y = f.weekday_y;
}

// Writes the texts, each with the eight-position halo when halo_around is set. Into a halo
// mask (mask set) the colours are left as the mask has them. Leaves the day font selected.
void write_month_texts(HDC dc, const MonthTexts& t, bool halo_around, bool mask) {
    auto select = [&](HFONT font) {
        if (mask)
            SelectObject(dc, font);
        else
            use_view_font(dc, font);
    };
    select(t.weekday_font);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int i = 0; i < 7; ++i) {
        if (!mask) SetTextColor(dc, t.weekday_colour[i]);
        draw_text_halo(dc, t.weekday_x[i], t.weekday_y, t.weekday[i], halo_around);
    }
    select(t.day_font);
    if (!mask) SetTextColor(dc, kColorBlack);
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

// The month's texts copied from their pictures (app/text_pictures_win.h) over the window
// colour; false, with nothing drawn, when a picture cannot be had or a copy would differ from
// writing the texts (app/text_picture_fit.h). Called after the shapes behind the texts.
bool copy_month_texts(HDC dc, int width, TextPictures& pictures, const MonthTexts& t,
                      const MonthGrid& g, const DayClass cls[31]) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF box = box_colour(window);
    if (!pictures.settled(t.weekday_key, t.day_key, width, window)) return false;
    PlacedPicture placed[2 + 31];
    PlacedInk inks[2 + 31];
    int n = 0;
    BandText weekday[7];
    for (int i = 0; i < 7; ++i) weekday[i] = BandText{t.weekday_x[i], t.weekday_colour[i], t.weekday[i]};
    const BandText header = {t.header_x, kColorBlack, t.header};
    if (!pictures.band(0, t.weekday_font, t.weekday_key, view_font_metrics(ViewFontRole::kWeekday).height,
                       window, width, t.weekday_y, weekday, 7, &placed[n++]))
        return false;
    if (!pictures.band(1, t.day_font, t.day_key, view_font_metrics(ViewFontRole::kDay).height,
                       window, width, t.header_y, &header, 1, &placed[n++]))
        return false;
    // The shapes drawn before the texts: the month buttons, then the marked boxes.
    CellRect shapes[2 + 31];
    int shape_of_day[31];
    int shape_count = 0;
    shapes[shape_count++] = g.cells.left_arrow;
    shapes[shape_count++] = g.cells.right_arrow;
    for (int d = 0; d < g.days && d < 31; ++d) {
        shape_of_day[d] = -1;
        if (cls[d].draw_box) {
            shape_of_day[d] = shape_count;
            shapes[shape_count++] = g.drawn[d];
        }
    }
    inks[0] = PlacedInk{placed[0].target, -1};
    inks[1] = PlacedInk{placed[1].target, -1};
    const ViewFontMetrics& m = view_font_metrics(ViewFontRole::kDay);
    for (int d = 0; d < g.days && d < 31; ++d) {
        const COLORREF colour = static_cast<COLORREF>(cls[d].color);
        const COLORREF back = cls[d].draw_box ? box : window;
        if (!pictures.number(t.day_font, t.day_key, m, colour, back, d + 1, g.text_x[d],
                             g.text_y[d], &placed[n]))
            return false;
        inks[n] = PlacedInk{placed[n].target, shape_of_day[d]};
        ++n;
    }
    if (!inks_fit(inks, n, shapes, shape_count)) return false;
    for (int i = 0; i < n; ++i) copy_placed_picture(dc, placed[i]);
    return true;
}

// The month in the weekday and day fonts: shapes behind the texts, the halo, the texts, the
// marks over them. Returns the laid-out grid in *g, and whether the texts were copied.
bool draw_month_view(HDC dc, int client_w, int client_h, const MonthFrame& f,
                     const CellRect& area, const MonthView& v, MonthGrid* g) {
    const Settings& settings = *v.settings;
    MonthTexts t;
    t.weekday_font = view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height);
    t.day_font = view_font(settings, ViewFontRole::kDay, f.day_font_height);
    t.weekday_key = view_font_key(settings, f.weekday_font_height);
    t.day_key = view_font_key(settings, f.day_font_height);
    const ViewFontMetrics& day_metrics = view_font_metrics(ViewFontRole::kDay);
    month_grid(f, area.right, day_metrics.digits.cx, day_metrics.digits.cy, v.shown_year,
               v.shown_month, g);

    MonthHolidays holidays;
    const bool national = national_holidays_shown(settings);
    if (national) national_holidays_of_month(g->year, g->month, &holidays);
    DayClass cls[31];
    const int n = classify_month(g->year, g->month,
                                 schedule_month_marks(*v.schedule, g->year, g->month),
                                 national ? &holidays : nullptr, settings.cmode, cls);
    if (n < g->days) g->days = n;
    uint32_t colours[31] = {};
    for (int d = 0; d < g->days; ++d) colours[d] = cls[d].color;
    t.run_count = day_text_runs(*g, colours, day_metrics.widths, t.runs, 31);
    weekday_texts(settings, f, &t);
    format_month_header(t.header, sizeof t.header, settings.monthlang, v.shown_year, v.shown_month);
    t.header_x = f.header_x;
    t.header_y = f.header_y;

    draw_arrow_in_rect(dc, g->cells.left_arrow, 0, v.pressed_arrow == 1);
    draw_arrow_in_rect(dc, g->cells.right_arrow, 1, v.pressed_arrow == 2);
    draw_marked_boxes(dc, *g, cls);
    const bool copied = v.plain_back && !v.halo && v.pictures &&
                        copy_month_texts(dc, client_w, *v.pictures, t, *g, cls);
    if (!copied) {
        const bool halo_laid = v.halo && lay_month_halo(dc, client_w, client_h, area, t);
        write_month_texts(dc, t, v.halo && !halo_laid, false);
    }
    draw_day_marks(dc, *g, cls, v);
    return copied;
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
        const UINT old_align = GetTextAlign(dc);
        SetPolyFillMode(dc, WINDING);
        MonthGrid g;
        out->texts_copied = draw_month_view(dc, client_w, client_h, f, area, v, &g);
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
}
