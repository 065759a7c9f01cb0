// The day contents dialog (IDD_DAY_CONTENTS): the entries of one day of the month on show.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

struct ScheduleList;

// How the dialog was closed: with OK, or with its schedule button (the caller then opens
// the schedule dialog on that date).
enum class DayContentsResult { kClosed, kToSchedule };

// Modal over owner for the view's clicked day of the month on show, listing the live
// entries of list; with national_holidays nonzero a national holiday's name comes first, a
// row of its own that belongs to no entry. A double click on an entry's row ends it for the
// schedule dialog too, and so does the schedule button; *entry (when given) then receives the
// place in list of the entry whose row was clicked or selected, else -1.
DayContentsResult day_contents_dialog(HWND owner, const ViewState& view, const ScheduleList& list,
                                      int national_holidays, int* entry = nullptr);
