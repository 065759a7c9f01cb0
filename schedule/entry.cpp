#include "schedule/entry.h"

#include <string.h>

#include <algorithm>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "config/cp932.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_identity.h"

namespace {

MemoCompare g_memo_compare = nullptr;

int bytewise_compare(const char* a, const char* b) {
    const unsigned char* p = (const unsigned char*)a;
    const unsigned char* q = (const unsigned char*)b;
    while (*p && *p == *q) {
        ++p;
        ++q;
    }
    return (int)*p - (int)*q;
}

// Keys are formed as 32-bit signed values; unsigned arithmetic keeps odd
// stored values from overflowing (the order of such values does not matter,
// only that the key is a fixed function of the record).
int32_t date_key(const ScheduleEntry* e) {
    uint32_t k = (uint32_t)e->year * 10000u + (uint32_t)e->month * 100u + (uint32_t)e->day;
    return (int32_t)k;
}

int32_t time_key(const ScheduleEntry* e) {
    uint32_t k = (uint32_t)e->hour * 100u + (uint32_t)e->minute;
    return (int32_t)k;
}

// A copy placed in the list always has terminated strings and what its rule works out.
void store(ScheduleList* list, int index, const ScheduleEntry* e) {
    ScheduleEntry* dst = &list->entries[index];
    if (dst != e) memmove(dst, e, sizeof(ScheduleEntry));
    dst->memo[sizeof(dst->memo) - 1] = '\0';
    dst->sound_file[sizeof(dst->sound_file) - 1] = '\0';
    dst->uid[sizeof(dst->uid) - 1] = '\0';
    entry_settle(dst);
}

}  // namespace

void schedule_clear(ScheduleList* list) {
    for (ScheduleEntry& e : list->entries) entry_blank(&e);
    list->count = 0;
    list->deleted = DeletedEntries();
    schedule_changed(list);
}

void entry_blank(ScheduleEntry* e) {
    if (!e) return;
    memset(e, 0, sizeof(*e));
    e->hour = -1;
    e->minute = -1;
}

bool clear_blank_memo(char* memo) {
    if (memo[0] == '\0') return false;
    const char* p = memo;
    while (*p != '\0' && static_cast<size_t>(p - memo) < kMemoKeep) {
        const char* next = cp932_next(p);
        const bool blank = next - p == 2 ? static_cast<unsigned char>(p[0]) == 0x81 &&
                                                   static_cast<unsigned char>(p[1]) == 0x40
                                         : p[0] == ' ';
        if (!blank) return false;
        p = next;
    }
    memo[0] = '\0';
    return true;
}

void set_memo_compare(MemoCompare fn) {
    g_memo_compare = fn;
}

int entry_compare(const ScheduleEntry* a, const ScheduleEntry* b) {
    if (a->holiday != b->holiday) return a->holiday < b->holiday ? -1 : 1;

    const bool a_every = a->year == -1;
    const bool b_every = b->year == -1;
    if (a_every != b_every) return a_every ? 1 : -1;

    const int32_t da = date_key(a), db = date_key(b);
    if (da != db) return da < db ? -1 : 1;

    const int32_t ta = time_key(a), tb = time_key(b);
    if (ta != tb) return ta < tb ? -1 : 1;

    // Memos are copied so a record without its terminator is still read
    // only inside its field, whichever comparison is installed.
    char ma[sizeof(a->memo)], mb[sizeof(b->memo)];
    memcpy(ma, a->memo, sizeof(ma) - 1);
    memcpy(mb, b->memo, sizeof(mb) - 1);
    ma[sizeof(ma) - 1] = '\0';
    mb[sizeof(mb) - 1] = '\0';
    const int c = g_memo_compare ? g_memo_compare(ma, mb) : bytewise_compare(ma, mb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void schedule_sort(ScheduleList* list) {
    schedule_changed(list);
    const int n = schedule_live_count(*list);
    std::sort(list->entries, list->entries + n, [](const ScheduleEntry& a, const ScheduleEntry& b) {
        return entry_compare(&a, &b) < 0;
    });
}

void schedule_compact(ScheduleList* list) {
    schedule_sort(list);  // a change of the list
    // Marked entries are adjacent after the sort; removing them (rather
    // than cutting the list at the first one) keeps any entries whose
    // holiday byte sorts above 9.
    const int n = schedule_live_count(*list);
    ScheduleEntry* entries = list->entries;
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (entries[i].holiday == kHolidayRemove) continue;
        if (kept != i) entries[kept] = entries[i];
        ++kept;
    }
    list->count = kept;
}

void entry_stamp_modified(ScheduleEntry* e) {
    const LocalTime t = get_local_now();
    uint64_t at = 0;
    if (wall_time_to_filetime(t.year, t.month, t.day, t.hour, t.minute, t.second, 0, &at)) e->modified = at;
}

int schedule_add(ScheduleList* list, const ScheduleEntry* e) {
    const int n = schedule_live_count(*list);
    if (!e || n >= kMaxEntries) return 0;
    store(list, n, e);
    schedule_changed(list);
    entry_ensure_uid(&list->entries[n]);
    entry_stamp_modified(&list->entries[n]);
    list->count = n + 1;
    set_last_edited(list, n);
    return 1;
}

void schedule_replace(ScheduleList* list, int index, const ScheduleEntry* e) {
    if (!e || index < 0 || index >= schedule_live_count(*list)) return;
    ScheduleEntry* dst = &list->entries[index];
    char uid[kUidSize];
    memcpy(uid, dst->uid, sizeof uid);
    const uint32_t sequence = dst->sequence;
    store(list, index, e);
    schedule_changed(list);
    if (dst->uid[0] == '\0') memcpy(dst->uid, uid, sizeof uid);
    entry_ensure_uid(dst);
    dst->sequence = (e->sequence > sequence ? e->sequence : sequence) + 1;
    entry_stamp_modified(dst);
    set_last_edited(list, index);
}

void set_last_edited(ScheduleList* list, int index) {
    const int n = schedule_live_count(*list);
    for (int i = 0; i < n; ++i) list->entries[i].last_edited = 0;
    if (index >= 0 && index < n) list->entries[index].last_edited = 1;
}
