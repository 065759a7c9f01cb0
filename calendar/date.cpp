#include "calendar/date.h"

#include <stdint.h>
#include <time.h>

#include "resources/texts.h"

namespace {

const int kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// One digit per year from 1950; March day = digit + 20, September = + 22.
const char kVernalTable[] =
    "1111111111011101110111011101110111011101110011001100110011001100110011001100010001000100010001000100";
const char kAutumnalTable[] =
    "1211121112111211121112111211121111111111111111111111111111111101110111011101110111011101110111001100";
const int kTableFirstYear = 1950;
const int kTableLastYear = 2049;

// After the table, the equinox days come from the usual approximation of the year's drift,
// floor(base + 0.242194 (y - 1980) - floor((y - 1980) / 4)), good up to 2099; it gives the
// table's own days for 1980..2049. Worked in millionths so no rounding can move a day.
const int kEquinoxFormulaLastYear = 2099;
const int64_t kVernalBase = 20843100;    // 20.8431 days
const int64_t kAutumnalBase = 23248800;  // 23.2488 days
const int64_t kDriftPerYear = 242194;    // 0.242194 days

int equinox_by_formula(int y, int64_t base) {
    const int64_t n = (int64_t)y - 1980;  // positive here, so division floors
    return (int)((base + kDriftPerYear * n) / 1000000 - n / 4);
}

// Leap years in 1..y (y >= 0).
int64_t leaps_through(int64_t y) {
    return y / 4 - y / 100 + y / 400;
}

// Serial in 64 bits so that any int arguments stay free of overflow.
int64_t serial64(int y, int m, int d) {
    if (y < 1980) y = 1980;
    int64_t days = 365 * (int64_t)(y - 1980) + leaps_through((int64_t)y - 1) - leaps_through(1979);
    const int64_t whole = m > 12 ? 12 : (int64_t)m - 1;
    for (int i = 1; i <= whole; ++i) days += days_in_month(i, y);
    return days + d;
}

LocalTime system_now() {
    LocalTime lt = {1980, 1, 1, 0, 0, 0};
    time_t t = time(nullptr);
    struct tm tmv;
#ifdef _WIN32
    if (localtime_s(&tmv, &t) != 0) return lt;
#else
    if (localtime_r(&t, &tmv) == nullptr) return lt;
#endif
    lt.year = tmv.tm_year + 1900;
    lt.month = tmv.tm_mon + 1;
    lt.day = tmv.tm_mday;
    lt.hour = tmv.tm_hour;
    lt.minute = tmv.tm_min;
    lt.second = tmv.tm_sec;
    return lt;
}

ClockSource g_clock = nullptr;

// Last two decimal digits, always 0..99, so each field prints as two chars.
int two_digits(int v) {
    int r = v % 100;
    return r < 0 ? r + 100 : r;
}

int parse2(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// The clock text "AA?BB?CC" (as the C library's _strdate/_strtime give it).
void put2(char* p, int v) {
    v = two_digits(v);
    p[0] = (char)('0' + v / 10);
    p[1] = (char)('0' + v % 10);
}

void clock_text(char out[9], int a, int b, int c, char sep) {
    put2(out, a);
    out[2] = sep;
    put2(out + 3, b);
    out[5] = sep;
    put2(out + 6, c);
    out[8] = '\0';
}

}  // namespace

const char* const weekday_names_ja[7] = {kWeekdayNamesJa[0], kWeekdayNamesJa[1], kWeekdayNamesJa[2],
                                         kWeekdayNamesJa[3], kWeekdayNamesJa[4], kWeekdayNamesJa[5],
                                         kWeekdayNamesJa[6]};
const char* const weekday_names_en[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char month_names_en[13][20] = {
    "",     "January", "February", "March",     "April",   "May",      "June",
    "July", "August",  "September", "October", "November", "December"};

int is_leap_year(int year) {
    return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 1 : 0;
}

int days_in_month(int month, int year) {
    if (month < 1 || month > 12) return 0;
    int n = kMonthLengths[month - 1];
    if (month == 2 && is_leap_year(year)) ++n;
    return n;
}

int day_serial(int y, int m, int d) {
    return (int)serial64(y, m, d);
}

int weekday_of(int y, int m, int d) {
    int64_t w = (serial64(y, m, d) + 1) % 7;
    return (int)(w < 0 ? w + 7 : w);
}

int second_monday(int y, int m) {
    int w = weekday_of(y, m, 1);
    return w <= 1 ? 9 - w : 16 - w;
}

int third_monday(int y, int m) {
    return second_monday(y, m) + 7;
}

int vernal_equinox_day(int y) {
    if (y > kTableLastYear && y <= kEquinoxFormulaLastYear)
        return equinox_by_formula(y, kVernalBase);
    if (y < kTableFirstYear || y > kTableLastYear) return 20;
    return kVernalTable[y - kTableFirstYear] - 28;
}

int autumnal_equinox_day(int y) {
    if (y > kTableLastYear && y <= kEquinoxFormulaLastYear)
        return equinox_by_formula(y, kAutumnalBase);
    if (y < kTableFirstYear || y > kTableLastYear) return 23;
    return kAutumnalTable[y - kTableFirstYear] - 26;
}

LocalTime get_local_now() {
    return g_clock ? g_clock() : system_now();
}

void set_clock_source(ClockSource src) {
    g_clock = src;
}

void get_today(int* y, int* m, int* d) {
    LocalTime now = get_local_now();
    char text[9];
    clock_text(text, now.month, now.day, now.year, '/');  // MM/DD/YY
    int yy = parse2(text + 6);
    if (m) *m = parse2(text);
    if (d) *d = parse2(text + 3);
    if (y) *y = yy >= 80 ? 1900 + yy : 2000 + yy;
}

void get_now_time(int* h, int* m, int* s) {
    LocalTime now = get_local_now();
    char text[9];
    clock_text(text, now.hour, now.minute, now.second, ':');  // HH:MM:SS
    if (h) *h = parse2(text);
    if (m) *m = parse2(text + 3);
    if (s) *s = parse2(text + 6);
}

long long civil_day_number(int y, int m, int d) {
    const int64_t yy = (int64_t)y - (m <= 2 ? 1 : 0);
    const int64_t era = (yy >= 0 ? yy : yy - 399) / 400;
    const int64_t yoe = yy - era * 400;
    const int64_t mp = ((int64_t)m + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarDate civil_date_of(long long z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t dd = doy - (153 * mp + 2) / 5 + 1;
    const int64_t mm = mp < 10 ? mp + 3 : mp - 9;
    return CalendarDate{(int)(yoe + era * 400 + (mm <= 2 ? 1 : 0)), (int)mm, (int)dd};
}
