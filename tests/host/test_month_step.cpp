// Stepping the shown month: the arrows (no typed text) and the display-month dialog's
// buttons (from the typed fields), at every limit, and the range clamps.
#include <gtest/gtest.h>

#include "calendar/month_step.h"

namespace {

enum Op { kYearUp, kYearDown, kMonthUp, kMonthDown };

const char* op_name(Op op) {
    static const char* const names[] = {"year+", "year-", "month+", "month-"};
    return names[op];
}

bool run(Op op, const TypedMonth* typed, int* y, int* m) {
    switch (op) {
    case kYearUp: return step_year_up(typed, y);
    case kYearDown: return step_year_down(typed, y);
    case kMonthUp: return step_month_up(typed, y, m);
    case kMonthDown: return step_month_down(typed, y, m);
    }
    return false;
}

TEST(MonthStep, WithoutTypedTextAtEveryLimit) {
    struct Case {
        Op op;
        int y, m;
        bool changed;
        int want_y, want_m;
    } cases[] = {
        {kYearUp, 2004, 5, true, 2005, 5},      {kYearUp, 2078, 1, true, 2079, 1},
        {kYearUp, 2079, 7, false, 2079, 7},     {kYearDown, 2004, 5, true, 2003, 5},
        {kYearDown, 1981, 12, true, 1980, 12},  {kYearDown, 1980, 3, false, 1980, 3},
        {kMonthUp, 2004, 5, true, 2004, 6},     {kMonthUp, 2004, 12, true, 2005, 1},
        {kMonthUp, 2079, 11, true, 2079, 12},   {kMonthUp, 2079, 12, false, 2079, 12},
        {kMonthDown, 2004, 5, true, 2004, 4},   {kMonthDown, 2004, 1, true, 2003, 12},
        {kMonthDown, 1980, 2, true, 1980, 1},   {kMonthDown, 1980, 1, false, 1980, 1},
    };
    for (const Case& c : cases) {
        int y = c.y, m = c.m;
        SCOPED_TRACE(testing::Message() << op_name(c.op) << " " << c.y << "-" << c.m);
        EXPECT_EQ(run(c.op, nullptr, &y, &m), c.changed);
        EXPECT_EQ(y, c.want_y);
        EXPECT_EQ(m, c.want_m);
    }
}

TEST(MonthStep, FromTypedFieldsStaysInRange) {
    const bool no = false, yes = true;
    struct Case {
        Op op;
        TypedMonth typed;
        int y, m;  // shown before the step
        bool changed;
        int want_y, want_m;
    } cases[] = {
        // A typed number in range is the start.
        {kYearUp, {yes, 1999, no, 0}, 2004, 5, true, 2000, 5},
        {kYearDown, {yes, 2050, no, 0}, 2004, 5, true, 2049, 5},
        {kMonthUp, {no, 0, yes, 3}, 2004, 5, true, 2004, 4},
        {kMonthDown, {no, 0, yes, 9}, 2004, 5, true, 2004, 8},
        // Out of range: brought into 1980..2079 and 1..12 first, then stepped.
        {kYearUp, {yes, 1000, no, 0}, 2004, 5, true, 1981, 5},
        {kYearDown, {yes, 1000, no, 0}, 2004, 5, false, 1980, 5},
        {kYearUp, {yes, 9999, no, 0}, 2004, 5, false, 2079, 5},
        {kYearDown, {yes, 9999, no, 0}, 2004, 5, true, 2078, 5},
        {kYearUp, {yes, 4294967295u, no, 0}, 2004, 5, false, 2079, 5},
        {kMonthDown, {no, 0, yes, 14}, 2004, 5, true, 2004, 11},
        {kMonthUp, {no, 0, yes, 14}, 2004, 5, true, 2005, 1},
        {kMonthUp, {no, 0, yes, 0}, 2004, 5, true, 2004, 2},
        {kMonthDown, {no, 0, yes, 0}, 2004, 5, true, 2003, 12},
        // A carry reads the year field too.
        {kMonthUp, {yes, 2010, yes, 12}, 2004, 5, true, 2011, 1},
        {kMonthDown, {yes, 2010, yes, 1}, 2004, 5, true, 2009, 12},
        {kMonthUp, {yes, 2079, yes, 12}, 2004, 5, false, 2079, 12},
        {kMonthDown, {yes, 1980, yes, 1}, 2004, 5, false, 1980, 1},
        {kMonthUp, {yes, 3000, yes, 99}, 2004, 5, false, 2079, 12},
        {kMonthDown, {yes, 5, yes, 0}, 2004, 5, false, 1980, 1},
        // Without a carry the year field is not read.
        {kMonthUp, {yes, 1000, yes, 6}, 2004, 5, true, 2004, 7},
        // A field that does not read as a number leaves the shown value as the start.
        {kYearUp, {no, 0, no, 0}, 2079, 5, false, 2079, 5},
        {kMonthUp, {no, 1234, no, 12}, 2004, 12, true, 2005, 1},
        {kMonthDown, {no, 0, no, 0}, 1980, 1, false, 1980, 1},
    };
    for (const Case& c : cases) {
        int y = c.y, m = c.m;
        SCOPED_TRACE(testing::Message() << op_name(c.op) << " typed " << c.typed.year << "/"
                                        << c.typed.month << " shown " << c.y << "-" << c.m);
        EXPECT_EQ(run(c.op, &c.typed, &y, &m), c.changed);
        EXPECT_EQ(y, c.want_y);
        EXPECT_EQ(m, c.want_m);
    }
}

TEST(MonthStep, ClampsCoverTheWholeRange) {
    struct Case {
        long long v;
        int year, month;
    } cases[] = {
        {-5, 1980, 1},    {0, 1980, 1},        {1, 1980, 1},      {12, 1980, 12},
        {13, 1980, 12},   {1979, 1980, 12},    {1980, 1980, 12},  {2079, 2079, 12},
        {2080, 2079, 12}, {4294967295ll, 2079, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clamp_shown_year(c.v), c.year) << c.v;
        EXPECT_EQ(clamp_shown_month(c.v), c.month) << c.v;
    }
}

// Stepping through the whole range one month at a time visits every month once.
TEST(MonthStep, WalksTheWholeRangeBothWays) {
    int y = 1980, m = 1, steps = 0;
    while (step_month_up(nullptr, &y, &m)) {
        ++steps;
        ASSERT_GE(m, 1);
        ASSERT_LE(m, 12);
    }
    EXPECT_EQ(steps, 100 * 12 - 1);
    EXPECT_EQ(y, 2079);
    EXPECT_EQ(m, 12);
    while (step_month_down(nullptr, &y, &m)) --steps;
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(y, 1980);
    EXPECT_EQ(m, 1);
}

}  // namespace
