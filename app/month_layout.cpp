// Month view geometry and texts.
#include "app/month_layout.h"

#include <cstdio>

#include "calendar/date.h"
#include "calendar/era.h"
#include "resources/texts.h"

int clamp_shown_month(int month) { return month < 1 ? 1 : (month > 12 ? 12 : month); }

namespace {

// The numbers' height and the label line's under it: the largest numbers whose line and a
// line half their height end a pixel above the next row; none (0) when that line would be
// too small to read.
void split_row_for_labels(const MonthMetrics& m, int* number_em, int* label_em) {
    *number_em = m.font_unit;
    *label_em = 0;
    int u = m.font_unit;
    while (u > 0 && expected_line(u) + expected_line(u / 2) > m.row_height - 1) --u;
    if (u / 2 < kMinDayLabelEm) return;
    *number_em = u;
    *label_em = u / 2;
}

}  // namespace

MonthFrame month_frame(const CellRect& area, int clock_mode, int weeklang, bool labels, int dpi) {
    MonthFrame f;
    f.dpi = dpi;
    f.m = month_metrics(area, clock_mode);
    f.clock_anchor_x = area.right - 2 * f.m.col_unit;
    f.clock_anchor_y = f.m.first_row_top + 6 * f.m.row_height;
    int row_offset, height;
    if (weeklang != 0) {
        height = (8 * f.m.font_unit) / 10;
        row_offset = 0;
    } else {
        height = (6 * f.m.font_unit) / 10;
        row_offset = (12 * f.m.font_unit) / 100;
    }
    f.weekday_y = row_offset + f.m.row_height + 4;
    // The names end above the first week row, also in the lowest rows.
    const int room = f.m.first_row_top - f.weekday_y;
    if (height > room && room > 0) height = room;
    f.weekday_font_height = -height;
    for (int i = 0; i < 7; ++i) f.weekday_x[i] = f.m.center_x + (i - 3) * 3 * f.m.col_unit;
    int number_em = f.m.font_unit, label_em = 0;
    if (labels) split_row_for_labels(f.m, &number_em, &label_em);
    f.day_font_height = -number_em;
    f.label_font_height = -label_em;
    f.header_x = f.m.center_x;
    f.header_y = 2;
    return f;
}

void format_month_header(char* out, size_t size, int monthlang, int year, int month, int wareki) {
    if (size == 0) return;
    month = clamp_shown_month(month);
    char era[32];
    if (monthlang != 0 && wareki != 0 && month_era_text(year, month, era, sizeof era)) {
        std::snprintf(out, size, kMonthHeaderEraFormatJa, era, month);
    } else if (monthlang != 0) {
        std::snprintf(out, size, kMonthHeaderFormatJa, year, month);
    } else {
        std::snprintf(out, size, "%s %d", month_names_en[month], year);
    }
}

const char* weekday_label(int weeklang, int i) {
    if (i < 0 || i > 6) return "";
    return weeklang != 0 ? weekday_names_ja[i] : weekday_names_en[i];
}

void month_grid(const MonthFrame& f, int area_right, int digit_w, int digit_h, int year,
                int month, MonthGrid* out) {
    out->year = year;
    out->month = clamp_shown_month(month);
    out->days = days_in_month(out->month, year);
    if (out->days < 0) out->days = 0;
    if (out->days > 31) out->days = 31;
    out->first_weekday = weekday_of(year, out->month, 1);
    month_cells(f.m, area_right, digit_w, digit_h, out->first_weekday, out->days, &out->cells, f.dpi);
    for (int i = 0; i < 31; ++i) {
        out->drawn[i] = out->cells.day_cells[i];
        out->text_x[i] = out->text_y[i] = -1;
        if (i >= out->days) continue;
        const CellRect& c = out->cells.day_cells[i];
        out->drawn[i].bottom = c.bottom + 1;
        out->text_x[i] = (c.left + c.right) / 2;
        out->text_y[i] = c.top - 1;
    }
}

int expected_line(int h) { return h + (h + 9) / 10; }

bool day_labels_fit(const MonthFrame& f, int digit_h, int label_h, int label_w) {
    if (f.label_font_height == 0 || label_h <= 0 || label_w <= 0 || f.m.col_unit <= 0)
        return false;
    return digit_h + label_h <= f.m.row_height - 1 && label_w <= 3 * f.m.col_unit - 2;
}

int day_text_runs_shaped(const MonthGrid& g, const uint32_t colours[31], const unsigned shapes[31],
                         const int (*widths)[11], TextRun* out, int max) {
    uint16_t chars[31][2];
    int advances[31][2];
    CentredText texts[31];
    const int days = g.days < 31 ? g.days : 31;
    for (int d = 0; d < days; ++d) {
        const int day = d + 1;
        const unsigned shape = shapes ? shapes[d] : 0;
        const int* w = widths[shape];
        chars[d][0] = static_cast<uint16_t>(day >= 10 ? '0' + day / 10 : ' ');
        chars[d][1] = static_cast<uint16_t>('0' + day % 10);
        advances[d][0] = day >= 10 ? w[1 + day / 10] : w[0];
        advances[d][1] = w[1 + day % 10];
        texts[d] = CentredText{g.text_x[d], g.text_y[d], colours[d], 2, chars[d], advances[d], shape};
    }
    return centred_text_runs(texts, days, out, max);
}

int day_text_runs(const MonthGrid& g, const uint32_t colours[31], const int widths[11],
                  TextRun* out, int max) {
    const int (*one)[11] = reinterpret_cast<const int (*)[11]>(widths);
    return day_text_runs_shaped(g, colours, nullptr, one, out, max);
}

bool date_before(int y, int m, int d, int ty, int tm, int td) {
    return (long long)y * 10000 + m * 100 + d < (long long)ty * 10000 + tm * 100 + td;
}
