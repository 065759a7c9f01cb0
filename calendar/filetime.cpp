#include "calendar/filetime.h"

#include "calendar/date.h"

namespace {

// Leap years in 1..y.
uint64_t leap_years_through(uint64_t y) {
    return y / 4 - y / 100 + y / 400;
}

uint64_t days_in_year(uint64_t y) { return is_leap_year(static_cast<int>(y)) ? 366 : 365; }

}  // namespace

bool wall_time_to_filetime(int year, int month, int day, int hour, int minute, int second, int ms,
                           uint64_t* out) {
    const unsigned y = (uint16_t)year;
    const unsigned mo = (uint16_t)month;
    const unsigned d = (uint16_t)day;
    const unsigned h = (uint16_t)hour;
    const unsigned mi = (uint16_t)minute;
    const unsigned s = (uint16_t)second;
    const unsigned milli = (uint16_t)ms;

    if (!out) return false;
    if (y < 1601 || y > 30827) return false;
    if (mo < 1 || mo > 12) return false;
    if (d < 1 || d > (unsigned)days_in_month((int)mo, (int)y)) return false;
    if (h > 23 || mi > 59 || s > 59 || milli > 999) return false;

    uint64_t days = 365ULL * (y - 1601) + leap_years_through(y - 1) - leap_years_through(1600);
    for (unsigned i = 1; i < mo; ++i) days += (uint64_t)days_in_month((int)i, (int)y);
    days += d - 1;

    const uint64_t secs = days * 86400ULL + h * 3600ULL + mi * 60ULL + s;
    *out = secs * kTicksPerSecond + milli * 10000ULL;
    return true;
}

bool filetime_to_wall_time(uint64_t ft, LocalTime* out) {
    uint64_t last = 0;
    if (!out || !wall_time_to_filetime(30827, 12, 31, 23, 59, 59, 999, &last) || ft > last)
        return false;
    const uint64_t secs = ft / kTicksPerSecond;
    uint64_t days = secs / 86400;
    // Whole 400-year cycles first, so the year walk takes at most 400 steps.
    uint64_t y = 1601 + 400 * (days / 146097);
    days %= 146097;
    while (days >= days_in_year(y)) days -= days_in_year(y++);
    int m = 1;
    while (days >= static_cast<uint64_t>(days_in_month(m, static_cast<int>(y))))
        days -= static_cast<uint64_t>(days_in_month(m++, static_cast<int>(y)));
    const uint64_t rest = secs % 86400;
    out->year = static_cast<int>(y);
    out->month = m;
    out->day = static_cast<int>(days) + 1;
    out->hour = static_cast<int>(rest / 3600);
    out->minute = static_cast<int>(rest / 60 % 60);
    out->second = static_cast<int>(rest % 60);
    return true;
}
