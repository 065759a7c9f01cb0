#include "schedule/ical_import.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "schedule/ical_read.h"

namespace {

int time_key(const ScheduleEntry* e) {
    return e->has_time ? e->hour * 100 + e->minute : -1;
}

size_t memo_len(const ScheduleEntry* e) {
    return strnlen(e->memo, sizeof e->memo);
}

uint32_t appointment_hash(const ScheduleEntry* e) {
    uint32_t h = 2166136261u;
    const int keys[4] = {e->year, e->month, e->day, time_key(e)};
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
    Merge(ScheduleEntry* list, int* count, int max, IcalImportCounts* counts)
        : list_(list), count_(count), max_(max), counts_(counts) {
        // At most half full, so every probe ends at an empty slot.
        const int most = max > *count ? max : *count;
        size_t slots = 64;
        while (slots < 2 * (size_t)most) slots *= 2;
        table_.assign(slots, -1);
        for (int i = 0; i < *count_; ++i) insert(i);
    }

    void take(const IcalImported* ev) {
        ++counts_->read;
        if (!ev) {
            ++counts_->unreadable;
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
        list_[*count_] = ev->entry;
        insert((*count_)++);
        ++counts_->added;
        counts_->recurrence_cut += ev->recurrence_cut;
        counts_->alarm_cut += ev->alarm_cut;
        counts_->sound_refused += ev->sound_refused;
        counts_->changed += ev->recurrence_cut || ev->alarm_cut || ev->sound_refused;
    }

private:
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
    std::vector<int> table_;
};

void take_event(void* context, const IcalImported* ev) {
    static_cast<Merge*>(context)->take(ev);
}

}  // namespace

bool ical_same_appointment(const ScheduleEntry* a, const ScheduleEntry* b) {
    return a->year == b->year && a->month == b->month && a->day == b->day &&
           time_key(a) == time_key(b) && memo_len(a) == memo_len(b) &&
           memcmp(a->memo, b->memo, memo_len(a)) == 0;
}

bool ical_import(const char* text, size_t n, const IcalPlatform* platform, ScheduleEntry* list,
                 int* count, int max, IcalImportCounts* counts) {
    memset(counts, 0, sizeof *counts);
    if (*count < 0) *count = 0;
    Merge merge(list, count, max, counts);
    if (!ical_read(text, n, platform, take_event, &merge)) return false;
    if (counts->added > 0)
        std::sort(list, list + *count, [](const ScheduleEntry& a, const ScheduleEntry& b) {
            return entry_compare(&a, &b) < 0;
        });
    return true;
}
