#include "calendar/lunisolar.h"

#include "calendar/almanac_table.h"
#include "calendar/date.h"

namespace {

long long floor_quotient(long long a, long long b) {
    long long q = a / b;
    if ((a % b) != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}

int start_of(int n) {
    const long long mean = (long long)kLunationFirstMean + (long long)n * kMeanLunation;
    return (int)floor_quotient(mean, 10000) + (kLunations[n] >> 5);
}

}  // namespace

int almanac_day_index(int year, int month, int day) {
    if (year < kAlmanacFirstYear || year > kAlmanacLastYear) return -1;
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(month, year)) return -1;
    return day_serial(year, month, day) - 1;
}

int lunation_count() {
    return kLunationCount;
}

bool lunation_at(int n, Lunation* out) {
    if (n < 0 || n >= kLunationCount) return false;
    out->start = start_of(n);
    out->month = kLunations[n] & 0x0f;
    out->leap = (kLunations[n] >> 4) & 1;
    return true;
}

int lunation_of_day(int day_index) {
    if (day_index < 0 || day_index > kAlmanacLastDay) return -1;
    // The mean lunation lands on the right one or a neighbour.
    long long n = floor_quotient((long long)day_index * 10000 - kLunationFirstMean, kMeanLunation);
    if (n < 0) n = 0;
    if (n > kLunationCount - 2) n = kLunationCount - 2;
    while (n + 1 < kLunationCount - 1 && start_of((int)n + 1) <= day_index) ++n;
    while (n > 0 && start_of((int)n) > day_index) --n;
    return (int)n;
}

bool lunar_date_of(int year, int month, int day, LunarDate* out) {
    const int index = almanac_day_index(year, month, day);
    const int n = lunation_of_day(index);
    Lunation l;
    if (n < 0 || !lunation_at(n, &l)) return false;
    out->month = l.month;
    out->leap = l.leap;
    out->day = index - l.start + 1;
    return true;
}

int rokuyo_of(const LunarDate& date) {
    const int r = (date.month + date.day + 4) % kRokuyoCount;
    return r < 0 ? r + kRokuyoCount : r;
}
