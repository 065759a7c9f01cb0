#include "calendar/zassetsu.h"

#include "calendar/almanac_table.h"
#include "calendar/date.h"
#include "calendar/lunisolar.h"
#include "calendar/sekki.h"

namespace {

constexpr int kStemBoshin = 4;  // 戊
constexpr int kStemCount = 10;
// 1 January 1980 was a 癸 (癸酉) day.
constexpr int kStemOfFirstDay = 9;

struct Rule {
    Zassetsu kind;
    int degrees;  // the solar longitude the day is counted from
    int offset;   // days after it
};

// Every 雑節 but 社日 is a fixed count of days from one solar longitude.
constexpr Rule kRules[] = {
    {kSetsubun, 315, -1},       {kHiganStartSpring, 0, -3}, {kHiganEndSpring, 0, 3},
    {kHachijuhachiya, 315, 87}, {kNyubai, 80, 0},           {kHangesho, 100, 0},
    {kDoyoWinter, 297, 0},      {kDoyoSpring, 27, 0},       {kDoyoSummer, 117, 0},
    {kDoyoAutumn, 207, 0},      {kNihyakutoka, 315, 209},   {kNihyakuhatsuka, 315, 219},
    {kHiganStartAutumn, 180, -3}, {kHiganEndAutumn, 180, 3},
};

MonthDay shanichi(int year, int term) {
    const int autumnal = term == kTermAutumnalEquinox;
    const int month = solar_term_month(term);
    const int day = solar_term_day(year, term);
    const int offset = shanichi_offset(day_stem(year, month, day), equinox_before_noon(year, autumnal));
    return add_days(year, month, day, offset, nullptr);
}

}  // namespace

int day_stem(int year, int month, int day) {
    const int index = almanac_day_index(year, month, day);
    return index < 0 ? -1 : (index + kStemOfFirstDay) % kStemCount;
}

int shanichi_offset(int equinox_stem, bool before_noon) {
    const int after = ((kStemBoshin - equinox_stem) % kStemCount + kStemCount) % kStemCount;
    const int before = kStemCount - after;  // to the 戊 day before (10 when on 戊 itself)
    if (after == 0) return 0;
    if (after < before) return after;
    if (before < after) return -before;
    return before_noon ? -before : after;
}

MonthDay add_days(int year, int month, int day, int n, int* out_year) {
    int y = year, m = month, d = day + n;
    if (m < 1 || m > 12 || n < -366 || n > 366) return MonthDay{month, day};
    while (d < 1) {
        if (--m < 1) m = 12, --y;
        d += days_in_month(m, y);
    }
    while (d > days_in_month(m, y)) {
        d -= days_in_month(m, y);
        if (++m > 12) m = 1, ++y;
    }
    if (out_year) *out_year = y;
    return MonthDay{m, d};
}

bool zassetsu_of_year(int year, MonthDay out[kZassetsuCount]) {
    if (year < kAlmanacFirstYear || year > kAlmanacLastYear) return false;
    for (const Rule& r : kRules) {
        int month = 0;
        const int day = solar_longitude_day(year, r.degrees, &month);
        out[r.kind] = add_days(year, month, day, r.offset, nullptr);
    }
    out[kShanichiSpring] = shanichi(year, kTermVernalEquinox);
    out[kShanichiAutumn] = shanichi(year, kTermAutumnalEquinox);
    return true;
}

unsigned zassetsu_on(int year, int month, int day) {
    MonthDay days[kZassetsuCount];
    if (almanac_day_index(year, month, day) < 0 || !zassetsu_of_year(year, days)) return 0;
    unsigned mask = 0;
    for (int k = 0; k < kZassetsuCount; ++k)
        if (days[k].month == month && days[k].day == day) mask |= 1u << k;
    return mask;
}
