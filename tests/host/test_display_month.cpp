// The display-month dialog's field readings, its live application while typing and its
// OK check.
#include <gtest/gtest.h>

#include "dialogs/display_month.h"

namespace {

TEST(DisplayMonthFields, LeadingNumber) {
    struct Case {
        const char* text;
        int want;
    } cases[] = {
        {"", 0},          {"abc", 0},        {"2004", 2004},     {"  2004", 2004},
        {"12x", 12},      {"-5", -5},        {"+7", 7},          {"0012", 12},
        {"123456789", 123456789},            {"1234567891", 123456789},  // nine characters only
        {"  12345678", 1234567},            {"１２", 12},       // full-width digits, as the IME types them
    };
    for (const Case& c : cases) EXPECT_EQ(month_field_number(c.text), c.want) << c.text;
    EXPECT_EQ(month_field_number(nullptr), 0);
}

TEST(DisplayMonthFields, UnsignedReading) {
    struct Case {
        const char* text;
        bool read;
        unsigned want;
    } cases[] = {
        {"", false, 0},      {"   ", false, 0},   {"2004", true, 2004},  {" 12 ", true, 12},
        {"0", true, 0},      {"12a", false, 0},   {"-3", false, 0},      {"+3", false, 0},
        {"1 2", false, 0},   {"99999999999", true, 4294967295u},
    };
    for (const Case& c : cases) {
        unsigned v = 77;
        EXPECT_EQ(month_field_unsigned(c.text, &v), c.read) << c.text;
        EXPECT_EQ(v, c.read ? c.want : 77u) << c.text;
    }
    unsigned v = 0;
    EXPECT_FALSE(month_field_unsigned(nullptr, &v));
}

TEST(DisplayMonthFields, TypedMonthFromBothFields) {
    TypedMonth t = typed_month_of("1000", "x");
    EXPECT_TRUE(t.year_read);
    EXPECT_EQ(t.year, 1000u);
    EXPECT_FALSE(t.month_read);
    t = typed_month_of("", "14");
    EXPECT_FALSE(t.year_read);
    EXPECT_TRUE(t.month_read);
    EXPECT_EQ(t.month, 14u);
}

// Typing a year digit by digit puts it on show only at the fourth digit, and only when it
// lies in 1980..2079; months likewise 1..12.
TEST(DisplayMonthFields, LiveApplicationWhileTyping) {
    struct Case {
        const char* text;
        bool applies;
        int want;
    } years[] = {
        {"2", false, 0},     {"20", false, 0},   {"200", false, 0},  {"2004", true, 2004},
        {"1979", false, 0},  {"1980", true, 1980}, {"2079", true, 2079}, {"2080", false, 0},
        {"", false, 0},      {"19x", false, 0},
    },
      months[] = {
        {"0", false, 0}, {"1", true, 1}, {"12", true, 12}, {"13", false, 0}, {"", false, 0},
        {"7a", true, 7},
    };
    for (const Case& c : years) {
        int y = -1;
        EXPECT_EQ(live_year(c.text, &y), c.applies) << c.text;
        EXPECT_EQ(y, c.applies ? c.want : -1) << c.text;
    }
    for (const Case& c : months) {
        int m = -1;
        EXPECT_EQ(live_month(c.text, &m), c.applies) << c.text;
        EXPECT_EQ(m, c.applies ? c.want : -1) << c.text;
    }
}

TEST(DisplayMonthFields, OkCheck) {
    struct Case {
        const char* year;
        const char* month;
        bool ok;
    } cases[] = {
        {"2004", "5", true},  {"1980", "1", true},  {"2079", "12", true}, {"2004", "13", false},
        {"2004", "0", false}, {"1979", "5", false}, {"2080", "5", false}, {"", "5", false},
        {"2004", "", false},  {"abc", "5", false},
    };
    for (const Case& c : cases) {
        int y = -1, m = -1;
        SCOPED_TRACE(testing::Message() << c.year << "/" << c.month);
        EXPECT_EQ(display_month_check(c.year, c.month, &y, &m), c.ok);
        if (c.ok) {
            EXPECT_EQ(y, month_field_number(c.year));
            EXPECT_EQ(m, month_field_number(c.month));
        } else {
            EXPECT_EQ(y, -1);  // nothing is taken from a refused check
            EXPECT_EQ(m, -1);
        }
    }
}

}  // namespace
