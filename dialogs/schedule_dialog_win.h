// The schedule dialog (IDD_SCHEDULE), modal over owner.
#pragma once

#include <windows.h>

#include "dialogs/occurrence_question_win.h"
#include "dialogs/view_state.h"

class SoundPlayer;
struct ScheduleList;

// How the dialog shows its messages and its close question, called like message_box.
typedef int (*ScheduleNoticeFn)(HWND owner, const char* text, const char* caption, UINT flags);

// Told after an Add or Change stored the entry now at index of list (the caller rings an
// alarm due in the current minute, which its minute check has passed already).
struct ScheduleStored {
    void (*fn)(void* context, const ScheduleList& list, int index) = nullptr;
    void* context = nullptr;
};

// Opens the dialog on list with the work entry on the opening date (-1 fields: none given),
// or with the opening's entry selected and shown; Add, Change and Delete work on list in
// place. The ♪ button tries the sound file on sound (nullptr: it only beeps). Opened on a
// day, a change or delete of a repeating entry asks whether it is for that day alone (ask).
// True when an entry was added, changed or deleted: the caller saves the list and repaints.
// notice nullptr: message_box; ask nullptr: ask_occurrence_scope.
bool schedule_dialog(HWND owner, const ScheduleOpening& opening, ScheduleList* list,
                     SoundPlayer* sound, ScheduleNoticeFn notice = nullptr,
                     ScheduleStored stored = {}, OccurrenceAskFn ask = nullptr);
