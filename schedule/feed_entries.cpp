#include "schedule/feed_entries.h"

#include "schedule/dav_url.h"
#include "schedule/entry_dates.h"
#include "schedule/ical_event.h"
#include "schedule/ical_read.h"

#include <string.h>

#include <algorithm>

std::string feed_shown_name(const FeedSubscription& feed) {
    if (!feed.name.empty()) return feed.name;
    DavUrl url;
    return dav_url_parse(feed.url.c_str(), &url) ? url.host : feed.url;
}

namespace {

const FeedCacheEntry* cached(const FeedCache& cache, const std::string& url) {
    for (const FeedCacheEntry& e : cache.entries)
        if (e.url == url) return &e;
    return nullptr;
}

// A subscribed event shows, and does nothing else.
void make_read_only(ScheduleEntry* e) {
    set_alarm_kind(e, AlarmKind::kNone);
    e->alarm_at = 0;
    e->day_alarm = 0;
    e->last_edited = 0;
    e->sound_file[0] = '\0';
}

// The events of one feed: each as its entry, as an import takes it (with its repeats where
// an entry's rule holds them, else its first day), at most max.
struct FeedSink {
    std::vector<ScheduleEntry>* out;
    size_t max;
};

void take_feed_event(void* context, const IcalImported* ev) {
    FeedSink& sink = *static_cast<FeedSink*>(context);
    if (!ev || sink.out->size() >= sink.max) return;
    ScheduleEntry e = ev->entry;
    make_read_only(&e);
    sink.out->push_back(e);
}

}  // namespace

void feed_entries_build(const std::vector<FeedSubscription>& feeds, const FeedCache& cache,
                        const IcalPlatform* platform, FeedEntries* out) {
    out->entries.clear();
    out->feed_of.clear();
    out->names.clear();
    ++out->generation;
    std::vector<ScheduleEntry> one;
    for (const FeedSubscription& f : feeds) {
        const int room = kFeedEntriesMax - static_cast<int>(out->entries.size());
        if (room <= 0) break;
        const FeedCacheEntry* c = f.on ? cached(cache, f.url) : nullptr;
        if (!c || c->body.empty()) continue;
        one.clear();
        FeedSink sink{&one, static_cast<size_t>(room < kFeedMaxEvents ? room : kFeedMaxEvents)};
        if (!ical_read(c->body.data(), c->body.size(), platform, take_feed_event, &sink)) continue;
        std::stable_sort(one.begin(), one.end(),
                         [](const ScheduleEntry& a, const ScheduleEntry& b) { return entry_compare(&a, &b) < 0; });
        const int feed = static_cast<int>(out->names.size());
        out->names.push_back(feed_shown_name(f));
        for (const ScheduleEntry& e : one) {
            out->entries.push_back(e);
            out->feed_of.push_back(feed);
        }
    }
}

DayMarks feed_month_marks(const FeedEntries& feeds, int year, int month) {
    KeptMonthMarks& k = feeds.kept_marks;
    const int count = static_cast<int>(feeds.entries.size());
    if (k.valid && k.generation == feeds.generation && k.count == count && k.year == year && k.month == month)
        return k.marks;
    k.marks = month_marks(feeds.entries.data(), count, year, month);
    k.valid = true;
    k.generation = feeds.generation;
    k.count = count;
    k.year = year;
    k.month = month;
    return k.marks;
}

std::string feed_cache_path(const char* settings_path) {
    std::string p = settings_path ? settings_path : "";
    const size_t slash = p.find_last_of("\\/:");
    const size_t dot = p.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) p.erase(dot);
    return p + ".feeds";
}
