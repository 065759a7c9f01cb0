#include "schedule/feed_entries.h"

#include "schedule/dav_url.h"
#include "schedule/entry_dates.h"
#include "schedule/ical_import.h"

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

}  // namespace

void feed_entries_build(const std::vector<FeedSubscription>& feeds, const FeedCache& cache,
                        const IcalPlatform* platform, FeedEntries* out) {
    out->entries.clear();
    out->feed_of.clear();
    out->names.clear();
    ++out->generation;
    std::vector<ScheduleEntry> one(kFeedMaxEvents);
    for (const FeedSubscription& f : feeds) {
        const int room = kFeedEntriesMax - static_cast<int>(out->entries.size());
        if (room <= 0) break;
        const FeedCacheEntry* c = f.on ? cached(cache, f.url) : nullptr;
        if (!c || c->body.empty()) continue;
        int count = 0;
        IcalImportCounts counts = {};
        const int max = room < kFeedMaxEvents ? room : kFeedMaxEvents;
        if (!ical_import(c->body.data(), c->body.size(), platform, one.data(), &count, max, &counts)) continue;
        const int feed = static_cast<int>(out->names.size());
        out->names.push_back(feed_shown_name(f));
        for (int i = 0; i < count; ++i) {
            make_read_only(&one[static_cast<size_t>(i)]);
            out->entries.push_back(one[static_cast<size_t>(i)]);
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
