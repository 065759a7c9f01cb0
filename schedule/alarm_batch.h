// The entries that come due in one alarm check, taken together: an alarm window shows all of
// them, so two entries due in the same minute (or several skipped during a sleep) all ring.
// A batch keeps each entry as it was when it came due, so a reminder shown again later
// shows the same texts even after the list was edited.
#pragma once

#include <stdint.h>

#include "schedule/entry.h"

struct DueAlarm;

struct AlarmItem {
    ScheduleEntry entry;  // as it was when it came due, dated on the occurrence that rang and
                          // with that occurrence's instant in alarm_at
    int index;            // its place in the list then
    bool missed;          // came due while the program was not running
};

struct AlarmBatch {
    int count = 0;
    AlarmItem item[kMaxEntries];
};

// A batch of the given indices of list, copied as they are now; indices that are not live
// entries are left out. None is missed.
void alarm_batch_make(AlarmBatch* b, const ScheduleList& list, const int* indices, int count);

// A batch of the occurrences due (their entries copied as they are now, each dated on its
// occurrence); those whose index is not a live entry are left out. None is missed.
void alarm_batch_make_due(AlarmBatch* b, const ScheduleList& list, const DueAlarm* due, int count);

// Marks the items due at or before upto as missed (came due before the program started).
void alarm_batch_mark_missed(AlarmBatch* b, uint64_t upto);

// The same entries at the same instants. An index alone is not enough: after an edit
// re-sorts the list, an index can belong to another entry.
bool alarm_batch_same(const AlarmBatch* a, const AlarmBatch* b);

// Appends the items of from that to does not hold yet (same index and instant), as far as
// there is room; returns how many were appended.
int alarm_batch_add(AlarmBatch* to, const AlarmBatch* from);

// Position in the batch of the entry whose alarm kind and sound the window uses: the first
// at or after position first with a sound (system sound or file), else first. -1 when the
// batch has no item there.
int alarm_batch_lead(const AlarmBatch* b, int first = 0);
