#include "calendar/dayclass.h"

#include "calendar/date.h"

namespace {

ColorRef day_color(const DayClass& c, int cmode) {
    if (cmode != 0) {
        if (c.red) return kColorRed;
        if (c.saturday) return kColorBlue;
        return kColorBlack;
    }
    return make_rgb(c.red ? 255 : 0, 0, c.marked ? 255 : 0);
}

}  // namespace

int classify_month(int year, int month, const ScheduleEntry* list, int count, int cmode, DayClass out[31]) {
    if (month < 1 || month > 12 || !out) return 0;
    if (!list || count < 0) count = 0;

    const int n = days_in_month(month, year);
    int w = weekday_of(year, month, 1);
    // Set by a Sunday holiday; makes the following Monday red. Starts
    // false, so a holiday on the last day of the previous month never
    // carries into the 1st.
    bool carry = false;

    for (int d = 1; d <= n; ++d) {
        DayClass c = {};
        for (int i = 0; i < count; ++i) {
            if (!entry_on_date(&list[i], year, month, d)) continue;
            if (list[i].holiday != 0)
                c.holiday = true;
            else
                c.marked = true;
        }
        c.substitute = carry;
        if (w == 0) {
            c.sunday = true;
            carry = true;
        } else if (w == 6) {
            c.saturday = true;
        }
        c.red = c.holiday || carry;
        c.color = day_color(c, cmode);
        c.draw_box = cmode != 0 && c.marked;
        out[d - 1] = c;

        carry = (w == 0) && c.holiday;
        w = (w + 1) % 7;
    }
    return n;
}
