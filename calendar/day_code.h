// Day codes an entry may hold in place of a day of the month, and the one rule that turns
// them into a day of a given year: the calendar grid, the day contents and the recent list
// all resolve them here.
#pragma once

constexpr int kDayThirdMonday = 97;
constexpr int kDaySecondMonday = 98;
constexpr int kDayMovable = 99;  // resolved by month: January, March, September, October

// Day of the month on which an entry with this day/month falls in `year`; a day code that
// does not resolve stays as it is (above 31), so it never equals a real day.
int resolve_day(int day, int month, int year);
