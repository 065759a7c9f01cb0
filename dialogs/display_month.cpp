#include "dialogs/display_month.h"

#include "config/ascii.h"
#include "dialogs/number_field.h"

namespace {

bool shown_year_valid(int y) { return y >= kShownYearFirst && y <= kShownYearLast; }
bool month_valid(int m) { return m >= 1 && m <= 12; }

}  // namespace

int month_field_number(const char* raw) {
    if (!raw) return 0;
    char text[4 * kMonthFieldChars + 1];
    number_field_text(text, sizeof text, raw);
    int i = 0;
    while (i < kMonthFieldChars && ascii_blank(text[i])) ++i;
    bool negative = false;
    if (i < kMonthFieldChars && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // At most nine digits: the value always fits an int.
    int value = 0;
    for (; i < kMonthFieldChars && ascii_digit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

bool month_field_unsigned(const char* text, unsigned* value) { return number_field_unsigned(text, value); }

TypedMonth typed_month_of(const char* year_text, const char* month_text) {
    TypedMonth t = {false, 0, false, 0};
    t.year_read = month_field_unsigned(year_text, &t.year);
    t.month_read = month_field_unsigned(month_text, &t.month);
    return t;
}

bool live_year(const char* text, int* year) {
    const int y = month_field_number(text);
    if (!shown_year_valid(y)) return false;
    *year = y;
    return true;
}

bool live_month(const char* text, int* month) {
    const int m = month_field_number(text);
    if (!month_valid(m)) return false;
    *month = m;
    return true;
}

bool display_month_check(const char* year_text, const char* month_text, int* year, int* month) {
    const int y = month_field_number(year_text), m = month_field_number(month_text);
    if (!shown_year_valid(y) || !month_valid(m)) return false;
    *year = y;
    *month = m;
    return true;
}
