// Refreshing one subscribed feed by a conditional GET: the copy's ETag and Last-Modified go
// along, so an unchanged feed costs one request answered 304; a new copy replaces the last
// good one only when it is a calendar; a failure keeps the last good copy.
#pragma once

#include <stdint.h>

#include "schedule/dav_http.h"
#include "schedule/feed_cache.h"

enum class FeedOutcome {
    kNew,        // a new copy is in the entry
    kUnchanged,  // the server said the copy is current
    kFailed,     // entry.error says why; the last good copy stays
};

struct FeedRefresh {
    FeedOutcome outcome;
    bool error_changed;  // the failure (or its end) differs from the last try's: tell once
};

// Fetches entry->url now (seconds since 1970, UTC) and updates the entry.
FeedRefresh feed_refresh(HttpClient* http, FeedCacheEntry* entry, int64_t now);

// Whether text starts as an iCalendar object (after a byte-order mark and blank lines).
bool feed_looks_like_calendar(const char* text, size_t n);
