// The month view: weekday row, header, month buttons, coloured day numbers with marked
// boxes, today's box or past-day ticks, then the clock.
#include "app/month_paint_win.h"

#include <cstdio>
#include <cstring>

#include "app/clock_paint_win.h"
#include "app/halo_mask_win.h"
#include "app/month_colours_win.h"
#include "app/month_layout.h"
#include "app/recompose.h"
#include "app/text_picture_fit.h"
#include "app/text_pictures_win.h"
#include "app/view_font.h"
#include "app/view_text_win.h"
#include "calendar/almanac.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "calendar/national_holidays.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/feed_entries.h"

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
    // Four pixels in from the edges; a button grown beyond 16 pixels (a high DPI) keeps the
    // arrow's proportion.
    const int size = r.right - r.left;
    const int in = size > 16 ? size / 4 : 4;
    POINT pts[3];
    if (which == 0) {
        pts[0] = {r.right - in + p, r.top + in};
        pts[1] = {r.right - in + p, r.bottom - in};
        pts[2] = {r.left + in + p, mid};
    } else {
        pts[0] = {r.left + in + p, r.top + in};
        pts[1] = {r.left + in + p, r.bottom - in};
        pts[2] = {r.right - in + p, mid};
    }
    Polygon(dc, pts, 3);
}

void draw_check_mark(HDC dc, int l, int t, int r, int u, COLORREF colour) {
    const int w = r - l, h = u - t;
    const POINT pts[6] = {{l, (t + u) / 2},
                          {l + w / 4, u - h / 6},
                          {r, t + h / 4},
                          {r - w / 10, t + h / 4 - h / 20},
                          {l + w / 4 + w / 24, u - h / 6 - h / 12},
                          {l, (t + u) / 2}};
    DcPenBrush ink(dc, colour, colour);
    Polygon(dc, pts, 6);
}

void draw_day_focus(HDC dc, const CellRect& r) {
    if (rect_empty(r)) return;
    // The system's frame (dotted, drawn by inverting) as every focused control shows it; the
    // text colour and the back decide its colours.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    DrawFocusRect(dc, &rc);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
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

// How each day of the grid is drawn: on its marked box or not, in which colour and shape.
struct DayLooks {
    bool boxed[31];
    uint32_t colour[31];
    unsigned shape[31];
};

DayLooks day_looks(const MonthGrid& g, const DayClass cls[31], int cmode, const MonthColours& m,
                   bool shapes) {
    DayLooks l = {};
    for (int d = 0; d < g.days && d < 31; ++d) {
        l.boxed[d] = day_boxed(cls[d], shapes);
        l.colour[d] = day_text_colour(cls[d], cmode, m, l.boxed[d]);
        l.shape[d] = day_shape(cls[d], cmode, shapes);
    }
    return l;
}

// The boxes behind marked days.
void draw_marked_boxes(HDC dc, const MonthGrid& g, const DayLooks& looks, const MonthColours& m) {
    DcPenBrush box(dc, m.back, m.box);
    for (int d = 0; d < g.days && d < 31; ++d) {
        if (!looks.boxed[d]) continue;
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

// Today's box or the past days' ticks, over the numbers. Today's box takes the colour the day
// has on the window colour, which also frames a day drawn on its box.
void draw_day_marks(HDC dc, const MonthGrid& g, const DayClass cls[31], const MonthView& v,
                    const MonthColours& m) {
    const bool today_shown = g.year == v.today_year && g.month == v.today_month;
    for (int d = 1; d <= g.days; ++d) {
        const CellRect& c = g.drawn[d - 1];
        if (v.settings->checkmark == 0) {
            if (today_shown && d == v.today_day)
                draw_today_box(dc, c, static_cast<COLORREF>(day_text_colour(cls[d - 1], v.settings->cmode, m, false)));
        } else if (date_before(g.year, g.month, d, v.today_year, v.today_month, v.today_day)) {
            draw_check_mark(dc, c.left, c.top, c.right, c.bottom, static_cast<COLORREF>(m.tick));
        }
    }
}

// The labels under the numbers of one week row, each centred on its day's column.
struct LabelRow {
    BandText texts[7];
    int count;
    int y;
};

// Every text of the month and where it goes: the weekday names in the weekday font, the
// header and the day numbers in the day font, each in its shape's font, the labels under the
// numbers in the label font.
struct MonthTexts {
    HFONT weekday_font, day_font, label_font;  // the plain ones
    HFONT weekday_fonts[7];        // each name's, by its shape
    HFONT day_fonts[kShapeKinds];  // the day font in each shape a run asks for
    ViewFontKey weekday_key, day_key, label_key;
    bool shaped;                   // some text is in another font than the plain one
    const char* weekday[7];
    COLORREF weekday_colour[7];
    int weekday_x[7], weekday_y;
    char header[64];
    COLORREF header_colour;
    int header_x, header_y;
    TextRun runs[31];
    int run_count;
    int label_height;      // rows of the label font's line
    LabelRow label_rows[6];
    int label_count;       // 0: no line under the numbers
};

void weekday_texts(const Settings& settings, const MonthFrame& f, const MonthColours& m, bool shapes,
                   MonthTexts* t) {
    for (int i = 0; i < 7; ++i) {
        t->weekday[i] = weekday_label(settings.weeklang, i);
        t->weekday_colour[i] = static_cast<COLORREF>(weekday_colour(i, settings.cmode, m));
        t->weekday_x[i] = f.weekday_x[i];
        const unsigned shape = weekday_shape(i, settings.cmode, shapes);
        t->weekday_fonts[i] = shape ? view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height, shape)
                                    : t->weekday_font;
        if (shape) t->shaped = true;
    }
    t->weekday_y = f.weekday_y;
}

// The line under the day numbers, when a switch asks for it and the frame and the measured
// fonts leave room for it: each day's 六曜 or solar term in the day's colour on the window
// colour (the line lies below a marked day's box), gathered by week row.
void label_texts(const Settings& settings, const MonthFrame& f, const MonthGrid& g,
                 const DayClass cls[31], const MonthColours& colours, MonthTexts* t) {
    t->label_count = 0;
    if (f.label_font_height == 0) return;
    const int digit_h = view_font_metrics(ViewFontRole::kDay).digits.cy;
    t->label_font = view_font(settings, ViewFontRole::kLabel, f.label_font_height);
    const ViewFontMetrics& m = view_font_metrics(ViewFontRole::kLabel);
    AlmanacMonth month;
    if (!t->label_font || !day_labels_fit(f, digit_h, m.height, m.label_width) ||
        !almanac_month(g.year, g.month, &month))
        return;
    t->label_key = view_font_key(settings, f.label_font_height);
    t->label_height = m.height;
    for (LabelRow& r : t->label_rows) r.count = 0;
    const bool rokuyo = rokuyo_shown(settings), terms = kyureki_shown(settings);
    for (int d = 0; d < g.days && d < month.days; ++d) {
        const char* text = almanac_label(month.day[d + 1], rokuyo, terms);
        const int row = (g.first_weekday + d) / 7;
        if (!text || row > 5) continue;
        LabelRow& r = t->label_rows[row];
        r.y = day_label_top(g, d, digit_h);
        const ColorRef colour = day_text_colour(cls[d], settings.cmode, colours, false);
        r.texts[r.count++] = BandText{g.text_x[d], static_cast<COLORREF>(colour), text};
        ++t->label_count;
    }
}

// Writes the texts, each with the eight-position halo in halo_colour when halo_around is
// set. Into a halo mask (mask set) the colours are left as the mask has them. Leaves the day
// font selected.
void write_month_texts(HDC dc, const MonthTexts& t, bool halo_around, COLORREF halo_colour, bool mask) {
    auto select = [&](HFONT font) {
        if (mask)
            SelectObject(dc, font);
        else
            use_view_font(dc, font);
    };
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int i = 0; i < 7; ++i) {
        select(t.weekday_fonts[i]);
        if (!mask) SetTextColor(dc, t.weekday_colour[i]);
        draw_text_halo(dc, t.weekday_x[i], t.weekday_y, t.weekday[i], halo_around, halo_colour);
    }
    if (t.label_count > 0) {
        select(t.label_font);
        for (const LabelRow& r : t.label_rows)
            for (int i = 0; i < r.count; ++i) {
                if (!mask) SetTextColor(dc, r.texts[i].colour);
                draw_text_halo(dc, r.texts[i].x, r.y, r.texts[i].text, halo_around, halo_colour);
            }
    }
    select(t.day_font);
    if (!mask) SetTextColor(dc, t.header_colour);
    draw_text_halo(dc, t.header_x, t.header_y, t.header, halo_around, halo_colour);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (int i = 0; i < t.run_count; ++i) {
        const unsigned style = t.runs[i].style < kShapeKinds ? t.runs[i].style : 0;
        HFONT font = t.day_fonts[style] ? t.day_fonts[style] : t.day_font;
        select(font);
        if (mask)
            write_text_run(dc, t.runs[i], 0, 0);
        else
            draw_text_run_halo(dc, t.runs[i], halo_around, halo_colour);
    }
    select(t.day_font);
}

// The halo of every text laid at once through the halo mask; false when no mask can be had
// (the texts then bring their own).
bool lay_month_halo(HDC dc, int client_w, int client_h, const CellRect& area,
                    const MonthTexts& t, COLORREF halo_colour) {
    HDC mask = halo_mask_begin(client_w, client_h);
    if (!mask) return false;
    {
        GdiSelect font(mask, t.day_font);
        write_month_texts(mask, t, false, halo_colour, true);
    }
    const RECT around = {area.left - kTextFringe, area.top - kTextFringe, area.right + kTextFringe,
                         area.bottom + kTextFringe};
    RECT clipped;
    const RECT client = {0, 0, client_w, client_h};
    if (IntersectRect(&clipped, &around, &client)) halo_mask_lay(dc, clipped, halo_colour);
    return true;
}

// The month's texts copied from their pictures (app/text_pictures_win.h) over the window
// colour; false, with nothing drawn, when a picture cannot be had or a copy would differ from
// writing the texts (app/text_picture_fit.h). Called after the shapes behind the texts. Texts
// in more than one font (the shapes) are written.
bool copy_month_texts(HDC dc, int width, TextPictures& pictures, const MonthTexts& t,
                      const MonthGrid& g, const DayLooks& looks, const MonthColours& m) {
    if (t.shaped) return false;
    const COLORREF window = static_cast<COLORREF>(m.back);
    const COLORREF box = static_cast<COLORREF>(m.box);
    if (!pictures.settled(t.weekday_key, t.day_key, width, window)) return false;
    PlacedPicture placed[kBandCount + 31];
    PlacedInk inks[kBandCount + 31];
    int n = 0;
    BandText weekday[7];
    for (int i = 0; i < 7; ++i) weekday[i] = BandText{t.weekday_x[i], t.weekday_colour[i], t.weekday[i]};
    const BandText header = {t.header_x, t.header_colour, t.header};
    if (!pictures.band(kWeekdayBand, t.weekday_font, t.weekday_key,
                       view_font_metrics(ViewFontRole::kWeekday).height, window, width, t.weekday_y,
                       weekday, 7, &placed[n++]))
        return false;
    if (!pictures.band(kHeaderBand, t.day_font, t.day_key, view_font_metrics(ViewFontRole::kDay).height,
                       window, width, t.header_y, &header, 1, &placed[n++]))
        return false;
    for (int r = 0; r < 6 && t.label_count > 0; ++r) {
        const LabelRow& row = t.label_rows[r];
        if (row.count == 0) continue;
        if (!pictures.band(kLabelBand + r, t.label_font, t.label_key, t.label_height, window, width,
                           row.y, row.texts, row.count, &placed[n++]))
            return false;
    }
    const int band_count = n;
    // The shapes drawn before the texts: the month buttons, then the marked boxes.
    CellRect shapes[2 + 31];
    int shape_of_day[31];
    int shape_count = 0;
    shapes[shape_count++] = g.cells.left_arrow;
    shapes[shape_count++] = g.cells.right_arrow;
    for (int d = 0; d < g.days && d < 31; ++d) {
        shape_of_day[d] = -1;
        if (looks.boxed[d]) {
            shape_of_day[d] = shape_count;
            shapes[shape_count++] = g.drawn[d];
        }
    }
    for (int i = 0; i < band_count; ++i) inks[i] = PlacedInk{placed[i].target, -1};
    const ViewFontMetrics& metrics = view_font_metrics(ViewFontRole::kDay);
    for (int d = 0; d < g.days && d < 31; ++d) {
        const COLORREF colour = static_cast<COLORREF>(looks.colour[d]);
        const COLORREF back = looks.boxed[d] ? box : window;
        if (!pictures.number(t.day_font, t.day_key, metrics, colour, back, d + 1, g.text_x[d],
                             g.text_y[d], &placed[n]))
            return false;
        inks[n] = PlacedInk{placed[n].target, shape_of_day[d]};
        ++n;
    }
    if (!inks_fit(inks, n, shapes, shape_count)) return false;
    for (int i = 0; i < n; ++i) copy_placed_picture(dc, placed[i]);
    return true;
}

// The day numbers' runs, each in the font of its shape, measured in that font.
void day_runs(const Settings& settings, const MonthFrame& f, const MonthGrid& g, const DayLooks& looks,
              MonthTexts* t) {
    int widths[kShapeKinds][11] = {};
    std::memcpy(widths[0], view_font_metrics(ViewFontRole::kDay).widths, sizeof widths[0]);
    for (int d = 0; d < g.days && d < 31; ++d) {
        const unsigned shape = looks.shape[d];
        if (shape == 0 || shape >= kShapeKinds || t->day_fonts[shape]) continue;
        t->day_fonts[shape] = view_font(settings, ViewFontRole::kDay, f.day_font_height, shape);
        std::memcpy(widths[shape], view_font_metrics(ViewFontRole::kDay, shape).widths, sizeof widths[shape]);
        t->shaped = true;
    }
    t->run_count = day_text_runs_shaped(g, looks.colour, looks.shape, widths, t->runs, 31);
}

// The month in the weekday and day fonts: shapes behind the texts, the halo, the texts, the
// marks over them. Returns the laid-out grid in *g, and whether the texts were copied.
bool draw_month_view(HDC dc, int client_w, int client_h, const MonthFrame& f,
                     const CellRect& area, const MonthView& v, const MonthColours& m, MonthGrid* g) {
    const Settings& settings = *v.settings;
    MonthTexts t = {};
    t.weekday_font = view_font(settings, ViewFontRole::kWeekday, f.weekday_font_height);
    t.day_font = view_font(settings, ViewFontRole::kDay, f.day_font_height);
    t.day_fonts[0] = t.day_font;
    t.weekday_key = view_font_key(settings, f.weekday_font_height);
    t.day_key = view_font_key(settings, f.day_font_height);
    const ViewFontMetrics& day_metrics = view_font_metrics(ViewFontRole::kDay);
    month_grid(f, area.right, day_metrics.digits.cx, day_metrics.digits.cy, v.shown_year,
               v.shown_month, g);

    MonthHolidays holidays;
    const bool national = national_holidays_shown(settings);
    if (national) national_holidays_of_month(g->year, g->month, &holidays);
    DayClass cls[31];
    // Each list keeps its month's marks: a paint only unites them.
    DayMarks marks = schedule_month_marks(*v.schedule, g->year, g->month);
    if (v.feeds) {
        const DayMarks subscribed = feed_month_marks(*v.feeds, g->year, g->month);
        marks.marked |= subscribed.marked;
        marks.holiday |= subscribed.holiday;
    }
    const int n = classify_month(g->year, g->month, marks, national ? &holidays : nullptr, settings.cmode, cls);
    if (n < g->days) g->days = n;
    const DayLooks looks = day_looks(*g, cls, settings.cmode, m, v.shapes);
    day_runs(settings, f, *g, looks, &t);
    weekday_texts(settings, f, m, v.shapes, &t);
    label_texts(settings, f, *g, cls, m, &t);
    format_month_header(t.header, sizeof t.header, settings.monthlang, v.shown_year, v.shown_month,
                        settings.Wareki);
    t.header_colour = static_cast<COLORREF>(m.text);
    t.header_x = f.header_x;
    t.header_y = f.header_y;

    draw_arrow_in_rect(dc, g->cells.left_arrow, 0, v.pressed_arrow == 1);
    draw_arrow_in_rect(dc, g->cells.right_arrow, 1, v.pressed_arrow == 2);
    draw_marked_boxes(dc, *g, looks, m);
    const COLORREF halo_colour = static_cast<COLORREF>(m.halo);
    const bool copied = v.plain_back && !v.halo && v.pictures &&
                        copy_month_texts(dc, client_w, *v.pictures, t, *g, looks, m);
    if (!copied) {
        const bool halo_laid = v.halo && lay_month_halo(dc, client_w, client_h, area, t, halo_colour);
        write_month_texts(dc, t, v.halo && !halo_laid, halo_colour, false);
    }
    draw_day_marks(dc, *g, cls, v, m);
    return copied;
}

}  // namespace

void paint_month(HDC dc, int client_w, int client_h, const MonthView& v, MonthPaintResult* out) {
    out->clock_drawn = false;
    out->focus_rect = CellRect{0, 0, 0, 0};
    if (!dc || !v.settings || !v.schedule) return;
    const Settings& settings = *v.settings;
    const MonthColours colours = v.colours ? *v.colours : scheme_month_colours(false);
    CellRect area = v.area;
    if (area.right <= area.left || area.bottom <= area.top) area = {0, 0, client_w, client_h};
    const int clock_mode = v.clock_shown ? (settings.analog != 0 ? 2 : 1) : 0;
    const bool labels = rokuyo_shown(settings) || kyureki_shown(settings);
    const MonthFrame f =
        month_frame(area, clock_mode, settings.weeklang, labels, v.dpi > 0 ? v.dpi : kBaseDpi);
    SetBkMode(dc, TRANSPARENT);

    if (!v.clock_only) {
        format_window_title(out->title, sizeof out->title, settings.monthlang, v.shown_year,
                            clamp_shown_month(v.shown_month), settings.Wareki);
        const UINT old_align = GetTextAlign(dc);
        SetPolyFillMode(dc, WINDING);
        MonthGrid g;
        out->texts_copied = draw_month_view(dc, client_w, client_h, f, area, v, colours, &g);
        SetTextAlign(dc, old_align);
        out->left_arrow = g.cells.left_arrow;
        out->right_arrow = g.cells.right_arrow;
        out->header_height = g.cells.header_height;
        for (int i = 0; i < 31; ++i) out->day_cells[i] = g.cells.day_cells[i];
        if (v.after_month) v.after_month();
        if (v.focus_day >= 1 && v.focus_day <= g.days) {
            out->focus_rect = focus_rect_around(g.cells.day_cells[v.focus_day - 1], area);
            draw_day_focus(dc, out->focus_rect);
        }
    }
    if (v.clock_shown && !v.month_only) {
        paint_clock(dc, settings, f, area.right, v.now_hour, v.now_minute, v.now_second, v.halo,
                    client_w, client_h, &out->clock_rect, &out->clock_text_rect, &colours);
        out->clock_drawn = true;
    }
}
