// The day contents dialog (IDD_DAY_CONTENTS): the entries of one day of the month on show.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

struct ScheduleList;
struct FeedEntries;

// How the dialog was closed: with OK, or with its schedule button (the caller then opens
// the schedule dialog on that date).
enum class DayContentsResult { kClosed, kToSchedule };

// What the day contents show beside the entries, as the settings' switches say (each
// nonzero: shown).
struct DayContentsShows {
    int national_holidays;  // a national holiday's name, a row of its own
    int rokuyo, kyureki;    // the old calendar's row (day_contents_almanac_row), first of all
    int wareki;             // the header's year as the era year
};

// Modal over owner for the view's clicked day of the month on show, listing the live
// entries of list after the rows that belong to no entry (the old calendar's, then a
// national holiday's), then the subscribed events of feeds (when given), marked with their
// feed's name and standing for no entry. A double click on an entry's row ends it for the schedule dialog too,
// and so does the schedule button; *entry (when given) then receives the place in list of the
// entry whose row was clicked or selected, else -1.
DayContentsResult day_contents_dialog(HWND owner, const ViewState& view, const ScheduleList& list,
                                      const DayContentsShows& shows, int* entry = nullptr,
                                      const FeedEntries* feeds = nullptr);
