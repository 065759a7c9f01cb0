#include "schedule/alarm_batch.h"

namespace {

int live_count() {
    return schedulecount < 0 ? 0 : schedulecount > kMaxEntries ? kMaxEntries : schedulecount;
}

}  // namespace

void alarm_batch_make(AlarmBatch* b, const int* indices, int count) {
    const int n = live_count();
    b->count = 0;
    for (int k = 0; k < count && b->count < kMaxEntries; ++k) {
        const int i = indices[k];
        if (i < 0 || i >= n) continue;
        b->index[b->count] = i;
        b->alarm_at[b->count] = schedule_list[i].alarm_at;
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

int alarm_batch_lead(const AlarmBatch* b) {
    if (b->count <= 0) return -1;
    for (int k = 0; k < b->count; ++k) {
        const uint8_t kind = schedule_list[b->index[k]].alarm_kind;
        if (kind == 2 || kind == 3) return k;
    }
    return 0;
}
