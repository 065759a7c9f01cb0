// The dialogs the main window opens: the message box and the About box come from dialogs/;
// the dialogs that are still to come are named entry points that change nothing yet.
#pragma once

#include <windows.h>

#include "dialogs/about_box_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/view_state.h"

// Day-contents dialog 206 for the view's shown month and clicked day; non-zero when its
// schedule button was used. Not built yet: always 0.
int day_contents_dialog(HWND owner, const ViewState& view);
// Schedule dialog 205 opened on a date (fields -1: not given); non-zero when the list
// changed. Not built yet: always 0.
int schedule_dialog(HWND owner, const ScheduleOpening& opening);
