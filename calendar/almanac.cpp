#include "calendar/almanac.h"

#include <cstdio>
#include <cstring>

#include "calendar/date.h"
#include "calendar/sekki.h"
#include "calendar/zassetsu.h"
#include "config/cp932.h"
#include "resources/texts.h"

static_assert(sizeof kRokuyoNames / sizeof *kRokuyoNames == kRokuyoCount, "a name per 六曜");
static_assert(sizeof kSolarTermNames / sizeof *kSolarTermNames == kSolarTermCount, "a name per term");
static_assert(sizeof kZassetsuNames / sizeof *kZassetsuNames == kZassetsuCount, "a name per 雑節");

bool almanac_month(int year, int month, AlmanacMonth* out) {
    const int first = almanac_day_index(year, month, 1);
    int n = lunation_of_day(first);
    Lunation cur, next;
    if (n < 0 || !lunation_at(n, &cur) || !lunation_at(n + 1, &next)) return false;

    int terms[32];
    solar_terms_of_month(year, month, terms);
    MonthDay zassetsu[kZassetsuCount];
    if (!zassetsu_of_year(year, zassetsu)) return false;

    out->year = year;
    out->month = month;
    out->days = days_in_month(month, year);
    std::memset(out->day, 0, sizeof out->day);
    for (int d = 1; d <= out->days; ++d) {
        const int index = first + d - 1;
        if (index >= next.start) {  // a new moon: the next lunation begins
            cur = next;
            if (!lunation_at(++n + 1, &next)) return false;
        }
        AlmanacDay& a = out->day[d];
        a.lunar = LunarDate{cur.month, cur.leap, index - cur.start + 1};
        a.rokuyo = rokuyo_of(a.lunar);
        a.term = terms[d];
    }
    for (int k = 0; k < kZassetsuCount; ++k)
        if (zassetsu[k].month == month) out->day[zassetsu[k].day].zassetsu |= 1u << k;
    return true;
}

bool almanac_day(int year, int month, int day, AlmanacDay* out) {
    AlmanacMonth m;
    if (almanac_day_index(year, month, day) < 0 || !almanac_month(year, month, &m)) return false;
    *out = m.day[day];
    return true;
}

const char* almanac_label(const AlmanacDay& day, bool rokuyo, bool terms) {
    if (terms && day.term >= 0 && day.term < kSolarTermCount) return kSolarTermNames[day.term];
    if (rokuyo && day.rokuyo >= 0 && day.rokuyo < kRokuyoCount) return kRokuyoNames[day.rokuyo];
    return nullptr;
}

size_t almanac_day_text(const AlmanacDay& day, char* buf, size_t size) {
    char text[256];
    const int r = day.rokuyo >= 0 && day.rokuyo < kRokuyoCount ? day.rokuyo : 0;
    int len = std::snprintf(text, sizeof text, kLunarDateFormat, day.lunar.leap ? kLunarLeapMark : "",
                            day.lunar.month, day.lunar.day, kRokuyoNames[r]);
    const char* separator = kAlmanacNamesSeparator;
    auto add = [&](const char* name) {
        const int n = std::snprintf(text + len, sizeof text - len, "%s%s", separator, name);
        if (n > 0 && len + n < (int)sizeof text)
            len += n;
        else
            text[len] = '\0';  // a name that does not fit is left out whole
        separator = kAlmanacNameSeparator;
    };
    if (day.term >= 0 && day.term < kSolarTermCount) add(kSolarTermNames[day.term]);
    for (int k = 0; k < kZassetsuCount; ++k)
        if (day.zassetsu & (1u << k)) add(kZassetsuNames[k]);
    return cp932_copy(buf, size, text);
}
