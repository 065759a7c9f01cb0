// The schedule dialog's decisions that do not touch a window: which buttons an edit or a
// browse enables, which commands are field changes and which of them move the alarm group,
// the work entries the dialog starts from, and whether Change has an entry to write.
#pragma once

#include "schedule/entry.h"

struct EditButtons {
    bool add, change, del;
};
constexpr EditButtons kButtonsOff = {false, false, false};
constexpr EditButtons kButtonsDeleteOnly = {false, false, true};

// A detected edit latches when month, day and memo are present: Add is offered, and Change
// as well while an entry is held (held >= 0). Returns false when it does not latch.
bool edit_latches(int held, const ScheduleEntry* scratch, EditButtons* out);

// After a browse chose another file: Add, Change when an entry is held, never Delete.
EditButtons browse_buttons(int held);

// Controls whose commands, whatever their notification, count as a field change.
bool is_entry_field(int id);
// A field change that makes the alarm group follow at once: a text change of the hour or
// minute, or any command of the two alarm check boxes.
bool field_change_moves_alarm(int id, bool text_changed);

// The work entry on opening: the opening date (-1: none), no time, minutes before shown 0.
void opening_work_entry(ScheduleEntry* e, int year, int month, int day);
// The work entry after Delete or while several rows are selected: all zero but the date.
void cleared_work_entry(ScheduleEntry* e);

// Change writes only over a live entry.
bool change_has_target(int held, int count);
