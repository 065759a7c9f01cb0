// The events of the subscribed calendars as entries of a list of their own, read-only: never
// saved with the schedule, never counted against its room, never edited. Each entry knows
// the feed it came from, whose name the lists show beside it. The list is made from the
// feeds' cached copies (feed_cache.h) with the iCalendar reader, bounded per feed and in all.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "schedule/entry.h"
#include "schedule/feed_cache.h"
#include "schedule/feed_list.h"
#include "schedule/ical_platform.h"

constexpr int kFeedMaxEvents = 1000;       // entries taken from one feed
constexpr int kFeedEntriesMax = 4000;      // from all feeds together

struct FeedEntries {
    std::vector<ScheduleEntry> entries;  // sorted per feed, feeds in list order
    std::vector<int> feed_of;            // per entry: its feed's place in names
    std::vector<std::string> names;      // per feed read: the name the lists show (code page 932)
    // Counts up at every new content, so that the kept month marks follow.
    uint32_t generation = 0;
    mutable KeptMonthMarks kept_marks;
};

// The name a feed's rows show: its own, or without one the host of its address.
std::string feed_shown_name(const FeedSubscription& feed);

// Replaces out's entries by those of the switched-on feeds' cached copies; a feed with no
// copy gives none. Entries lose their alarms: a subscribed event never rings. Counts up the
// generation.
void feed_entries_build(const std::vector<FeedSubscription>& feeds, const FeedCache& cache,
                        const IcalPlatform* platform, FeedEntries* out);

// The marks of the feeds' entries in a month, kept with the list like the schedule's.
DayMarks feed_month_marks(const FeedEntries& feeds, int year, int month);

// The cache file beside the settings file: its name with the extension ".feeds".
std::string feed_cache_path(const char* settings_path);
