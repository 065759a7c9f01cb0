#include "app/day_cursor.h"

#include "calendar/date.h"
#include "calendar/month_step.h"

namespace {

constexpr int kWheelNotch = 120;

int month_length(int year, int month) { return days_in_month(month, year); }

// Months counted from January 1980: 0 .. 1199 within the range.
int month_index(int year, int month) { return (year - kShownYearFirst) * 12 + (month - 1); }
constexpr int kLastMonthIndex = (kShownYearLast - kShownYearFirst) * 12 + 11;

DayCursor in_range(const DayCursor& c) {
    DayCursor r = c;
    if (r.year < kShownYearFirst || (r.year == kShownYearFirst && r.month < 1)) return {kShownYearFirst, 1, 1};
    if (r.year > kShownYearLast || (r.year == kShownYearLast && r.month > 12)) return {kShownYearLast, 12, 31};
    if (r.month < 1) r.month = 1;
    if (r.month > 12) r.month = 12;
    const int n = month_length(r.year, r.month);
    if (r.day < 1) r.day = 1;
    if (r.day > n) r.day = n;
    return r;
}

// The cursor moved by whole months, its day kept where the new month has it; the cursor as
// it was when that leaves the range.
DayCursor by_months(const DayCursor& c, int months) {
    const int i = month_index(c.year, c.month) + months;
    if (i < 0 || i > kLastMonthIndex) return c;
    DayCursor r = {kShownYearFirst + i / 12, i % 12 + 1, c.day};
    const int n = month_length(r.year, r.month);
    if (r.day > n) r.day = n;
    return r;
}

// The cursor moved by days (at most a few weeks either way); as it was when that leaves the
// range.
DayCursor by_days(const DayCursor& c, int days) {
    DayCursor r = c;
    r.day += days;
    while (r.day < 1) {
        if (--r.month < 1) {
            r.month = 12;
            --r.year;
        }
        if (r.year < kShownYearFirst) return c;
        r.day += month_length(r.year, r.month);
    }
    while (r.day > month_length(r.year, r.month)) {
        r.day -= month_length(r.year, r.month);
        if (++r.month > 12) {
            r.month = 1;
            ++r.year;
        }
        if (r.year > kShownYearLast) return c;
    }
    return r;
}

}  // namespace

bool same_day(const DayCursor& a, const DayCursor& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

DayCursor move_cursor(const DayCursor& from, CursorMove move, const DayCursor& today) {
    const DayCursor c = in_range(from);
    switch (move) {
    case CursorMove::kPreviousDay: return by_days(c, -1);
    case CursorMove::kNextDay: return by_days(c, 1);
    case CursorMove::kPreviousWeek: return by_days(c, -7);
    case CursorMove::kNextWeek: return by_days(c, 7);
    case CursorMove::kPreviousMonth: return by_months(c, -1);
    case CursorMove::kNextMonth: return by_months(c, 1);
    case CursorMove::kPreviousYear: return by_months(c, -12);
    case CursorMove::kNextYear: return by_months(c, 12);
    case CursorMove::kMonthStart: return DayCursor{c.year, c.month, 1};
    case CursorMove::kMonthEnd: return DayCursor{c.year, c.month, month_length(c.year, c.month)};
    case CursorMove::kToday: return in_range(today);
    }
    return c;
}

DayCursor cursor_in_month(const DayCursor& c, int year, int month, const DayCursor& today) {
    const DayCursor target = in_range(DayCursor{year, month, 1});
    if (c.year == target.year && c.month == target.month) return in_range(c);
    if (today.year == target.year && today.month == target.month) return in_range(today);
    return in_range(DayCursor{target.year, target.month, c.day});
}

int wheel_months(int delta, int* rest) {
    // A turn the other way drops what was left of the last one.
    if ((*rest > 0 && delta < 0) || (*rest < 0 && delta > 0)) *rest = 0;
    const long long sum = static_cast<long long>(*rest) + delta;
    const long long notches = sum / kWheelNotch;  // toward zero: a part stays
    *rest = static_cast<int>(sum - notches * kWheelNotch);
    return static_cast<int>(-notches);
}
