// Alarms put off with "5分後": each closed window's alarms wait, as they were shown, until
// their time comes, and are then shown again. They live only as long as the program runs.
// Times are a millisecond count that may wrap (the platform's tick count), so a clock set
// back or forward moves nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "schedule/alarm_batch.h"

constexpr uint32_t kSnoozeMs = 5 * 60 * 1000;
constexpr int kSnoozeSlots = 8;

struct SnoozeQueue {
    struct Slot {
        std::unique_ptr<AlarmBatch> batch;  // none: the slot is free
        uint32_t since = 0;                 // when it was put off
        uint32_t wait = 0;                  // for how long
    };
    Slot slot[kSnoozeSlots];
};

// Puts b off for wait ms from now. With every slot taken, b joins the batch that comes back
// last, which then waits for the new time: nothing is dropped. False only when no memory is
// left for the batch.
bool snooze_add(SnoozeQueue* q, const AlarmBatch& b, uint32_t now, uint32_t wait);

// The batch whose time has come (the one put off first among them), taken out of the queue;
// none when no time has come.
std::unique_ptr<AlarmBatch> snooze_take_due(SnoozeQueue* q, uint32_t now);

// How many batches wait.
int snooze_waiting(const SnoozeQueue& q);

// The interval of the "5分後" button: kSnoozeMs unless a test set another (0 restores it).
uint32_t snooze_interval();
void set_snooze_interval(uint32_t ms);
