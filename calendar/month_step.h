// Stepping the month on show by one year or one month, within the years the calendar
// works in (January 1980 to December 2079). The main window's arrows step without any
// typed text; the display-month dialog steps from what its fields read as, so a typed
// number is brought into the range first and the shown month never leaves it.
#pragma once

constexpr int kShownYearFirst = 1980;
constexpr int kShownYearLast = 2079;

int clamp_shown_year(long long year);
int clamp_shown_month(long long month);

// The dialog's two fields as unsigned numbers; a field that does not read as one is not
// used and the step starts from the value passed in.
struct TypedMonth {
    bool year_read;
    unsigned year;
    bool month_read;
    unsigned month;
};

// Each takes typed (nullptr: no dialog), brings the start value into range and steps.
// True when the step was made; false at a limit, where the value stays at the (clamped)
// start. The month steps carry into the year.
bool step_year_up(const TypedMonth* typed, int* year);
bool step_year_down(const TypedMonth* typed, int* year);
bool step_month_up(const TypedMonth* typed, int* year, int* month);
bool step_month_down(const TypedMonth* typed, int* year, int* month);
