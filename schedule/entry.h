// The schedule entry record, the list of entries, its order, growth and
// shrinking. The days an entry falls on and its alarm instants: schedule/entry_dates.h.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Field order and sizes are also the 392-byte legacy record image.
struct ScheduleEntry {
    int32_t year;            // 1980..2079, -1 = every year
    int32_t month;           // 1..12, -1 = unset
    int32_t day;             // 1..31, day code 97/98/99, -1 = unset
    uint8_t holiday;         // 0 ordinary, nonzero holiday, 9 = marked for removal
    uint8_t scramble;        // nonzero = stored scrambled
    char memo[81];           // CP932, NUL-terminated
    uint8_t has_time;        // 1 = hour/minute valid
    int32_t hour;            // 0..23, -1 = none
    int32_t minute;          // 0..59, -1 = none
    int32_t minutes_before;  // 0..99
    uint8_t alarm_kind;      // an AlarmKind; any other stored byte rings as none
    char sound_file[267];    // NUL-terminated, used with AlarmKind::kSoundFile
    alignas(8) uint64_t alarm_at;  // 100-ns units since 1601-01-01 local, 0 = none
    uint8_t last_edited;     // 1 on the entry last added/changed in the dialog
};

static_assert(offsetof(ScheduleEntry, holiday) == 12, "record layout");
static_assert(offsetof(ScheduleEntry, memo) == 14, "record layout");
static_assert(offsetof(ScheduleEntry, has_time) == 95, "record layout");
static_assert(offsetof(ScheduleEntry, hour) == 96, "record layout");
static_assert(offsetof(ScheduleEntry, alarm_kind) == 108, "record layout");
static_assert(offsetof(ScheduleEntry, sound_file) == 109, "record layout");
static_assert(offsetof(ScheduleEntry, alarm_at) == 376, "record layout");
static_assert(offsetof(ScheduleEntry, last_edited) == 384, "record layout");
static_assert(sizeof(ScheduleEntry) == 392, "record layout");

// Bytes of memo text an entry keeps (the field holds them and the NUL).
constexpr size_t kMemoKeep = sizeof(ScheduleEntry::memo) - 1;

// `holiday` value of an entry marked for removal.
constexpr uint8_t kHolidayRemove = 9;

// What an entry's alarm does when it comes due. The record keeps the byte as stored.
enum class AlarmKind : uint8_t {
    kNone = 0,
    kWindow = 1,       // the alarm window without a sound
    kSystemSound = 2,  // and the system sound
    kSoundFile = 3,    // and the entry's sound file
};
inline AlarmKind alarm_kind_of(const ScheduleEntry& e) { return static_cast<AlarmKind>(e.alarm_kind); }
inline void set_alarm_kind(ScheduleEntry* e, AlarmKind k) { e->alarm_kind = static_cast<uint8_t>(k); }
// Any alarm at all (a stored byte outside the kinds counts too).
inline bool has_alarm(const ScheduleEntry& e) { return e.alarm_kind != 0; }
// The system sound or a sound file.
inline bool alarm_sounds(const ScheduleEntry& e) {
    return alarm_kind_of(e) == AlarmKind::kSystemSound || alarm_kind_of(e) == AlarmKind::kSoundFile;
}

constexpr int kMaxEntries = 500;

// The schedule list: the entries in list order and how many are live. The program keeps one
// for its whole run and hands it to what reads or changes it.
struct ScheduleList {
    ScheduleEntry entries[kMaxEntries];
    int count = 0;
};

// count as a usable bound (0..kMaxEntries), whatever was stored in it.
inline int schedule_live_count(const ScheduleList& list) {
    return list.count < 0 ? 0 : list.count > kMaxEntries ? kMaxEntries : list.count;
}
// Every entry blank, none live.
void schedule_clear(ScheduleList* list);

// Blank as the loaders create it: all zero, hour = minute = -1.
void entry_blank(ScheduleEntry* e);

// Empties a memo made only of half- and full-width spaces (walking at most kMemoKeep
// bytes). Returns true when it emptied a non-empty memo.
bool clear_blank_memo(char* memo);

// Memo comparison used by the list order; the Windows program installs
// lstrcmpA. nullptr restores the default (byte-wise, unsigned chars).
typedef int (*MemoCompare)(const char*, const char*);
void set_memo_compare(MemoCompare fn);

// <0 if a comes first, >0 if b does, 0 if equal under all keys:
// holiday byte, dated before every-year, date key, time key, memo.
int entry_compare(const ScheduleEntry* a, const ScheduleEntry* b);

// Sorts the live entries with entry_compare (in place, no allocation).
void schedule_sort(ScheduleList* list);
// Sorts, then drops every entry marked for removal (holiday == 9).
void schedule_compact(ScheduleList* list);
// Appends a copy and makes it the last-edited entry. 1 = added, 0 = full.
int schedule_add(ScheduleList* list, const ScheduleEntry* e);
// Overwrites a live entry and makes it the last-edited one; a bad index
// changes nothing.
void schedule_replace(ScheduleList* list, int index, const ScheduleEntry* e);
// Clears last_edited on all live entries, then sets it on index (-1: none).
void set_last_edited(ScheduleList* list, int index);
