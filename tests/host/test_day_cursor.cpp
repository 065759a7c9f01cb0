// The day cursor's moves across month and year ends, at the limits of the calendar, and the
// cursor following a month put on show another way; the wheel's notches.
#include <gtest/gtest.h>

#include "app/day_cursor.h"

namespace {

using M = CursorMove;

std::string text(const DayCursor& c) {
    return std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
}

TEST(DayCursor, Moves) {
    const DayCursor today = {2024, 12, 9};
    const struct {
        DayCursor from;
        CursorMove move;
        DayCursor want;
    } cases[] = {
        // Days and weeks across month and year ends, leap days included.
        {{2024, 3, 1}, M::kPreviousDay, {2024, 2, 29}},
        {{2023, 3, 1}, M::kPreviousDay, {2023, 2, 28}},
        {{2024, 12, 31}, M::kNextDay, {2025, 1, 1}},
        {{2024, 1, 3}, M::kPreviousWeek, {2023, 12, 27}},
        {{2024, 2, 26}, M::kNextWeek, {2024, 3, 4}},
        {{2023, 2, 26}, M::kNextWeek, {2023, 3, 5}},
        {{2024, 12, 28}, M::kNextWeek, {2025, 1, 4}},
        // Months and years keep the day where the month has it.
        {{2024, 1, 31}, M::kNextMonth, {2024, 2, 29}},
        {{2023, 1, 31}, M::kNextMonth, {2023, 2, 28}},
        {{2024, 3, 31}, M::kPreviousMonth, {2024, 2, 29}},
        {{2024, 12, 15}, M::kNextMonth, {2025, 1, 15}},
        {{2025, 1, 15}, M::kPreviousMonth, {2024, 12, 15}},
        {{2024, 2, 29}, M::kNextYear, {2025, 2, 28}},
        {{2024, 2, 29}, M::kPreviousYear, {2023, 2, 28}},
        {{2024, 7, 4}, M::kPreviousYear, {2023, 7, 4}},
        // The month's first and last day, and today.
        {{2024, 2, 17}, M::kMonthStart, {2024, 2, 1}},
        {{2024, 2, 17}, M::kMonthEnd, {2024, 2, 29}},
        {{2100, 1, 1}, M::kMonthEnd, {2079, 12, 31}},
        {{1999, 5, 5}, M::kToday, {2024, 12, 9}},
        // Nothing moves beyond 1 January 1980 and 31 December 2079.
        {{1980, 1, 1}, M::kPreviousDay, {1980, 1, 1}},
        {{1980, 1, 5}, M::kPreviousWeek, {1980, 1, 5}},
        {{1980, 1, 8}, M::kPreviousWeek, {1980, 1, 1}},
        {{1980, 1, 20}, M::kPreviousMonth, {1980, 1, 20}},
        {{1980, 12, 20}, M::kPreviousYear, {1980, 12, 20}},
        {{1981, 1, 20}, M::kPreviousYear, {1980, 1, 20}},
        {{2079, 12, 31}, M::kNextDay, {2079, 12, 31}},
        {{2079, 12, 28}, M::kNextWeek, {2079, 12, 28}},
        {{2079, 12, 24}, M::kNextWeek, {2079, 12, 31}},
        {{2079, 12, 1}, M::kNextMonth, {2079, 12, 1}},
        {{2079, 1, 1}, M::kNextYear, {2079, 1, 1}},
        {{2078, 12, 1}, M::kNextYear, {2079, 12, 1}},
        // A stale cursor is brought within the range and its month first.
        {{1975, 6, 6}, M::kNextDay, {1980, 1, 2}},
        {{2024, 2, 31}, M::kNextDay, {2024, 3, 1}},
        {{2024, 13, 1}, M::kNextDay, {2024, 12, 2}},
    };
    for (const auto& c : cases) {
        const DayCursor got = move_cursor(c.from, c.move, today);
        EXPECT_TRUE(same_day(got, c.want)) << text(c.from) << " move " << static_cast<int>(c.move)
                                           << ": " << text(got) << " wanted " << text(c.want);
    }
    // Today outside the range lands on its nearest end.
    EXPECT_TRUE(same_day(move_cursor({2000, 1, 1}, M::kToday, {2080, 1, 1}), {2079, 12, 31}));
}

TEST(DayCursor, FollowsTheMonthOnShow) {
    const DayCursor today = {2024, 12, 9};
    const struct {
        DayCursor cursor;
        int year, month;
        DayCursor want;
    } cases[] = {
        {{2024, 5, 20}, 2024, 5, {2024, 5, 20}},   // already there
        {{2024, 11, 20}, 2024, 12, {2024, 12, 9}},  // today's month: today
        {{2024, 1, 31}, 2024, 2, {2024, 2, 29}},    // a shorter month: its last day
        {{2024, 1, 31}, 2023, 2, {2023, 2, 28}},
        {{2024, 3, 15}, 2030, 8, {2030, 8, 15}},
        {{2024, 3, 15}, 1979, 12, {1980, 1, 15}},   // beyond the range: its end
        {{2024, 3, 15}, 2080, 1, {2079, 12, 15}},
    };
    for (const auto& c : cases) {
        const DayCursor got = cursor_in_month(c.cursor, c.year, c.month, today);
        EXPECT_TRUE(same_day(got, c.want)) << text(c.cursor) << " into " << c.year << "-" << c.month
                                           << ": " << text(got);
    }
}

TEST(DayCursor, WheelNotches) {
    const struct {
        const char* what;
        int deltas[4];
        int n;
        int want_months[4];
    } cases[] = {
        {"one notch away: a month back", {120}, 1, {-1}},
        {"one notch toward: a month on", {-120}, 1, {1}},
        {"two notches at once", {240}, 1, {-2}},
        {"parts add up", {40, 40, 40, 40}, 4, {0, 0, -1, 0}},
        {"a part left over", {200, 40}, 2, {-1, -1}},
        {"the other way drops the part", {100, -100, -20}, 3, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        int rest = 0;
        for (int i = 0; i < c.n; ++i) EXPECT_EQ(wheel_months(c.deltas[i], &rest), c.want_months[i]) << c.what << " #" << i;
    }
}

}  // namespace
