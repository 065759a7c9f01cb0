#include "calendar/sekki.h"

#include "calendar/almanac_table.h"

namespace {

int event_slot(int degrees) {
    for (int e = 0; e < kSolarEventsPerYear; ++e)
        if (kSolarEventLongitude[e] == degrees) return e;
    return -1;
}

int event_day(int year, int e) {
    const int i = (year - kAlmanacFirstYear) * kSolarEventsPerYear + e;
    return kSolarEventFirstDay[e] + ((kSolarEventDays[i / 4] >> (2 * (i % 4))) & 3);
}

bool table_has_year(int year) {
    return year >= kAlmanacFirstYear && year <= kAlmanacLastYear;
}

}  // namespace

int solar_term_month(int term) {
    if (term < 0 || term >= kSolarTermCount) return 0;
    return kSolarEventMonth[event_slot(term * 15)];
}

int solar_longitude_day(int year, int degrees, int* month) {
    const int e = event_slot(degrees);
    if (e < 0 || !table_has_year(year)) return 0;
    if (month) *month = kSolarEventMonth[e];
    return event_day(year, e);
}

int solar_term_day(int year, int term) {
    if (term < 0 || term >= kSolarTermCount) return 0;
    return solar_longitude_day(year, term * 15, nullptr);
}

void solar_terms_of_month(int year, int month, int term_of_day[32]) {
    for (int d = 0; d < 32; ++d) term_of_day[d] = -1;
    if (!table_has_year(year)) return;
    for (int e = 0; e < kSolarEventsPerYear; ++e) {
        const int degrees = kSolarEventLongitude[e];
        if (degrees % 15 == 0 && kSolarEventMonth[e] == month)
            term_of_day[event_day(year, e)] = degrees / 15;
    }
}

int solar_term_on(int year, int month, int day) {
    if (day < 1 || day > 31) return -1;
    int terms[32];
    solar_terms_of_month(year, month, terms);
    return terms[day];
}

bool equinox_before_noon(int year, int autumnal) {
    if (!table_has_year(year)) return false;
    const int i = 2 * (year - kAlmanacFirstYear) + (autumnal ? 1 : 0);
    return (kEquinoxMorning[i / 8] >> (i % 8)) & 1;
}
