// Clock text and face geometry.
#include "app/clock_layout.h"

#include <cmath>
#include <cstdio>

double clock_cos[60];
double clock_sin[60];

namespace {
bool tables_filled = false;

int wrap(int v, int n) {
    v %= n;
    return v < 0 ? v + n : v;
}
}  // namespace

void clock_tables_fill() {
    for (int i = 0; i < 60; ++i) {
        const double a = i * 0.10472 + 4.7124;
        clock_cos[i] = std::cos(a);
        clock_sin[i] = std::sin(a);
    }
    tables_filled = true;
}

void format_clock_text(char* out, size_t size, int hour, int minute, int second, int method,
                       int ampm, int with_seconds) {
    if (size == 0) return;
    int h = hour;
    const char* mark = "AM";
    if (method != 0 && h >= 12) {
        mark = "PM";
        h -= 12;
    }
    if (method == 0) {
        if (with_seconds)
            std::snprintf(out, size, "   %2d:%02d:%02d", h, minute, second);
        else
            std::snprintf(out, size, "   %2d:%02d", h, minute);
    } else if (ampm != 0) {
        if (with_seconds)
            std::snprintf(out, size, "   %2d:%02d:%02d %s", h, minute, second, mark);
        else
            std::snprintf(out, size, "   %2d:%02d %s", h, minute, mark);
    } else {
        if (with_seconds)
            std::snprintf(out, size, "   %s %2d:%02d:%02d", mark, h, minute, second);
        else
            std::snprintf(out, size, "   %s %2d:%02d", mark, h, minute);
    }
}

CellRect digital_clock_rect(int anchor_x, int anchor_y, int text_w, int text_h) {
    return {anchor_x - text_w, anchor_y, anchor_x, anchor_y + text_h};
}

ClockPoint clock_point(int cx, int cy, int r, int i, double f) {
    if (!tables_filled) clock_tables_fill();
    i = wrap(i, 60);
    // Products in double precision, truncated toward zero.
    return {cx + (int)(f * r * clock_cos[i]), cy + (int)(f * r * clock_sin[i])};
}

void analog_clock(int area_right, int col_unit, int row_height, int anchor_x, int anchor_y,
                  int text_w, int hour, int minute, AnalogClock* out) {
    const int room = area_right - 4 * col_unit;
    int r = (3 * row_height) / 2;
    if (text_w + 2 * r > room) r = (room - text_w) / 2;
    out->face = r > 0;
    if (!out->face) r = 0;  // no face: the text keeps its place next to the anchor
    out->r = r;
    out->cx = anchor_x - r;
    out->cy = anchor_y + r - row_height;
    out->face_rect = {out->cx - r, out->cy - r, out->cx + r, out->cy + r};

    for (int k = 0; k < 12; ++k) {
        const double f = (k % 3 == 0) ? 0.75 : 0.9;
        out->tick_from[k] = clock_point(out->cx, out->cy, r, 5 * k, f);
        out->tick_to[k] = clock_point(out->cx, out->cy, r, 5 * k, 1.0);
    }
    const int h12 = wrap(hour, 24) % 12;
    const int m = wrap(minute, 60);
    const int q = m / 12;
    const double hour_f[4] = {0.6, 0.08, 0.2, 0.08};
    const double minute_f[4] = {0.85, 0.08, 0.3, 0.08};
    for (int j = 0; j < 4; ++j) {
        out->hour_hand[j] =
            clock_point(out->cx, out->cy, r, 5 * ((h12 + 3 * j) % 12) + q, hour_f[j]);
        out->minute_hand[j] = clock_point(out->cx, out->cy, r, (m + 15 * j) % 60, minute_f[j]);
    }
    out->text_x = (out->cx - r) - 4;
    out->text_y = anchor_y + row_height;
    out->text_rect = {out->text_x - text_w, out->text_y, out->cx - r, out->text_y + row_height};
    // Without a face the tick's clock rectangle is the text itself.
    if (!out->face) out->face_rect = out->text_rect;
}
