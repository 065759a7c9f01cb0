#include "app/month_colours.h"

namespace {

int gap(ColorRef a, ColorRef b) {
    const int d = colour_lightness(a) - colour_lightness(b);
    return d < 0 ? -d : d;
}

// How far a text's lightness must lie from its back's to be read with ease: red on white
// and blue on white lie well beyond it, pure blue on black far below.
constexpr int kLegibleGap = 112;

// Shares of the window colour in the classic clock's greys on white: ticks 128, the hour
// hand 160, the minute hand 64.
constexpr int kTickShare = 128;
constexpr int kHourHandShare = 160;
constexpr int kMinuteHandShare = 64;

}  // namespace

ColorRef blend(ColorRef a, ColorRef b, int share) {
    if (share < 0) share = 0;
    if (share > 255) share = 255;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        const int x = colour_channel(a, 8 * i), y = colour_channel(b, 8 * i);
        rgb[i] = (x * (255 - share) + y * share + 127) / 255;
    }
    return make_rgb(rgb[0], rgb[1], rgb[2]);
}

ColorRef legible_on(ColorRef fg, ColorRef back) {
    if (gap(fg, back) >= kLegibleGap) return fg;
    const int lf = colour_lightness(fg), lb = colour_lightness(back);
    if (lb < 128) {
        // Toward white by the share that reaches the gap.
        const int target = lb + kLegibleGap > 255 ? 255 : lb + kLegibleGap;
        const int room = 255 - lf;
        const int share = room > 0 ? ((target - lf) * 255 + room - 1) / room : 255;
        return blend(fg, make_rgb(255, 255, 255), share);
    }
    // Toward black: every channel scaled by the same factor keeps the hue.
    const int target = lb - kLegibleGap < 0 ? 0 : lb - kLegibleGap;
    const int share = lf > 0 ? ((lf - target) * 255 + lf - 1) / lf : 255;
    return blend(fg, make_rgb(0, 0, 0), share);
}

MonthColours month_colours(const SchemeColours& s, bool high_contrast) {
    MonthColours m = {};
    m.back = s.window;
    m.text = s.window_text;
    m.halo = s.window;
    m.tick = s.window_text;
    if (high_contrast) {
        // The scheme's own colours alone: its link colour for the red days where it can be
        // told from the window, else its text; shapes tell the rest.
        m.red = gap(s.hot_light, s.window) >= kLegibleGap ? s.hot_light : s.window_text;
        m.blue = s.window_text;
        m.magenta = m.red;
        m.box = s.highlight;
        m.box_text_own = false;
        m.box_text = s.highlight_text;
        m.clock_ticks = m.hour_hand = m.minute_hand = s.window_text;
        return m;
    }
    m.red = legible_on(kColorRed, s.window);
    m.blue = legible_on(kColorBlue, s.window);
    m.magenta = legible_on(kColorMagenta, s.window);
    m.box = marked_box_colour(s.button_face, s.window);
    m.box_text_own = true;
    m.box_text = s.window_text;
    m.clock_ticks = blend(s.window_text, s.window, kTickShare);
    m.hour_hand = blend(s.window_text, s.window, kHourHandShare);
    m.minute_hand = blend(s.window_text, s.window, kMinuteHandShare);
    return m;
}

ColorRef day_text_colour(const DayClass& c, int cmode, const MonthColours& m, bool boxed) {
    if (boxed && !m.box_text_own) return m.box_text;
    if (cmode != 0) {
        if (c.red) return m.red;
        if (c.saturday) return m.blue;
        return m.text;
    }
    if (c.red) return c.marked ? m.magenta : m.red;
    return c.marked ? m.blue : m.text;
}

ColorRef weekday_colour(int weekday, int cmode, const MonthColours& m) {
    if (weekday == 0) return m.red;
    if (weekday == 6 && cmode == 1) return m.blue;  // the heading wants exactly 1
    return m.text;
}

bool shapes_shown(int day_shapes_setting, bool high_contrast) {
    return high_contrast || day_shapes_setting != 0;
}

unsigned day_shape(const DayClass& c, int cmode, bool shown) {
    if (!shown) return kShapeNone;
    unsigned s = kShapeNone;
    if (c.holiday || c.national || c.substitute) s |= kShapeUnderline;
    if (c.sunday) s |= kShapeBold;
    if (c.saturday && cmode != 0) s |= kShapeItalic;
    return s;
}

unsigned weekday_shape(int weekday, int cmode, bool shown) {
    if (!shown) return kShapeNone;
    if (weekday == 0) return kShapeBold;
    if (weekday == 6 && cmode == 1) return kShapeItalic;
    return kShapeNone;
}

bool day_boxed(const DayClass& c, bool shown) { return c.draw_box || (shown && c.marked); }

int shaped_weight(int base_weight, unsigned shape) {
    if (!(shape & kShapeBold)) return base_weight;
    return base_weight >= 600 ? 400 : 700;
}

int shaped_italic(int base_italic, unsigned shape) {
    if (!(shape & kShapeItalic)) return base_italic;
    return base_italic != 0 ? 0 : 1;
}
