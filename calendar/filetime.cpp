#include "calendar/filetime.h"

#include "calendar/date.h"

namespace {

// Leap years in 1..y.
uint64_t leaps_through(uint64_t y) {
    return y / 4 - y / 100 + y / 400;
}

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

    uint64_t days = 365ULL * (y - 1601) + leaps_through(y - 1) - leaps_through(1600);
    for (unsigned i = 1; i < mo; ++i) days += (uint64_t)days_in_month((int)i, (int)y);
    days += d - 1;

    const uint64_t secs = days * 86400ULL + h * 3600ULL + mi * 60ULL + s;
    *out = secs * kTicksPerSecond + milli * 10000ULL;
    return true;
}
