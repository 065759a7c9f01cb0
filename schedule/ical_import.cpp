#include "schedule/ical_import.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/content_hash.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"
#include "schedule/ical_read.h"

namespace {

int import_time_key(const ScheduleEntry* e) {
    return e->has_time ? e->hour * 100 + e->minute : -1;
}

size_t memo_len(const ScheduleEntry* e) {
    return strnlen(e->memo, sizeof e->memo);
}

uint32_t appointment_hash(const ScheduleEntry* e) {
    uint32_t h = 2166136261u;
    const int keys[4] = {e->year, e->month, e->day, import_time_key(e)};
    for (int k : keys)
        for (int b = 0; b < 4; ++b) h = (h ^ (uint8_t)(k >> (8 * b))) * 16777619u;
    const size_t n = memo_len(e);
    for (size_t i = 0; i < n; ++i) h = (h ^ (uint8_t)e->memo[i]) * 16777619u;
    return h;
}

// The list and a hash set of its entries, so that each event is looked up in constant time
// however many the file holds.
class Merge {
public:
    Merge(ScheduleEntry* list, int* count, int max, IcalImportCounts* counts, DeletedEntries* deleted)
        : list_(list), count_(count), max_(max), counts_(counts), deleted_(deleted) {
        // At most half full, so every probe ends at an empty slot, with room for every entry
        // once more (an updated one is found under its new content too).
        const int most = max > *count ? max : *count;
        size_t slots = 64;
        while (slots < 4 * (size_t)most) slots *= 2;
        table_.assign(slots, -1);
        for (int i = 0; i < *count_; ++i) {
            insert(i);
            add_uid(i);
        }
        before_ = *count_;
        touched_.assign((size_t)before_, false);
    }

    void take(const IcalImported* ev) {
        ++counts_->read;
        if (!ev) {
            ++counts_->unreadable;
            return;
        }
        const ScheduleEntry& e = ev->entry;
        if (e.recur_date != 0 && e.uid[0]) replaced_.emplace_back(e.uid, e.recur_date);
        if (ev->cancelled) {
            ++counts_->cancelled;
            return;
        }
        const int same = find_uid(e);
        if (same >= 0 && same < before_) {
            if (touched_[(size_t)same])
                ++counts_->already;  // the file names it twice: the first one counts
            else
                update(same, ev);
            return;
        }
        const DeletedVersion* gone = same < 0 && deleted_ ? deleted_->find(e) : nullptr;
        if (gone && deleted_version_covers(*gone, e, ev->has_version)) {
            ++counts_->deleted_here;
            return;
        }
        if (find(&ev->entry)) {
            ++counts_->already;
            return;
        }
        if (*count_ >= max_) {
            ++counts_->full;
            return;
        }
        if (gone) deleted_->forget(e);
        list_[*count_] = ev->entry;
        // A second event of the file under one identity is an entry of its own, given a new
        // identity when it is stored.
        if (same >= 0) list_[*count_].uid[0] = '\0';
        add_uid(*count_);
        insert((*count_)++);
        ++counts_->added;
        count_changes(ev);
        counts_->changed += ev->recurrence_cut || ev->alarm_cut || ev->sound_refused;
    }

    // The series of the replaced occurrences leave their days out.
    void finish() {
        for (const auto& r : replaced_) {
            auto it = uids_.find(r.first);
            if (it == uids_.end()) continue;
            for (int i : it->second) {
                ScheduleEntry* s = &list_[i];
                if (s->recur_date != 0 || !entry_repeats(*s)) continue;
                if (entry_skip_day(s, date_of_ymd(r.second))) {
                    entry_settle(s);
                    ++counts_->days_left_out;
                }
            }
        }
    }

    bool changed() const {
        return counts_->added > 0 || counts_->updated > 0 || counts_->days_left_out > 0;
    }

private:
    void count_changes(const IcalImported* ev) {
        counts_->recurrence_cut += ev->recurrence_cut;
        counts_->alarm_cut += ev->alarm_cut;
        counts_->sound_refused += ev->sound_refused;
    }

    // The entry of the list with the event's uid standing for the same occurrence; -1: none.
    int find_uid(const ScheduleEntry& e) const {
        if (!e.uid[0]) return -1;
        auto it = uids_.find(e.uid);
        if (it == uids_.end()) return -1;
        for (int i : it->second)
            if (list_[i].recur_date == e.recur_date) return i;
        return -1;
    }

    // Whether the list holds a changed occurrence of the series uid for day (yyyymmdd).
    bool has_occurrence_entry(const char* uid, int32_t day) const {
        auto it = uids_.find(std::string(uid, strnlen(uid, kUidSize)));
        if (it == uids_.end()) return false;
        for (int i : it->second)
            if (list_[i].recur_date == day) return true;
        return false;
    }

    void add_uid(int index) {
        const ScheduleEntry& e = list_[index];
        if (e.uid[0]) uids_[std::string(e.uid, strnlen(e.uid, sizeof e.uid))].push_back(index);
    }

    // The file's copy replaces the list's unless it is the same or older: a higher sequence is
    // newer, and with the same one a later stamp; without a version in the file it is taken.
    void update(int index, const IcalImported* ev) {
        ScheduleEntry& mine = list_[index];
        const ScheduleEntry& theirs = ev->entry;
        touched_[(size_t)index] = true;
        const bool older =
            ev->has_version && (theirs.sequence < mine.sequence ||
                                (theirs.sequence == mine.sequence && theirs.modified != 0 &&
                                 mine.modified != 0 && theirs.modified < mine.modified));
        if (older || ical_same_content(mine, theirs)) {
            ++counts_->already;
            return;
        }
        ScheduleEntry next = theirs;
        next.last_edited = mine.last_edited;
        // Days this list's series leaves out for its own changed occurrences stay left out.
        for (int k = 0; k < mine.skip_count && k < kMaxSkips; ++k)
            if (entry_repeats(next) && has_occurrence_entry(mine.uid, mine.skips[k]))
                entry_skip_day(&next, date_of_ymd(mine.skips[k]));
        entry_settle(&next);
        mine = next;
        insert(index);
        ++counts_->updated;
        count_changes(ev);
    }

    bool find(const ScheduleEntry* e) const {
        const size_t mask = table_.size() - 1;
        for (size_t s = appointment_hash(e) & mask; table_[s] >= 0; s = (s + 1) & mask)
            if (ical_same_appointment(&list_[table_[s]], e)) return true;
        return false;
    }

    void insert(int index) {
        const size_t mask = table_.size() - 1;
        size_t s = appointment_hash(&list_[index]) & mask;
        while (table_[s] >= 0) s = (s + 1) & mask;
        table_[s] = index;
    }

    ScheduleEntry* list_;
    int* count_;
    int max_;
    IcalImportCounts* counts_;
    DeletedEntries* deleted_;
    std::vector<int> table_;
    std::unordered_map<std::string, std::vector<int>> uids_;
    std::vector<std::pair<std::string, int32_t>> replaced_;
    int before_ = 0;             // entries of the list before the file
    std::vector<bool> touched_;  // those the file has updated or found unchanged
};

// What an event carries of an entry, as text: its date, time, memo, flags, alarm and the
// stored forms of its rule, skipped days, end, lead and day alarm.
std::string content_key(const ScheduleEntry& e) {
    char b[64];
    snprintf(b, sizeof b, "%d/%d/%d/%d/%d/%d/%d/%d/", e.year, e.month, e.day, import_time_key(&e),
                  e.holiday, e.scramble, e.alarm_kind, has_alarm(e) ? e.minutes_before : 0);
    std::string key = b;
    key.append(e.memo, memo_len(&e));
    key += '/';
    if (alarm_kind_of(e) == AlarmKind::kSoundFile)
        key.append(e.sound_file, strnlen(e.sound_file, sizeof e.sound_file));
    for (const EntryProp& prop : entry_props(e, false)) {
        if (prop.first == "seq" || prop.first == "modified") continue;
        key += '/' + prop.first + '=' + prop.second;
    }
    return key;
}

void merge_event(void* context, const IcalImported* ev) {
    static_cast<Merge*>(context)->take(ev);
}

}  // namespace

bool ical_same_appointment(const ScheduleEntry* a, const ScheduleEntry* b) {
    return a->year == b->year && a->month == b->month && a->day == b->day &&
           import_time_key(a) == import_time_key(b) && memo_len(a) == memo_len(b) &&
           memcmp(a->memo, b->memo, memo_len(a)) == 0;
}

bool ical_same_content(const ScheduleEntry& a, const ScheduleEntry& b) {
    return content_key(a) == content_key(b);
}

uint64_t ical_content_digest(const ScheduleEntry& e) {
    const std::string key = content_key(e);
    return fnv1a_64(key.data(), key.size());
}

bool ical_import(const char* text, size_t n, const IcalPlatform* platform, ScheduleEntry* list,
                 int* count, int max, IcalImportCounts* counts, DeletedEntries* deleted) {
    memset(counts, 0, sizeof *counts);
    if (*count < 0) *count = 0;
    Merge merge(list, count, max, counts, deleted);
    if (!ical_read(text, n, platform, merge_event, &merge)) return false;
    merge.finish();
    if (merge.changed())
        std::sort(list, list + *count, [](const ScheduleEntry& a, const ScheduleEntry& b) {
            return entry_compare(&a, &b) < 0;
        });
    return true;
}
