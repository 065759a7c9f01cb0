// The digital text clock, or the analog face with the time text to its left.
#include "app/clock_paint_win.h"

#include "app/clock_layout.h"
#include "app/month_colours_win.h"
#include "app/view_text_win.h"
#include "config/handles_win.h"
#include "config/settings.h"

namespace {

RECT to_rect(const CellRect& c) { return RECT{c.left, c.top, c.right, c.bottom}; }

void draw_hand(HDC dc, const ClockPoint p[4], COLORREF colour) {
    DcPenBrush hand(dc, colour, colour);
    POINT pts[4];
    for (int i = 0; i < 4; ++i) pts[i] = {p[i].x, p[i].y};
    Polygon(dc, pts, 4);
}

}  // namespace

void paint_clock(HDC dc, const Settings& settings, const MonthFrame& f, int area_right, int hour,
                 int minute, int second, bool halo, int client_w, int client_h, RECT* clock_rect,
                 RECT* text_rect, const MonthColours* given) {
    const MonthColours colours = given ? *given : scheme_month_colours(false);
    auto write = [&](int x, int y, const char* text) {
        if (halo)
            draw_text_mask_halo(dc, client_w, client_h, x, y, text, colours.halo);
        else
            draw_text_halo(dc, x, y, text, false);
    };
    const bool analog = settings.analog != 0;
    char text[32];
    // The analog clock never shows seconds.
    format_clock_text(text, sizeof text, hour, minute, second, settings.method, settings.ampm,
                      analog ? 0 : settings.second != 0);
    // Left selected for the next clock: the month no longer writes in it when it copies
    // its texts from pictures.
    use_view_font(dc, view_font(settings, ViewFontRole::kDay, f.day_font_height));
    SIZE ext = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &ext);
    const UINT old_align = SetTextAlign(dc, TA_RIGHT | TA_TOP);
    const COLORREF old_colour = SetTextColor(dc, colours.text);

    if (!analog) {
        write(f.clock_anchor_x, f.clock_anchor_y, text);
        *clock_rect = to_rect(digital_clock_rect(f.clock_anchor_x, f.clock_anchor_y, ext.cx, ext.cy));
        *text_rect = *clock_rect;
    } else {
        AnalogClock a;
        analog_clock(area_right, f.m.col_unit, f.m.row_height, f.clock_anchor_x, f.clock_anchor_y,
                     ext.cx, hour, minute, &a);
        if (a.face) {
            {
                DcPenBrush grey(dc, colours.clock_ticks, colours.clock_ticks);
                // Twelve lines of two points each, in one call.
                POINT pts[24];
                DWORD counts[12];
                for (int k = 0; k < 12; ++k) {
                    pts[2 * k] = {a.tick_from[k].x, a.tick_from[k].y};
                    pts[2 * k + 1] = {a.tick_to[k].x, a.tick_to[k].y};
                    counts[k] = 2;
                }
                PolyPolyline(dc, pts, counts, 12);
            }
            draw_hand(dc, a.hour_hand, colours.hour_hand);
            draw_hand(dc, a.minute_hand, colours.minute_hand);
        }
        write(a.text_x, a.text_y, text);
        *clock_rect = to_rect(a.face_rect);
        *text_rect = to_rect(a.text_rect);
    }
    SetTextColor(dc, old_colour);
    SetTextAlign(dc, old_align);
}
