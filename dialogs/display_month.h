// Rules of the display-month dialog: what its year and month fields read as, when typing
// puts a month on show, and the OK check. The dialog procedure reads the field texts and
// applies the results.
#pragma once

#include "calendar/month_step.h"

// Characters of a field that the live reading and the OK check look at.
constexpr int kMonthFieldChars = 9;
// What the fields accept (EM_LIMITTEXT).
constexpr int kYearFieldLimit = 4;
constexpr int kMonthFieldLimit = 2;

// The leading decimal number of the first kMonthFieldChars characters of text (blanks
// before it and a sign are taken; full-width digits read as digits), 0 when there is none.
int month_field_number(const char* text);

// The field as an unsigned number: blanks, then decimal digits (full-width ones too), then
// nothing else but blanks. False for an empty field, a sign or any other character. Numbers too large for
// the type saturate (every use clamps them).
bool month_field_unsigned(const char* text, unsigned* value);

// What the step buttons start from.
TypedMonth typed_month_of(const char* year_text, const char* month_text);

// Live reading while typing: true, with the value, only when the field now names a year
// 1980..2079 (or a month 1..12); otherwise the month on show stays.
bool live_year(const char* text, int* year);
bool live_month(const char* text, int* month);

// The OK check: true with both values when the year is 1980..2079 and the month 1..12.
bool display_month_check(const char* year_text, const char* month_text, int* year, int* month);
