#include "schedule/alarm_batch.h"

#include "schedule/entry_dates.h"

namespace {

bool same_item(const AlarmItem& a, const AlarmItem& b) {
    return a.index == b.index && a.entry.alarm_at == b.entry.alarm_at;
}

bool holds(const AlarmBatch* b, const AlarmItem& it) {
    for (int k = 0; k < b->count; ++k)
        if (same_item(b->item[k], it)) return true;
    return false;
}

}  // namespace

void alarm_batch_make(AlarmBatch* b, const ScheduleList& list, const int* indices, int count) {
    const int n = schedule_live_count(list);
    b->count = 0;
    for (int k = 0; k < count && b->count < kMaxEntries; ++k) {
        const int i = indices[k];
        if (i < 0 || i >= n) continue;
        AlarmItem& it = b->item[b->count++];
        it.entry = list.entries[i];
        it.index = i;
        it.missed = false;
    }
}

void alarm_batch_make_due(AlarmBatch* b, const ScheduleList& list, const DueAlarm* due, int count) {
    const int n = schedule_live_count(list);
    b->count = 0;
    for (int k = 0; k < count && b->count < kMaxEntries; ++k) {
        const DueAlarm& d = due[k];
        if (d.index < 0 || d.index >= n) continue;
        AlarmItem& it = b->item[b->count++];
        it.entry = list.entries[d.index];
        it.entry.year = d.day.year;
        it.entry.month = d.day.month;
        it.entry.day = d.day.day;
        it.entry.alarm_at = d.at;
        it.index = d.index;
        it.missed = false;
    }
}

void alarm_batch_mark_missed(AlarmBatch* b, uint64_t upto) {
    for (int k = 0; k < b->count; ++k)
        if (b->item[k].entry.alarm_at <= upto) b->item[k].missed = true;
}

bool alarm_batch_same(const AlarmBatch* a, const AlarmBatch* b) {
    if (a->count == 0 || a->count != b->count) return false;
    for (int k = 0; k < a->count; ++k) {
        if (!same_item(a->item[k], b->item[k])) return false;
    }
    return true;
}

int alarm_batch_add(AlarmBatch* to, const AlarmBatch* from) {
    int added = 0;
    for (int k = 0; k < from->count && to->count < kMaxEntries; ++k) {
        if (holds(to, from->item[k])) continue;
        to->item[to->count++] = from->item[k];
        ++added;
    }
    return added;
}

int alarm_batch_lead(const AlarmBatch* b, int first) {
    if (first < 0 || first >= b->count) return -1;
    for (int k = first; k < b->count; ++k) {
        if (alarm_sounds(b->item[k].entry)) return k;
    }
    return first;
}
