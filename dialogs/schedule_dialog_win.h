// The schedule dialog (template 205), modal over owner.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

struct ScheduleList;

// How the dialog shows its messages and its close question, called like message_box.
typedef int (*ScheduleNoticeFn)(HWND owner, const char* text, const char* caption, UINT flags);

// Opens the dialog on list with the work entry on the opening date (-1 fields: none given);
// Add, Change and Delete work on list in place. True when an entry was added, changed or
// deleted: the caller saves the list and repaints. notice nullptr: message_box.
bool schedule_dialog(HWND owner, const ScheduleOpening& opening, ScheduleList* list,
                     ScheduleNoticeFn notice = nullptr);
