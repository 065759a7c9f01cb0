#include "calendar/month_step.h"

namespace {

int clamp_to(long long v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : (int)v); }

// The start of a year step: the typed year when there is one, and always within range.
int start_year(const TypedMonth* typed, int year) {
    return clamp_shown_year(typed && typed->year_read ? (long long)typed->year : year);
}

int start_month(const TypedMonth* typed, int month) {
    return clamp_shown_month(typed && typed->month_read ? (long long)typed->month : month);
}

}  // namespace

int clamp_shown_year(long long year) { return clamp_to(year, kShownYearFirst, kShownYearLast); }

int clamp_shown_month(long long month) { return clamp_to(month, 1, 12); }

bool step_year_up(const TypedMonth* typed, int* year) {
    *year = start_year(typed, *year);
    if (*year >= kShownYearLast) return false;
    ++*year;
    return true;
}

bool step_year_down(const TypedMonth* typed, int* year) {
    *year = start_year(typed, *year);
    if (*year <= kShownYearFirst) return false;
    --*year;
    return true;
}

bool step_month_up(const TypedMonth* typed, int* year, int* month) {
    *month = start_month(typed, *month);
    if (*month < 12) {
        ++*month;
        *year = clamp_shown_year(*year);  // the year field is read only when the step carries
        return true;
    }
    if (!step_year_up(typed, year)) return false;
    *month = 1;
    return true;
}

bool step_month_down(const TypedMonth* typed, int* year, int* month) {
    *month = start_month(typed, *month);
    if (*month > 1) {
        --*month;
        *year = clamp_shown_year(*year);
        return true;
    }
    if (!step_year_down(typed, year)) return false;
    *month = 12;
    return true;
}
