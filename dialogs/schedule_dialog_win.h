// The schedule dialog (IDD_SCHEDULE), modal over owner.
#pragma once

#include <windows.h>

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

// Opens the dialog on list with the work entry on the opening date (-1 fields: none given);
// Add, Change and Delete work on list in place. The ♪ button tries the sound file on sound
// (nullptr: it only beeps). True when an entry was added, changed or deleted: the caller
// saves the list and repaints. notice nullptr: message_box.
bool schedule_dialog(HWND owner, const ScheduleOpening& opening, ScheduleList* list,
                     SoundPlayer* sound, ScheduleNoticeFn notice = nullptr,
                     ScheduleStored stored = {});
