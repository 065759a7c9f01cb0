#include "dialogs/subscribed_rows.h"

#include <cstdio>

#include "config/cp932.h"
#include "resources/texts.h"

void subscribed_memo(char* out, size_t size, const char* name, const char* memo) {
    char text[kListedMemoText + kFeedMaxName];
    std::snprintf(text, sizeof text, kSubscribedRowFormat, name, memo);
    cp932_copy(out, size, text);
}

namespace {

void shown_memo(DayListing* l, const FeedEntries* feeds, int feed_entry) {
    if (feed_entry < 0) {
        cp932_copy(l->memo, sizeof l->memo, l->row.memo);
        return;
    }
    const int feed = feeds->feed_of[static_cast<size_t>(feed_entry)];
    subscribed_memo(l->memo, sizeof l->memo, feeds->names[static_cast<size_t>(feed)].c_str(), l->row.memo);
}

}  // namespace

std::vector<DayListing> day_listing(const ScheduleEntry* list, int count, const FeedEntries* feeds,
                                    int year, int month, int day) {
    std::vector<DayListing> rows;
    DayListing l = {};
    for (int i = 0; list && i < count; ++i) {
        if (!day_contents_row(&list[i], year, month, day, &l.row)) continue;
        l.entry = i;
        l.subscribed = false;
        l.time_has_end = entry_time_has_end(&list[i]);
        shown_memo(&l, feeds, -1);
        rows.push_back(l);
    }
    const int n = feeds ? static_cast<int>(feeds->entries.size()) : 0;
    for (int i = 0; i < n; ++i) {
        const ScheduleEntry& e = feeds->entries[static_cast<size_t>(i)];
        if (!day_contents_row(&e, year, month, day, &l.row)) continue;
        l.entry = -1;
        l.subscribed = true;
        l.time_has_end = entry_time_has_end(&e);
        shown_memo(&l, feeds, i);
        rows.push_back(l);
    }
    return rows;
}

int recent_listing(const ScheduleEntry* list, int count, const FeedEntries* feeds, int ty, int tm,
                   int td, int width, RecentOccurrence* out, int max) {
    if (max <= 0) return 0;
    std::vector<RecentOccurrence> own(static_cast<size_t>(max));
    const int a = recent_occurrences(list, count, ty, tm, td, width, own.data(), max);
    const int fn = feeds ? static_cast<int>(feeds->entries.size()) : 0;
    std::vector<RecentOccurrence> theirs(fn > 0 ? static_cast<size_t>(max) : 0);
    const int b = fn > 0 ? recent_occurrences(feeds->entries.data(), fn, ty, tm, td, width, theirs.data(), max) : 0;
    int i = 0, j = 0, k = 0;
    while (k < max && (i < a || j < b)) {
        if (j >= b || (i < a && own[static_cast<size_t>(i)].days <= theirs[static_cast<size_t>(j)].days)) {
            out[k] = own[static_cast<size_t>(i++)];
            out[k++].subscribed = false;
        } else {
            out[k] = theirs[static_cast<size_t>(j++)];
            out[k++].subscribed = true;
        }
    }
    return k;
}

const ScheduleEntry& recent_listing_entry(const ScheduleEntry* list, const FeedEntries* feeds,
                                          const RecentOccurrence& o) {
    return o.subscribed ? feeds->entries[static_cast<size_t>(o.entry)] : list[o.entry];
}

void recent_listing_row(const ScheduleEntry* list, const FeedEntries* feeds, const RecentOccurrence& o,
                        RecentListing* out) {
    if (!o.subscribed) {
        recent_occurrence_row(list, o, &out->row);
        cp932_copy(out->memo, sizeof out->memo, out->row.memo);
        return;
    }
    recent_occurrence_row(feeds->entries.data(), o, &out->row);
    const int feed = feeds->feed_of[static_cast<size_t>(o.entry)];
    subscribed_memo(out->memo, sizeof out->memo, feeds->names[static_cast<size_t>(feed)].c_str(), out->row.memo);
}

void recent_listing_memo(const ScheduleEntry* list, const FeedEntries* feeds, const RecentOccurrence& o,
                         char* out, size_t size) {
    const ScheduleEntry& e = recent_listing_entry(list, feeds, o);
    char memo[kMemoText];
    cp932_copy_n(memo, sizeof memo, e.memo, sizeof memo - 1);
    if (!o.subscribed) {
        cp932_copy(out, size, memo);
        return;
    }
    const int feed = feeds->feed_of[static_cast<size_t>(o.entry)];
    subscribed_memo(out, size, feeds->names[static_cast<size_t>(feed)].c_str(), memo);
}
