// The schedule dialog (template 205), modal over owner.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

// Opens the dialog with the work entry on the opening date (-1 fields: none given).
// Non-zero when an entry was added, changed or deleted: the caller saves the list and
// repaints.
int schedule_dialog(HWND owner, const ScheduleOpening& opening);

// Test seam: the function that shows the dialog's messages and its close question, called
// like message_box (nullptr: message_box again).
typedef int (*ScheduleNoticeFn)(HWND owner, const char* text, const char* caption, UINT flags);
void schedule_dialog_set_notice_for_test(ScheduleNoticeFn fn);
