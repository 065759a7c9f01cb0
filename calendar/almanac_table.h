// The old calendar's days 1980..2079, generated once from astronomy by
// calendar/tools/make_almanac_table.py into almanac_table.cpp (which is committed; the host
// layer checks that regenerating gives the same bytes). Days are JST days, counted from
// 1 January 1980 = day 0.
#pragma once

constexpr int kAlmanacFirstYear = 1980;
constexpr int kAlmanacLastYear = 2079;

// Lunations in order, from the one holding 1 January 1980 to the one after the one holding
// 31 December 2079 (its start ends the range). One byte each: bits 0-3 the month (1..12),
// bit 4 set for a leap month, bits 5-7 the start day's offset from the mean start
// floor((kLunationFirstMean + n * kMeanLunation) / 10000).
constexpr int kMeanLunation = 295306;  // 1/10000 day
extern const int kLunationCount;
extern const int kLunationFirstMean;
extern const unsigned char kLunations[];

// Per year 30 solar events in the order they come: the 24 terms (longitudes 0, 15, .. 345
// degrees) and the longitudes 27, 80, 100, 117, 207 and 297 (土用入り, 入梅, 半夏生). Each
// always falls in the same month; its day is kSolarEventFirstDay plus a 2-bit code. Codes
// are packed four a byte, low bits first, year by year (event e of year y at index
// (y - 1980) * 30 + e).
constexpr int kSolarEventsPerYear = 30;
constexpr int kSolarEventBytes =
    (kAlmanacLastYear - kAlmanacFirstYear + 1) * kSolarEventsPerYear / 4 + 1;
extern const unsigned char kSolarEventMonth[kSolarEventsPerYear];
extern const unsigned char kSolarEventFirstDay[kSolarEventsPerYear];
extern const short kSolarEventLongitude[kSolarEventsPerYear];
extern const unsigned char kSolarEventDays[kSolarEventBytes];

// Per year two bits, vernal then autumnal equinox: set when its instant falls before noon
// JST. Bit i of the table (i = 2 * (y - 1980) + which) is bit i % 8 of byte i / 8.
constexpr int kEquinoxMorningBytes = ((kAlmanacLastYear - kAlmanacFirstYear + 1) * 2 + 7) / 8;
extern const unsigned char kEquinoxMorning[kEquinoxMorningBytes];
