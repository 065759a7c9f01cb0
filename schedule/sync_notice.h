// What a finished sync tells the user, once: a failure until it changes (not at every run of
// the timer), entries changed on both sides that were kept in both versions, and events the
// list had no room for, with their count until that changes. And the tray tip's line that
// says when the last sync succeeded.
#pragma once

#include <stddef.h>

#include <string>

#include "schedule/sync_engine.h"

// What was last told, kept for the program's run.
struct SyncTold {
    NetError error = NetError::kNone;
    int status = 0;
    int not_taken = 0;
};

// The reason of a failure in words (status: the HTTP status behind a server error).
std::string sync_error_text(NetError error, int status);

// The message for the outcome of a sync ("" when there is nothing to tell) with told
// updated. limit: the list's room in all. A stopped sync tells nothing and changes nothing.
std::string sync_notice(NetError error, int status, const SyncCounts& counts, int limit, SyncTold* told);

// "同期: 12/9 14:05".
void sync_tip_line(char* out, size_t size, int month, int day, int hour, int minute);
