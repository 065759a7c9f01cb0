#include "app/main_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "calendar/date.h"
#include "calendar/era.h"
#include "calendar/filetime.h"
#include "calendar/national_holidays.h"
#include "resources/texts.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

namespace {

int clamp_int(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

WindowPos place_window(int* x1, int* y1, int x2, int y2, int screen_w, int screen_h) {
    WindowPos p;
    p.width = x2 - *x1;
    p.height = y2 - *y1;
    if (x2 >= screen_w) *x1 += screen_w - x2;
    if (y2 >= screen_h) *y1 += screen_h - y2;
    if (*x1 < 0) *x1 = 0;
    if (*y1 < 0) *y1 = 0;
    p.x = *x1;
    p.y = *y1;
    return p;
}

bool point_in_rect(const CellRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int arrow_at(const CellRect& left_arrow, const CellRect& right_arrow, int x, int y) {
    if (point_in_rect(left_arrow, x, y)) return 1;
    if (point_in_rect(right_arrow, x, y)) return 2;
    return 0;
}

bool in_move_band(const CellRect& left_arrow, const CellRect& right_arrow, int header_height,
                  int x, int y) {
    return y > 1 && y < header_height && arrow_at(left_arrow, right_arrow, x, y) == 0;
}

int day_cell_at(const CellRect cells[31], int x, int y) {
    for (int d = 1; d <= 31; ++d) {
        const CellRect& c = cells[d - 1];
        if (c.left == -1 && c.top == -1 && c.right == -1 && c.bottom == -1) continue;
        if (c.left <= x && x <= c.right && c.top <= y && y <= c.bottom) return d;
    }
    return -1;
}

MonthMetrics month_metrics(const CellRect& area, int clock_mode) {
    MonthMetrics m;
    const int h = area.bottom - area.top;
    m.col_unit = (area.right - area.left) / 24;
    m.row_height = clock_mode == 2 ? (h - 1) / 10 : clock_mode == 1 ? (h - 1) / 9 : (h - 1) / 8;
    // The day font fits its row, the rows the clock leaves included: in a wide, short window
    // with a clock the height, not the width, limits it.
    m.font_unit = 2 * m.col_unit < m.row_height ? 2 * m.col_unit : m.row_height;
    m.center_x = (area.left + area.right) / 2;
    m.first_row_top = 2 * m.row_height + 2;
    return m;
}

int scaled_to_dpi(int pixels, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    return static_cast<int>((static_cast<long long>(pixels) * dpi + kBaseDpi / 2) / kBaseDpi);
}

void month_cells(const MonthMetrics& m, int area_right, int digit_w, int digit_h,
                 int first_weekday, int days, MonthCells* out, int dpi) {
    // The buttons' size follows the font within bounds that grow with the DPI.
    const int b = clamp_int(digit_h - 2, scaled_to_dpi(8, dpi), scaled_to_dpi(16, dpi));
    const int margin = scaled_to_dpi(4, dpi);
    out->left_arrow = {margin, 2, b + margin, b + 2};
    out->right_arrow = {area_right - margin - b, 2, area_right - margin, b + 2};
    out->header_height = digit_h + 2;
    for (CellRect& c : out->day_cells) c = {-1, -1, -1, -1};

    int w = clamp_int(first_weekday, 0, 6);
    int y = m.first_row_top;
    const int n = clamp_int(days, 0, 31);
    // A font's measured cell can be taller than its row, and its digits wider than a column:
    // the cell, and so today's box and a marked day's box, stays within its row and keeps a
    // pixel (the box's pen) off the next column, so no box reaches over another number and a
    // click hits one day only. Columns that collapsed (no column unit) are left as measured.
    const int cell_h = digit_h < m.row_height ? digit_h : m.row_height;
    int half_w = digit_w / 2 + 2;
    if (m.col_unit > 0) half_w = std::min(half_w, std::max(0, (3 * m.col_unit) / 2 - 1));
    for (int d = 1; d <= n; ++d) {
        const int xc = m.center_x + (w - 3) * 3 * m.col_unit;
        out->day_cells[d - 1] = {xc - half_w, y + 1, xc + half_w, y + cell_h - 2};
        if (++w > 6) {
            w = 0;
            y += m.row_height;
        }
    }
}

CellRect focus_rect_around(const CellRect& c, const CellRect& area) {
    if (rect_empty(c) || c.left < 0) return CellRect{0, 0, 0, 0};
    CellRect r = {c.left - 3, c.top - 3, c.right + 3, c.bottom + 1 + 3};
    r.left = std::max(r.left, area.left);
    r.top = std::max(r.top, area.top);
    r.right = std::min(r.right, area.right);
    r.bottom = std::min(r.bottom, area.bottom);
    return rect_empty(r) ? CellRect{0, 0, 0, 0} : r;
}

void format_date_tip(char* out, size_t size, int year, int month, int day, int wareki) {
    if (size == 0) return;
    const int wd = weekday_of(year, month, day);
    const char* name = (wd >= 0 && wd <= 6) ? weekday_names_ja[wd] : "";
    char era[32];
    if (wareki != 0 && date_era_text(year, month, day, era, sizeof era))
        std::snprintf(out, size, kTrayTipEraFormat, era, month, day, name);
    else
        std::snprintf(out, size, kTrayTipFormat, year, month, day, name);
}

void format_tray_tip(char* out, size_t size, int year, int month, int day, int national,
                     int wareki) {
    if (size == 0) return;
    format_date_tip(out, size, year, month, day, wareki);
    const char* holiday = national != 0 ? national_holiday_name(year, month, day) : nullptr;
    if (!holiday) return;
    const size_t used = std::strlen(out);
    std::snprintf(out + used, size - used, " %s", holiday);
}

void format_window_title(char* out, size_t size, int monthlang, int year, int month, int wareki) {
    if (size == 0) return;
    char era[32];
    if (monthlang != 0 && wareki != 0 && month_era_text(year, month, era, sizeof era)) {
        std::snprintf(out, size, kTitleEraFormatJa, kProgramName, era, month);
    } else if (monthlang != 0) {
        std::snprintf(out, size, kTitleFormatJa, kProgramName, year, month);
    } else {
        const char* name = (month >= 1 && month <= 12) ? month_names_en[month] : "";
        std::snprintf(out, size, kTitleFormatEn, kProgramName, name, year);
    }
}

void format_date_text(char* out, size_t size, const LocalTime& now) {
    if (size == 0) return;
    const int yy = ((now.year % 100) + 100) % 100;
    std::snprintf(out, size, "%02d/%02d/%02d", now.month, now.day, yy);
}

int calendar_year_of(int year) {
    const int yy = ((year % 100) + 100) % 100;
    return yy >= 80 ? 1900 + yy : 2000 + yy;
}

TickPlan plan_tick(const TickMemory& mem, const LocalTime& now, int clock_on, int seconds_on) {
    TickPlan p = {};
    p.year = calendar_year_of(now.year);
    p.month = now.month;
    p.day = now.day;
    p.new_day = now.day != mem.last_day;
    p.repaint_month = p.new_day && mem.last_day != -1;
    p.minute_changed = now.minute != mem.last_minute;

    p.alarm_upto = alarm_instant(p.year, now.month, now.day, now.hour, now.minute);
    const uint64_t upto = p.alarm_upto, checked = mem.last_checked;
    if (upto != 0) {
        if (checked != 0 && upto > checked) {
            p.check_alarms = true;  // every minute since the last one checked
            p.alarm_after = checked;
            if (!mem.ticked) p.missed_upto = upto - kOneMinute;
        } else if (checked == 0 || checked - upto > kTicksPerDay) {
            p.check_alarms = true;  // this minute alone
            p.alarm_after = upto - kOneMinute;
        } else if (!mem.ticked && upto < checked) {
            p.held_back_upto = checked;  // behind the previous run's mark: the user is told
        }
        // Otherwise this minute was checked already: wait for the clock to pass the mark.
    }

    if (clock_on != 0)
        p.clock_due = seconds_on != 0 ? now.second != mem.last_second : p.minute_changed;
    return p;
}

void finish_tick(TickMemory* mem, const TickPlan& plan, const LocalTime& now) {
    mem->last_day = now.day;
    mem->last_minute = now.minute;
    mem->last_second = now.second;
    mem->ticked = true;
    if (plan.check_alarms) mem->last_checked = plan.alarm_upto;
}

bool rings_when_stored(const ScheduleEntry& e, uint64_t now_minute, uint64_t last_checked,
                       OccurrenceAlarm* occurrence) {
    OccurrenceAlarm at;
    if (now_minute == 0 || last_checked < now_minute ||
        entry_alarms_between(e, now_minute - 1, now_minute, &at, 1) != 1)
        return false;
    if (occurrence) *occurrence = at;
    return true;
}

ClockRepaint clock_repaint_kind(bool same_date_text, int analog, bool minute_changed) {
    if (!same_date_text) return kRepaintWhole;
    return (analog != 0 && minute_changed) ? kRepaintClockAndText : kRepaintClock;
}

bool rect_empty(const CellRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool rect_within(const CellRect& r, const CellRect& outer) {
    if (rect_empty(r)) return true;
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
           r.bottom <= outer.bottom;
}

CellRect rect_union(const CellRect& a, const CellRect& b) {
    if (rect_empty(a)) return rect_empty(b) ? CellRect{0, 0, 0, 0} : b;
    if (rect_empty(b)) return a;
    return CellRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
}
