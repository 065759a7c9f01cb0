// The question asked when a repeating entry is changed or deleted from a day (template 214):
// that day alone ("この日だけ"), every day ("すべて"), or neither.
#pragma once

#include <windows.h>

enum class OccurrenceScope { kCancel, kThisDay, kAll };

// How the schedule dialog asks; deleting chooses the text of a delete over that of a change.
typedef OccurrenceScope (*OccurrenceAskFn)(HWND owner, bool deleting);

// Modal over owner; Esc and the cancel button answer kCancel.
OccurrenceScope ask_occurrence_scope(HWND owner, bool deleting);
