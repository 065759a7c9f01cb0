// The 24 solar terms (二十四節気) of 1980..2079 and the other solar longitudes the almanac
// uses, as JST days (calendar/almanac_table.h holds them).
#pragma once

// Term k begins when the sun's apparent longitude reaches 15 k degrees: 0 春分, 1 清明,
// .. 21 立春 (315), 22 雨水, 23 啓蟄. Every term falls in the same month every year.
constexpr int kSolarTermCount = 24;
constexpr int kTermVernalEquinox = 0;
constexpr int kTermSummerSolstice = 6;
constexpr int kTermAutumnalEquinox = 12;
constexpr int kTermWinterSolstice = 18;
constexpr int kTermSpringBegins = 21;  // 立春
int solar_term_month(int term);  // 0 for a term outside 0..23

// Day of the month on which the sun reaches `degrees` (a multiple of 15, or 27, 80, 100,
// 117, 207, 297) in year, and its month through *month; 0 for another longitude or a year
// outside 1980..2079.
int solar_longitude_day(int year, int degrees, int* month);

// Day of the month of term in year (in solar_term_month(term)); 0 outside.
int solar_term_day(int year, int term);

// The term that begins on a day, -1 for none (or a day outside the range).
int solar_term_on(int year, int month, int day);

// The terms of one month: term_of_day[d] is the term beginning on day d (1..31), else -1.
void solar_terms_of_month(int year, int month, int term_of_day[32]);

// Whether the equinox of year (vernal, or autumnal when autumnal is non-zero) falls before
// noon JST; false outside the range.
bool equinox_before_noon(int year, int autumnal);
