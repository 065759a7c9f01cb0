#include "calendar/dayclass.h"

#include "calendar/date.h"
#include "calendar/national_holidays.h"

namespace {

ColorRef day_color(const DayClass& c, int cmode) {
    if (cmode != 0) {
        if (c.red) return kColorRed;
        if (c.saturday) return kColorBlue;
        return kColorBlack;
    }
    return make_rgb(c.red ? 255 : 0, 0, c.marked ? 255 : 0);
}

bool day_bit(uint32_t bits, int d) { return ((bits >> d) & 1u) != 0; }

}  // namespace

int classify_month(int year, int month, const DayMarks& marks, const MonthHolidays* national,
                   int cmode, DayClass out[31]) {
    if (month < 1 || month > 12 || !out) return 0;

    const int n = days_in_month(month, year);
    int w = weekday_of(year, month, 1);
    // Set by a Sunday holiday entry; makes the following Monday red. Starts
    // false, so a holiday on the last day of the previous month never
    // carries into the 1st.
    bool carry = false;

    for (int d = 1; d <= n; ++d) {
        DayClass c = {};
        c.holiday = day_bit(marks.holiday, d);
        c.marked = day_bit(marks.marked, d);
        c.national = national && national->name[d];
        c.substitute = carry;
        if (w == 0) {
            c.sunday = true;
            carry = true;
        } else if (w == 6) {
            c.saturday = true;
        }
        c.red = c.holiday || c.national || carry;
        c.color = day_color(c, cmode);
        c.draw_box = cmode != 0 && c.marked;
        out[d - 1] = c;

        carry = (w == 0) && c.holiday;
        w = (w + 1) % 7;
    }
    return n;
}

namespace {

constexpr int kMinContrast = 32;     // below this the box is next to invisible
constexpr int kShadeContrast = 64;   // the classic grey 192 against white 255

}  // namespace

ColorRef marked_box_colour(ColorRef face, ColorRef window) {
    const int lf = colour_lightness(face), lw = colour_lightness(window);
    const int gap = lf > lw ? lf - lw : lw - lf;
    if (gap >= kMinContrast) return face;
    int rgb[3] = {colour_channel(face, 0), colour_channel(face, 8), colour_channel(face, 16)};
    if (lw >= 128) {
        // Darker: every channel scaled by the same factor keeps the face's hue.
        const int target = lw - kShadeContrast;
        for (int& v : rgb) v = lf > 0 ? v * target / lf : target;
    } else {
        // Lighter: towards white by the share that reaches the target.
        const int target = lw + kShadeContrast;
        const int room = 255 - lf;
        for (int& v : rgb) v = room > 0 ? v + (255 - v) * (target - lf) / room : 255;
    }
    for (int& v : rgb) v = v < 0 ? 0 : (v > 255 ? 255 : v);
    return make_rgb(rgb[0], rgb[1], rgb[2]);
}
