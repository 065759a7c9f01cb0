// The day contents and the recent list with the subscribed calendars' events among the
// schedule's: which rows each list holds, and how a subscribed row is told apart. A
// subscribed row shows its feed's name in brackets before the memo and stands for no entry
// of the schedule, so nothing opens it for a change or a removal.
#pragma once

#include <cstddef>
#include <vector>

#include "dialogs/schedule_lists.h"
#include "schedule/feed_entries.h"

// The memo column's text of a subscribed row holds the mark, the feed's name and the memo.
constexpr size_t kListedMemoText = kMemoText + kFeedMaxName + 8;

// "［name］memo", cut whole characters short to fit size.
void subscribed_memo(char* out, size_t size, const char* name, const char* memo);

struct DayListing {
    DayRow row;
    char memo[kListedMemoText];  // what the memo column shows
    int entry;                   // the entry's place in the schedule list; -1 when subscribed
    bool subscribed;
    bool time_has_end;
};

// The rows of the entries on year-month-day: the schedule's in list order, then those of the
// feeds (feeds may be nullptr).
std::vector<DayListing> day_listing(const ScheduleEntry* list, int count, const FeedEntries* feeds,
                                    int year, int month, int day);

// recent_occurrences over the schedule and the feeds together, in date order, the
// schedule's before the feeds' on each day; a feed's occurrence is marked subscribed and its
// entry is its place in feeds->entries. Writes at most max.
int recent_listing(const ScheduleEntry* list, int count, const FeedEntries* feeds, int ty, int tm,
                   int td, int width, RecentOccurrence* out, int max);

struct RecentListing {
    RecentRow row;
    char memo[kListedMemoText];  // what the memo column shows
};
// The row of an occurrence recent_listing gave.
void recent_listing_row(const ScheduleEntry* list, const FeedEntries* feeds, const RecentOccurrence& o,
                        RecentListing* out);
// Its memo column alone (the list reads it for every row when it sizes that column).
void recent_listing_memo(const ScheduleEntry* list, const FeedEntries* feeds, const RecentOccurrence& o,
                         char* out, size_t size);
// The entry an occurrence stands for, in its own list.
const ScheduleEntry& recent_listing_entry(const ScheduleEntry* list, const FeedEntries* feeds,
                                          const RecentOccurrence& o);
