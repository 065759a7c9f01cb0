// The main window's view that the dialogs read and write: the month on show, the day cell
// last clicked and the date the schedule dialog opens on. The main window owns one and hands
// it to the dialogs it opens; nothing here knows of windows, so dialogs/ and app/ both
// include it without a library cycle.
#pragma once

// The date the schedule dialog opens on; -1 in a field means not given. select: the entry
// (its place in the list) to open with, selected and shown; -1 for none.
struct ScheduleOpening {
    int year = -1;
    int month = -1;
    int day = -1;
    int select = -1;
};

struct ViewState {
    // The month on show: today's month from the window's creation on; changed by the month
    // buttons, the reset command and the display-month dialog.
    int shown_year = 0;
    int shown_month = 0;
    // The day of the last day cell clicked (1..31), 0 before any click.
    int clicked_day = 0;
    // Set by the main window each time before it opens the schedule dialog.
    ScheduleOpening schedule_opening;
};

// The schedule dialog opened from the clicked day: the shown month and that day.
inline ScheduleOpening opening_on_clicked_day(const ViewState& view) {
    return ScheduleOpening{view.shown_year, view.shown_month, view.clicked_day, -1};
}
