// The schedule dialog's decisions that do not touch a window: which buttons an edit or a
// browse enables, which commands are field changes and which of them move the alarm group,
// the work entries the dialog starts from, and whether Change has an entry to write.
#pragma once

#include "calendar/date.h"
#include "dialogs/view_state.h"
#include "schedule/entry.h"

struct EditButtons {
    bool add, change, del;
};
constexpr EditButtons kButtonsOff = {false, false, false};
constexpr EditButtons kButtonsDeleteOnly = {false, false, true};

// The least height, in dialog units, the entry list keeps when the dialog gives up height to
// fit a short screen: its header and four rows.
constexpr int kLeastListHeight = 48;

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

// The entry's date as the first day of a rule: a year of the calendar and a day its month
// has. False for every-year entries, day codes and fields not filled in.
bool repeat_start_of(const ScheduleEntry& e, CalendarDate* start);

// An entry the fields add is one of its own: no identity (schedule_add makes one), not an
// occurrence of another series, nothing counted or stamped yet.
void as_new_entry(ScheduleEntry* e);

// Opened on a day, the dialog changes or deletes a held entry that falls on it more than
// once (a rule, every year) either on that day alone or as a whole: true, with the first
// day of the occurrence that covers the opening day, when it asks which.
bool occurrence_on_opening_day(const ScheduleEntry& e, const ScheduleOpening& opening,
                               CalendarDate* occurrence);

// "この日だけ変更": the series leaves out the occurrence starting on day, and *single is the
// edited entry on that day (on the date typed instead, when the date fields were changed),
// repeating not, carrying the series' identity and the day it stands for. False, nothing
// changed, when the series cannot leave the day out.
bool change_one_occurrence(ScheduleEntry* series, const CalendarDate& day,
                           const ScheduleEntry& edited, ScheduleEntry* single);
