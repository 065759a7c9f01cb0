// The month view's day cursor: the day the keys move and act on. It moves by day and week
// across month ends, by month and year with the day kept where the month has it, to the
// month's first and last day and to today, never outside 1 January 1980 to 31 December 2079
// (a move that would leave that range is not made). The month on show is the cursor's month;
// when the month on show changes another way (the month buttons, the display-month dialog,
// the reset command, the wheel) the cursor follows it into that month.
#pragma once

struct DayCursor {
    int year, month, day;
};

enum class CursorMove {
    kPreviousDay,    // Left
    kNextDay,        // Right
    kPreviousWeek,   // Up
    kNextWeek,       // Down
    kPreviousMonth,  // PageUp
    kNextMonth,      // PageDown
    kPreviousYear,   // Ctrl+PageUp
    kNextYear,       // Ctrl+PageDown
    kMonthStart,     // Home
    kMonthEnd,       // End
    kToday,          // T, Ctrl+Home
};

// The cursor after the move; today is the date the move to today goes to. A cursor outside
// the range or on a day its month lacks is first brought onto the nearest day within it.
DayCursor move_cursor(const DayCursor& c, CursorMove move, const DayCursor& today);

// The cursor once the month on show became year-month by another way than a cursor move:
// unchanged when it lies in that month already, today when today does, else the same day
// number, or the month's last day when it is shorter.
DayCursor cursor_in_month(const DayCursor& c, int year, int month, const DayCursor& today);

// Whether the cursor is the same day.
bool same_day(const DayCursor& a, const DayCursor& b);

// The months the wheel steps: each full notch of delta (120, positive away from the user)
// is one month back; what is left of a notch (high-resolution wheels send parts) is kept in
// *rest for the next turn, and a turn the other way starts over. Returns the months to step,
// negative for back.
int wheel_months(int delta, int* rest);
