// The day contents dialog (206): the entries of one day of the month on show.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

// Result of the dialog: closed with OK, or with its schedule button (the caller then opens
// the schedule dialog on that date).
constexpr int kDayContentsClosed = 0;
constexpr int kDayContentsToSchedule = 1;

// Modal over owner for the view's clicked day of the month on show, listing the live
// entries of the schedule list.
int day_contents_dialog(HWND owner, const ViewState& view);
