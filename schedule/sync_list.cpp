#include "schedule/sync_list.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "schedule/sync_entry.h"

namespace {

// An entry the sync carries, apart from being the first of its identity.
bool carried(const ScheduleEntry& e) {
    return e.uid[0] != '\0' && e.recur_date == 0 && e.holiday != kHolidayRemove;
}

// The text the sync compares an entry by; the stamp does not count in its version.
std::string compared_text(const ScheduleEntry& e, const IcalPlatform* platform) {
    static const IcalTime kStamp = {2000, 1, 1, 0, 0, 0};
    return sync_entry_text(e, e.uid, platform, kStamp);
}

}  // namespace

SyncListCopy sync_list_copy(const ScheduleList& list) {
    SyncListCopy copy;
    const int n = schedule_live_count(list);
    std::set<std::string> seen;
    for (int i = 0; i < n; ++i) {
        const ScheduleEntry& e = list.entries[i];
        if (carried(e) && seen.insert(e.uid).second) copy.entries.push_back(e);
    }
    copy.room = kMaxEntries - n;
    return copy;
}

SyncSnapshot sync_list_snapshot(const SyncListCopy& copy, const IcalPlatform* platform,
                                const IcalTime& now_utc) {
    SyncSnapshot snap;
    snap.room = copy.room;
    for (const ScheduleEntry& e : copy.entries) {
        std::string text = sync_entry_text(e, e.uid, platform, now_utc);
        if (!text.empty()) snap.items.push_back({e.uid, std::move(text)});
    }
    return snap;
}

int sync_list_find(const ScheduleList& list, const std::string& uid) {
    const int n = schedule_live_count(list);
    for (int i = 0; i < n; ++i)
        if (carried(list.entries[i]) && uid == list.entries[i].uid) return i;
    return -1;
}

bool ScheduleListStore::same_version(int index, uint64_t expect) const {
    const SyncCanon canon = sync_entry_canon_of(platform_);
    return sync_version(canon, compared_text(list_->entries[index], platform_)) == expect;
}

void ScheduleListStore::remove_uid(const std::string& uid) {
    const int n = schedule_live_count(*list_);
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (uid == list_->entries[i].uid) continue;
        if (kept != i) list_->entries[kept] = list_->entries[i];
        ++kept;
    }
    for (int i = kept; i < n; ++i) entry_blank(&list_->entries[i]);
    list_->count = kept;
}

SyncApply ScheduleListStore::apply(const SyncChange& c) {
    const int at = sync_list_find(*list_, c.uid);
    if (c.expect_absent ? at >= 0 : at < 0 || !same_version(at, c.expect_hash))
        return SyncApply::kChanged;
    if (c.kind == SyncChangeKind::kRemove) {
        remove_uid(c.uid);
    } else {
        ScheduleEntry e;
        if (c.uid.empty() || c.uid.size() >= kUidSize || !sync_entry_read(c.ical, platform_, &e))
            return SyncApply::kUnreadable;
        std::snprintf(e.uid, sizeof e.uid, "%s", c.uid.c_str());
        e.last_edited = 0;
        if (at >= 0) {
            const ScheduleEntry& old = list_->entries[at];
            e.last_edited = old.last_edited;
            list_->entries[at] = e;
        } else {
            const int n = schedule_live_count(*list_);
            if (n >= kMaxEntries) return SyncApply::kFull;
            list_->entries[n] = e;
            list_->count = n + 1;
        }
    }
    schedule_changed(list_);
    ++applied_;
    return SyncApply::kApplied;
}

bool ScheduleListStore::commit() { return save_(context_); }
