// The schedule entry record, the list of entries, its order, growth and
// shrinking. The days an entry falls on and its alarm instants: schedule/entry_dates.h.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "calendar/dayclass.h"
#include "schedule/deleted_entries.h"

// ---- How an entry repeats ----

enum class RepeatKind : uint8_t {
    kNone = 0,           // on its date only (an every-year entry repeats by its year -1)
    kDaily,              // every interval days
    kWeekly,             // every interval weeks, on the weekdays of `weekdays`
    kMonthlyByDay,       // every interval months, on the days of `month_days`
    kMonthlyByWeekday,   // every interval months, on the k-th weekdays of `nth_weekdays`
    kYearly,             // every interval years, on the entry's month and day
};

enum class RepeatEnd : uint8_t {
    kNever = 0,
    kUntil,  // no occurrence after `until`
    kCount,  // `count` occurrences in all (skipped days count too, as RFC 5545 has it)
};

constexpr int kRepeatIntervalMax = 99;
constexpr int kRepeatCountMax = 9999;
// nth_weekdays[kNthLast] holds the weekdays of "the last" one of each month.
constexpr int kNthLast = 4;
constexpr int kNthSlots = 5;
// month_days bit 0 stands for the last day of each month, bit d for day d.
constexpr uint32_t kMonthLastDay = 1u;

// Where a rule needs a day as one number it is yyyymmdd (20270114), as in the stored forms;
// calendar/date.h turns dates into it and back. The rule starts on the entry's date, which is
// its first occurrence as the dialog and the stored forms keep it.
struct RepeatRule {
    RepeatKind kind;
    uint8_t interval;                  // 1..kRepeatIntervalMax (0 reads as 1)
    uint8_t weekdays;                  // kWeekly: bit w for weekday w (0 = Sunday .. 6)
    uint8_t week_start;                // kWeekly: the weekday its weeks begin on (0 = Sunday)
    uint8_t nth_weekdays[kNthSlots];   // kMonthlyByWeekday: [k-1] weekday bits of the k-th
                                       // (k = 1..4), [kNthLast] those of the last
    RepeatEnd end;
    uint16_t count;                    // kCount: 1..kRepeatCountMax
    uint32_t month_days;               // kMonthlyByDay: bit d = day d (1..31), kMonthLastDay
    int32_t until;                     // kUntil: the last day one may fall on (yyyymmdd)
    // Worked out by entry_settle (schedule/entry_dates.h) for kCount: the day of the last
    // occurrence and what it was worked out from. Read nowhere else; a stale one is ignored.
    int32_t count_last;
    uint32_t count_key;
};

// How the lead of an alarm (minutes_before) is shown and stored.
enum class LeadUnit : uint8_t { kMinutes = 0, kHours, kDays };

constexpr int kMaxLeadMinutes = 7 * 24 * 60;  // an alarm rings at most seven days ahead
constexpr int kMaxSkips = 64;                 // days a series leaves out
constexpr int kMaxSpanDays = 365;             // days an entry lasts after its date
constexpr size_t kUidSize = 256;              // an identity of up to 255 bytes

// The first 385 bytes, field order and sizes are also the legacy 392-byte record image; the
// fields after last_edited are this program's own (stored in keys of their own).
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
    int32_t minutes_before;  // 0..kMaxLeadMinutes (the stored alarm key holds 0..99)
    uint8_t alarm_kind;      // an AlarmKind; any other stored byte rings as none
    char sound_file[267];    // NUL-terminated, used with AlarmKind::kSoundFile
    alignas(8) uint64_t alarm_at;  // 100-ns units since 1601-01-01 local, 0 = none
    uint8_t last_edited;     // 1 on the entry last added/changed in the dialog

    RepeatRule repeat;         // how it repeats from its date (RepeatKind::kNone: it does not)
    LeadUnit lead_unit;        // how minutes_before is shown: minutes, hours or days
    uint8_t day_alarm;         // 1: an entry without a time rings at day_alarm_minute
    int16_t day_alarm_minute;  // from 00:00 of each occurrence's day, -kMaxLeadMinutes..1439
                               // (-900: the day before at 9:00)
    int16_t span_days;         // days it lasts after its date, 0..kMaxSpanDays (0: one day)
    uint8_t has_end_time;      // 1: a timed entry ends at end_hour:end_minute of its last day
    int8_t end_hour;           // 0..23
    int8_t end_minute;         // 0..59
    uint8_t skip_count;        // 0..kMaxSkips
    int32_t skips[kMaxSkips];  // days the series leaves out (yyyymmdd), ascending
    // An occurrence changed on its own ("この日だけ変更") is an entry of its own carrying the
    // series' uid; these name the series' occurrence it stands for.
    int32_t recur_date;        // yyyymmdd, 0 = none (not such an occurrence)
    uint8_t recur_has_time;    // 1: the occurrence had the time recur_hour:recur_minute
    int8_t recur_hour;
    int8_t recur_minute;
    uint32_t sequence;         // changes made since it was created
    uint64_t modified;         // when last added or changed (alarm_at's units), 0 = not known
    char uid[kUidSize];        // identity, NUL-terminated: made when the entry is created or
                               // taken from an imported event, kept through every edit
};

static_assert(offsetof(ScheduleEntry, holiday) == 12, "record layout");
static_assert(offsetof(ScheduleEntry, memo) == 14, "record layout");
static_assert(offsetof(ScheduleEntry, has_time) == 95, "record layout");
static_assert(offsetof(ScheduleEntry, hour) == 96, "record layout");
static_assert(offsetof(ScheduleEntry, alarm_kind) == 108, "record layout");
static_assert(offsetof(ScheduleEntry, sound_file) == 109, "record layout");
static_assert(offsetof(ScheduleEntry, alarm_at) == 376, "record layout");
static_assert(offsetof(ScheduleEntry, last_edited) == 384, "record layout");
static_assert(offsetof(ScheduleEntry, repeat) >= 385, "record layout");

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

// The marks of one month kept with a list (schedule_month_marks), good while the list's
// generation is the one they were made at.
struct KeptMonthMarks {
    bool valid = false;
    uint32_t generation = 0;
    int count = 0, year = 0, month = 0;
    DayMarks marks = {0, 0};
};

// The schedule list: the entries in list order and how many are live. The program keeps one
// for its whole run and hands it to what reads or changes it. Every change of its entries
// counts up its generation: the operations below do it, any other change calls
// schedule_changed.
struct ScheduleList {
    ScheduleEntry entries[kMaxEntries];
    int count = 0;
    uint32_t generation = 0;
    mutable KeptMonthMarks kept_marks;
    // Entries with an identity the user deleted, which an import does not bring back
    // unchanged.
    DeletedEntries deleted;
};

// The list's entries were changed in place (not through the operations below).
inline void schedule_changed(ScheduleList* list) { ++list->generation; }

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
// Appends a copy and makes it the last-edited entry. 1 = added, 0 = full. The copy gets a
// new identity when it has none (schedule/entry_identity.h) and is stamped as changed now.
int schedule_add(ScheduleList* list, const ScheduleEntry* e);
// Overwrites a live entry and makes it the last-edited one; a bad index
// changes nothing. The entry keeps its identity (the one it replaces, when the copy has
// none), its sequence counts the change and it is stamped as changed now.
void schedule_replace(ScheduleList* list, int index, const ScheduleEntry* e);
// The stamp of a change: modified := the clock source's now.
void entry_stamp_modified(ScheduleEntry* e);
// Clears last_edited on all live entries, then sets it on index (-1: none).
void set_last_edited(ScheduleList* list, int index);
