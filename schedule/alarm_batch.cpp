#include "schedule/alarm_batch.h"

void alarm_batch_make(AlarmBatch* b, const ScheduleList& list, const int* indices, int count) {
    const int n = schedule_live_count(list);
    b->count = 0;
    for (int k = 0; k < count && b->count < kMaxEntries; ++k) {
        const int i = indices[k];
        if (i < 0 || i >= n) continue;
        b->index[b->count] = i;
        b->alarm_at[b->count] = list.entries[i].alarm_at;
        ++b->count;
    }
}

bool alarm_batch_same(const AlarmBatch* a, const AlarmBatch* b) {
    if (a->count == 0 || a->count != b->count) return false;
    for (int k = 0; k < a->count; ++k) {
        if (a->index[k] != b->index[k] || a->alarm_at[k] != b->alarm_at[k]) return false;
    }
    return true;
}

int alarm_batch_lead(const AlarmBatch* b, const ScheduleList& list) {
    if (b->count <= 0) return -1;
    for (int k = 0; k < b->count; ++k) {
        if (alarm_sounds(list.entries[b->index[k]])) return k;
    }
    return 0;
}
