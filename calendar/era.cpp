#include "calendar/era.h"

#include <cstdio>

#include "calendar/date.h"
#include "config/cp932.h"
#include "resources/texts.h"

static_assert(sizeof kEraNames / sizeof *kEraNames == kEraCount, "a name per era");

namespace {

struct EraStart {
    int year, month, day;
};

// Indexed by Era.
constexpr EraStart kEraStarts[kEraCount] = {{1926, 12, 25}, {1989, 1, 8}, {2019, 5, 1}};

bool on_or_after(int y, int m, int d, const EraStart& s) {
    if (y != s.year) return y > s.year;
    if (m != s.month) return m > s.month;
    return d >= s.day;
}

}  // namespace

bool era_of_date(int year, int month, int day, EraYear* out) {
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(month, year)) return false;
    for (int e = kEraCount - 1; e >= 0; --e) {
        if (on_or_after(year, month, day, kEraStarts[e])) {
            out->era = e;
            out->year = year - kEraStarts[e].year + 1;
            return true;
        }
    }
    return false;
}

bool era_of_month(int year, int month, EraYear* out) {
    return era_of_date(year, month, 1, out);
}

size_t era_year_text(const EraYear& era, char* buf, size_t size) {
    if (size == 0) return 0;
    buf[0] = '\0';
    if (era.era < 0 || era.era >= kEraCount) return 0;
    char text[32];
    if (era.year == 1)
        std::snprintf(text, sizeof text, kEraFirstYearFormat, kEraNames[era.era]);
    else
        std::snprintf(text, sizeof text, kEraYearFormat, kEraNames[era.era], era.year);
    return cp932_copy(buf, size, text);
}

namespace {

bool era_text(bool found, const EraYear& era, char* buf, size_t size) {
    if (size > 0) buf[0] = '\0';
    return found && era_year_text(era, buf, size) > 0;
}

}  // namespace

bool date_era_text(int year, int month, int day, char* buf, size_t size) {
    EraYear e;
    return era_text(era_of_date(year, month, day, &e), e, buf, size);
}

bool month_era_text(int year, int month, char* buf, size_t size) {
    EraYear e;
    return era_text(era_of_month(year, month, &e), e, buf, size);
}
