// The entries that come due in one alarm check, taken together: an alarm window shows all of
// them, so two entries due in the same minute (or several skipped during a sleep) all ring.
#pragma once

#include <stdint.h>

#include "schedule/entry.h"

struct AlarmBatch {
    int count;
    int index[kMaxEntries];        // list indices, in list order
    uint64_t alarm_at[kMaxEntries];  // each entry's instant when the batch was made
};

// A batch of the given indices of list with their current instants; indices that are not
// live entries are left out.
void alarm_batch_make(AlarmBatch* b, const ScheduleList& list, const int* indices, int count);

// The same entries at the same instants. An index alone is not enough: after an edit
// re-sorts the list, an index can belong to another entry.
bool alarm_batch_same(const AlarmBatch* a, const AlarmBatch* b);

// Position in the batch of the entry whose alarm kind and sound the window uses: the first
// with a sound (system sound or file), else the first. -1 for an empty batch.
int alarm_batch_lead(const AlarmBatch* b, const ScheduleList& list);
