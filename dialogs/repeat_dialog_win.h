// The repeat dialog (template 213), modal over the schedule dialog: how an entry repeats
// from its date. Its rules are in dialogs/repeat_dialog.h.
#pragma once

#include <windows.h>

#include "calendar/date.h"
#include "schedule/entry.h"

// How the dialog tells what its fields cannot hold, called like message_box.
typedef int (*RepeatNoticeFn)(HWND owner, const char* text, const char* caption, UINT flags);

// Shows *rule for an entry starting on start. True with the new rule in *rule after OK
// (the rule as it was when nothing was changed); false, *rule untouched, after Cancel or Esc.
// notice nullptr: message_box.
bool repeat_dialog(HWND owner, const CalendarDate& start, RepeatRule* rule,
                   RepeatNoticeFn notice = nullptr);
