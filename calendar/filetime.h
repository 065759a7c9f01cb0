// Wall-clock date and time to a 64-bit count of 100-ns intervals since
// 1 January 1601, matching the Win32 SystemTimeToFileTime conversion without
// calling it, so the portable core can compute alarm instants.
#pragma once

#include <stdint.h>

struct LocalTime;

constexpr uint64_t kTicksPerSecond = 10000000ULL;
constexpr uint64_t kTicksPerMinute = 600000000ULL;
constexpr uint64_t kTicksPerDay = 864000000000ULL;

// Each argument is first cut to 16 bits (the calendar-time record holds
// WORDs), then checked as the platform does: year 1601..30827, month 1..12,
// day 1..length of the month (Feb 29 only in Gregorian leap years),
// hour < 24, minute < 60, second < 60, ms < 1000. On success writes *out
// and returns true; on failure (or a null out) returns false and leaves
// *out untouched. No time-zone conversion.
bool wall_time_to_filetime(int year, int month, int day, int hour, int minute, int second, int ms,
                           uint64_t* out);

// The reverse: the wall-clock date and time (to the second) of a count of 100-ns intervals
// since 1 January 1601, for counts up to the end of year 30827. False (and *out untouched)
// beyond that or for a null out.
bool filetime_to_wall_time(uint64_t ft, LocalTime* out);
