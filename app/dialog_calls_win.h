// The dialogs the main window opens: those built so far come from dialogs/; the dialogs
// that are still to come are named entry points that change nothing yet.
#pragma once

#include <windows.h>

#include "dialogs/about_box_win.h"
#include "dialogs/day_contents_win.h"
#include "dialogs/display_month_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/recent_schedule_win.h"
#include "dialogs/view_state.h"

// Schedule dialog 205 opened on a date (fields -1: not given); non-zero when the list
// changed. Not built yet: always 0.
int schedule_dialog(HWND owner, const ScheduleOpening& opening);
