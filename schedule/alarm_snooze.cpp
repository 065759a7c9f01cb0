#include "schedule/alarm_snooze.h"

#include <new>

namespace {

uint32_t g_interval = 0;

// Milliseconds still to wait; 0 when the time has come. Unsigned differences stay right
// across a wrap of the count.
uint32_t remaining(const SnoozeQueue::Slot& s, uint32_t now) {
    const uint32_t gone = now - s.since;
    return gone >= s.wait ? 0 : s.wait - gone;
}

}  // namespace

bool snooze_add(SnoozeQueue* q, const AlarmBatch& b, uint32_t now, uint32_t wait) {
    SnoozeQueue::Slot* free_slot = nullptr;
    SnoozeQueue::Slot* last = nullptr;
    for (SnoozeQueue::Slot& s : q->slot) {
        if (!s.batch) {
            if (!free_slot) free_slot = &s;
        } else if (!last || remaining(s, now) >= remaining(*last, now)) {
            last = &s;
        }
    }
    if (free_slot) {
        free_slot->batch.reset(new (std::nothrow) AlarmBatch);
        if (!free_slot->batch) return false;
        *free_slot->batch = b;
        free_slot->since = now;
        free_slot->wait = wait;
        return true;
    }
    alarm_batch_add(last->batch.get(), &b);
    last->since = now;
    last->wait = wait;
    return true;
}

std::unique_ptr<AlarmBatch> snooze_take_due(SnoozeQueue* q, uint32_t now) {
    SnoozeQueue::Slot* first = nullptr;
    for (SnoozeQueue::Slot& s : q->slot) {
        if (!s.batch || remaining(s, now) != 0) continue;
        // The longest gone comes first.
        if (!first || now - s.since > now - first->since) first = &s;
    }
    if (!first) return nullptr;
    return std::move(first->batch);
}

int snooze_waiting(const SnoozeQueue& q) {
    int n = 0;
    for (const SnoozeQueue::Slot& s : q.slot) n += s.batch ? 1 : 0;
    return n;
}

uint32_t snooze_interval() { return g_interval ? g_interval : kSnoozeMs; }

void set_snooze_interval(uint32_t ms) { g_interval = ms; }
